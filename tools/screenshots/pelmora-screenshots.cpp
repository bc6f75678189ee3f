// Walks the road of the user guide (an empty folder to a finished disc image) through the real
// windows, with clicks and keys only, and saves a picture of each step into the folder given.
// Run under an X server (scripts/screenshots uses Xvfb with a window manager, so the pictures
// show the windows' captions); the offscreen platform works too, without captions.

#include "Controls.h"
#include "IconFixtures.h"
#include "TestFiles.h"
#include "UserInput.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "dialogs/ImageProgressDialog.h"
#include "dialogs/TipsWindow.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <cstdio>
#include <functional>

using namespace ExecutableWriter;
using namespace IconFixtures;
using namespace UserInput;

namespace {

QString g_out;
int g_saved = 0;
bool g_failed = false;

void fail(const QString &why)
{
    std::fprintf(stderr, "pelmora-screenshots: %s\n", qPrintable(why));
    g_failed = true;
    QApplication::exit(1);
}

// The pixels of the screen under main's frame and, unless alone, under every visible window
// that overlaps it (message boxes, pop-up menus and dialogs over it), as the user sees them.
void shot(const QString &name, QWidget *main, bool alone = false)
{
    QApplication::processEvents();
    QTest::qWait(150); // let the window manager draw the frames
    QRect area = main->frameGeometry();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!alone && w->isVisible() && w != main && w->frameGeometry().intersects(area))
            area |= w->frameGeometry();
    QScreen *screen = main->screen();
    area &= screen->geometry();
    QPixmap picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (picture.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // No screen to read: the windows draw themselves, lowest first.
        picture = QPixmap(area.size());
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        QList<QWidget *> windows{main};
        for (QWidget *w : QApplication::topLevelWidgets())
            if (!alone && w->isVisible() && w != main && w->frameGeometry().intersects(area))
                windows << w;
        for (QWidget *w : windows)
            painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    }
    const QString file = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!picture.save(file))
        return fail(QStringLiteral("cannot write ") + file);
    ++g_saved;
    std::printf("%s\n", qPrintable(file));
}

// Runs act once a modal window of the given class is shown; waits up to 20 s.
void whenShown(const char *className, const std::function<void(QWidget *)> &act, int triesLeft = 200)
{
    QTimer::singleShot(100, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            act(modal);
            return;
        }
        if (triesLeft == 0)
            return fail(QStringLiteral("no ") + QLatin1String(className) + QStringLiteral(" was shown"));
        whenShown(className, act, triesLeft - 1);
    });
}

// Ends the walk when a step did not do what the guide shows.
#define STEP(done)                                                    \
    if (!(done))                                                      \
    return fail(QStringLiteral("step failed: ") + QStringLiteral(#done))

bool waitFor(const std::function<bool()> &done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

void clickButton(QWidget *box, const QString &text)
{
    for (QAbstractButton *b : box->findChildren<QAbstractButton *>())
        if (b->text().remove(QLatin1Char('&')) == text) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    fail(QStringLiteral("no button ") + text);
}

// A simple but recognisable program icon: a disc, a document or a star on a coloured tile.
QImage drawnIcon(int size, int kind, const QColor &colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(colour.darker(160), 1.2));
    p.setBrush(colour);
    if (kind == 0) {
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(12, 12, 8, 8));
    } else if (kind == 1) {
        p.drawRoundedRect(QRectF(6, 2, 20, 28), 2, 2);
        p.setPen(QPen(Qt::white, 2));
        for (int y = 9; y <= 23; y += 5)
            p.drawLine(QPointF(10, y), QPointF(22, y));
    } else {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 6.5 : 14.5, a = M_PI / 5 * i - M_PI / 2;
            star << QPointF(16 + r * std::cos(a), 16.5 + r * std::sin(a));
        }
        p.drawPolygon(star);
    }
    return image;
}

QByteArray program(int kind, const QColor &colour, quint16 group = 1)
{
    return writePe(false, false, iconResources(icoFile({drawnIcon(32, kind, colour), drawnIcon(16, kind, colour)}),
                                               group, group * 2));
}

// The disc of the guide: an installer, a viewer, a manual, a library of icons, a film and a
// read-me.
bool makeDisc(const QString &folder)
{
    QList<ResourceEntry> icons;
    const QColor colours[] = {QColor(0xd0, 0x40, 0x30), QColor(0x30, 0x80, 0xd0), QColor(0xe0, 0xb0, 0x20)};
    for (quint16 i = 0; i < 3; ++i)
        icons += iconResources(icoFile({drawnIcon(32, i, colours[i]), drawnIcon(16, i, colours[i])}), i + 1,
                               2 * i + 1);
    if (!writeTestFile(folder + "setup.exe", program(0, colours[0]))
        || !writeTestFile(folder + "program/przeglądarka.exe", program(2, colours[1]))
        || !writeTestFile(folder + "grafika/ikony.dll", writePe(false, true, icons))
        || !writeTestFile(folder + "instrukcja.exe", program(1, colours[2]))
        || !writeTestFile(folder + "czytaj.txt", "Instrukcja instalacji.\r\n"))
        return false;
    // A film of 300 MB, sparse, so that the image takes long enough to be seen at work.
    QFile film(folder + "filmy/zwiastun.mkv");
    return QDir().mkpath(folder + "filmy") && film.open(QIODevice::WriteOnly) && film.resize(300LL << 20);
}

void walk(PelmoraWindows &windows, const QString &folder, const QString &imageFolder)
{
    MainWindow &f = *windows.main;
    if (!QTest::qWaitForWindowExposed(&f))
        return fail(QStringLiteral("the main window did not show"));
    shot(QStringLiteral("01-start"), &f);

    typeOver(named<FolderEdit>(f, "de_Folder"), folder.chopped(1));
    typeOver(named<QLineEdit>(f, "e_Etykieta"), QStringLiteral("Moja gra"));
    STEP(f.dataFolder() == folder);
    STEP(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), folder + QStringLiteral("program")));
    shot(QStringLiteral("02-folder"), &f);

    QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton);
    clickRow(named<ChoiceList>(f, "lb_Programy"),
             rowOf(named<ChoiceList>(f, "lb_Programy"), QStringLiteral("setup.exe")));
    clickTab(named<QTabWidget>(f, "PageControl1"), 1);
    clickRow(named<ChoiceList>(f, "lb_Ikony"),
             rowOf(named<ChoiceList>(f, "lb_Ikony"), QStringLiteral("grafika\\ikony.dll")));
    clickRow(named<IconList>(f, "dfsIconListBox1"), 0);
    STEP(named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
    shot(QStringLiteral("03-autostart"), &f);
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_OK"), Qt::LeftButton);

    STEP(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"),
                   folder + QStringLiteral("program/przeglądarka.exe")));
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    STEP(named<QFrame>(f, "p_Dodaj")->isVisible());
    typeOver(named<QComboBox>(f, "cb_NazwaPozycji"), QStringLiteral("Obejrzyj zdjęcia"));
    shot(QStringLiteral("04-pozycja"), &f);
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_OK"), Qt::LeftButton);
    STEP(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), folder + QStringLiteral("instrukcja.exe")));
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    STEP(named<QFrame>(f, "p_Dodaj")->isVisible());
    typeOver(named<QComboBox>(f, "cb_NazwaPozycji"), QStringLiteral("Przeczytaj instrukcję"));
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_OK"), Qt::LeftButton);

    whenShown("QMessageBox", [&](QWidget *box) {
        shot(QStringLiteral("05-utworzone"), &f);
        clickButton(box, QStringLiteral("OK"));
    });
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    STEP(QFileInfo::exists(folder + QStringLiteral("autorun.inf")));

    rightClick(named<QLabel>(f, "Image2"), named<QLabel>(f, "Image2")->rect().center());
    STEP(QTest::qWaitForWindowExposed(named<QMenu>(f, "pm_Menu")));
    shot(QStringLiteral("06-menu-napedu"), &f);
    named<QMenu>(f, "pm_Menu")->close();

    whenShown("QMessageBox", [&](QWidget *box) {
        shot(QStringLiteral("07-sprawdzenie"), &f);
        clickButton(box, QStringLiteral("OK"));
    });
    QAction *check = openMenuEntry(named<QToolButton>(f, "sb_Nowe"), named<QMenu>(f, "pm_Nowe"),
                                   QStringLiteral("Sprawdzplyte1"));
    STEP(check);
    clickEntry(named<QMenu>(f, "pm_Nowe"), check);

    QAction *image = openMenuEntry(named<QToolButton>(f, "sb_Nowe"), named<QMenu>(f, "pm_Nowe"),
                                   QStringLiteral("Obrazplyty1"));
    STEP(image);
    QTest::mouseMove(named<QMenu>(f, "pm_Nowe"), named<QMenu>(f, "pm_Nowe")->actionGeometry(image).center());
    waitFor([&] { return named<QMenu>(f, "pm_Nowe")->activeAction() == image; }, 2000);
    shot(QStringLiteral("08-menu-obraz"), &f);

    whenShown("QFileDialog", [&](QWidget *chooser) {
        auto *dialog = static_cast<QFileDialog *>(chooser);
        dialog->setDirectory(imageFolder); // the proposed folder is a temporary one; this one is steady
        shot(QStringLiteral("09-zapis-obrazu"), &f);
        whenShown("ImageProgressDialog", [&](QWidget *w) {
            auto *progress = static_cast<ImageProgressDialog *>(w);
            waitFor([&] {
                return named<QProgressBar>(*progress, "pb_Postep")->value() >= 20 || !progress->isVisible();
            });
            if (progress->isVisible())
                shot(QStringLiteral("10-postep"), &f);
            whenShown("QMessageBox", [&](QWidget *box) {
                shot(QStringLiteral("11-obraz-gotowy"), &f);
                clickButton(box, QStringLiteral("Nie"));
            });
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    clickEntry(named<QMenu>(f, "pm_Nowe"), image);

    QTest::mouseClick(named<QToolButton>(f, "sb_Porady"), Qt::LeftButton);
    STEP(QTest::qWaitForWindowExposed(windows.tips()));
    shot(QStringLiteral("12-porady"), windows.tips(), true);
    STEP(QFileInfo::exists(imageFolder + QStringLiteral("/Moja gra.iso")));
    windows.tips()->close();

    // The window made larger: the tree and the lists take the room.
    const QSize designed = f.size();
    f.resize(designed + QSize(260, 170));
    STEP(QTest::qWaitFor([&] { return f.width() > designed.width(); }));
    shot(QStringLiteral("13-wieksze"), &f);
    f.resize(designed);

    // A dark colour scheme, as a desktop's dark theme gives it.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::AlternateBase, QColor(0x2c, 0x2c, 0x2c));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(dark);
    shot(QStringLiteral("14-ciemny"), &f);
    QApplication::exit(g_failed ? 1 : 0);
}

} // namespace

int main(int argc, char *argv[])
{
    // Nothing of the user's own settings or recent files shows, and nothing is recorded there.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.filePath(QStringLiteral("state"))));
    qputenv("PELMORA_UPDATE_URL", "http://127.0.0.1:9/");
    QApplication app(argc, argv);
    setUpApplication(app);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelmora-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);

    // The same paths on every run, so that pictures made again differ only where the windows do.
    const QString base = QDir::tempPath() + QStringLiteral("/pelmora-przyklad");
    QDir(base).removeRecursively();
    const QString folder = base + QStringLiteral("/Moja gra/");
    const QString images = base + QStringLiteral("/Obrazy");
    if (!makeDisc(folder) || !QDir().mkpath(images)) {
        std::fprintf(stderr, "pelmora-screenshots: cannot make the example disc in %s\n", qPrintable(base));
        return 1;
    }

    MessageBoxes messages;
    DesktopShell shell;
    QtFileDialogs dialogs;
    // The program of the build, beside which lie its help page and tips.
    const QString programFile = QStringLiteral(PELMORA_PROGRAM);
    PelmoraWindows windows({messages, shell, dialogs, programFile});
    windows.showMain();
    QTimer::singleShot(0, [&] { walk(windows, folder, images); });
    const int status = QApplication::exec();
    QDir(base).removeRecursively();
    std::printf("%d pictures\n", g_saved);
    return status;
}
