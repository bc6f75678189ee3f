// Times one keystroke in the label edit of the main window, with the data folder holding
// many files, with and without autorun.inf, against the same keystroke in a plain line edit.
// Usage: bench_label [KEYS]   (default 400; run offscreen)

#include "Controls.h"
#include "NoMessages.h"

#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void key(QWidget *edit, int code, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
    QApplication::processEvents();
}

// Milliseconds per keystroke: a letter typed, then taken back, so the text stays short.
double perKey(QLineEdit *edit, int keys)
{
    edit->setFocus();
    edit->setText(QStringLiteral("Płyta"));
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < keys / 2; ++i) {
        key(edit, Qt::Key_A, QStringLiteral("a"));
        key(edit, Qt::Key_Backspace, QString());
    }
    return double(timer.nsecsElapsed()) / 1e6 / (keys / 2 * 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int keys = argc > 1 ? std::atoi(argv[1]) : 400;
    PrivateSettings settings;
    SilentWindows silent;
    MainWindow &form = *silent.windows.main;
    form.show();

    QWidget plainWindow;
    auto *plain = new QLineEdit(&plainWindow);
    plainWindow.show();

    for (int files : {20000, 100000}) {
        QTemporaryDir folder;
        for (int i = 0; i < files; ++i)
            QFile(folder.filePath(QStringLiteral("plik%1.dat").arg(i))).open(QIODevice::WriteOnly);
        for (bool present : {false, true}) {
            if (present)
                QFile(folder.filePath(QStringLiteral("autorun.inf"))).open(QIODevice::WriteOnly);
            named<FolderEdit>(form, "de_Folder")->setFolder(QStringLiteral("/"));
            named<FolderEdit>(form, "de_Folder")->setFolder(folder.path() + QLatin1Char('/'));
            QApplication::processEvents();
            const double label = perKey(named<QLineEdit>(form, "e_Etykieta"), keys);
            const double base = perKey(plain, keys);
            std::printf("label keystroke: files=%d autorun=%s per_key_ms=%.4f plain_ms=%.4f ratio=%.2f\n", files,
                        present ? "present" : "absent", label, base, label / base);
            std::fflush(stdout);
        }
    }
    return 0;
}
