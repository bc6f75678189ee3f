#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "core/PolishText.h"
#include "dialogs/ImageProgressDialog.h"
#include "widgets/FolderEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// "Utwórz obraz płyty (ISO)..." in the "Menu ..." pop-up, driven with the mouse and the keys.
class TestImage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryNeedsAFolder();
    void proposesTheLabelBesideTheFolder_data();
    void proposesTheLabelBesideTheFolder();
    void imageIsWrittenAndShown();
    void largeFileIsToldFirst();
    void unsavedChangesAreAskedFirst_data();
    void unsavedChangesAreAskedFirst();
    void cancelLeavesNothing_data();
    void cancelLeavesNothing();
    void imageInsideTheFolderIsRefused();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    QString folder() const { return m_root->filePath("plyta/"); }
    // Opens pm_Nowe with a click on sb_Nowe and returns the image entry.
    QAction *openImageEntry();
    // Clicks the image entry; whileWorking runs once the click's command is under way.
    void clickImageEntry(const std::function<void()> &whileWorking = {});
    void takeFolder();

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestImage::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

QAction *TestImage::openImageEntry()
{
    return UserInput::openMenuEntry(named<QToolButton>(form(), "sb_Nowe"), named<QMenu>(form(), "pm_Nowe"),
                                    "Obrazplyty1");
}

void TestImage::clickImageEntry(const std::function<void()> &whileWorking)
{
    QAction *entry = openImageEntry();
    QVERIFY(entry && entry->isEnabled());
    if (whileWorking)
        QTimer::singleShot(0, this, whileWorking);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);
}

void TestImage::takeFolder()
{
    QVERIFY(writeTestFile(folder() + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(folder() + "autorun.inf", "[autorun]\r\nopen=setup.exe\r\nlabel=Gra\r\n"
                                                    "shell\\a=Graj\r\nshell\\a\\command=setup.exe\r\n"));
    m_fixture->messages.answers << Messages::Answer::Yes; // open the menu file found there
    named<FolderEdit>(form(), "de_Folder")->setFolder(folder());
    m_fixture->messages.shown.clear();
}

void TestImage::entryNeedsAFolder()
{
    QAction *entry = openImageEntry();
    QVERIFY(entry);
    QVERIFY(!entry->isEnabled());
    named<QMenu>(form(), "pm_Nowe")->close();
    takeFolder();
    entry = openImageEntry();
    QVERIFY(entry && entry->isEnabled());
}

void TestImage::proposesTheLabelBesideTheFolder_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("Polish label") << "Żółta Gęś" << "Żółta Gęś.iso";
    QTest::newRow("characters no file name takes") << "a/b:c*?" << "a_b_c__.iso";
    QTest::newRow("no label: the folder's name") << "" << "plyta.iso";
    QTest::newRow("only dots") << ".." << "plyta.iso";
}

void TestImage::proposesTheLabelBesideTheFolder()
{
    QFETCH(QString, label);
    QFETCH(QString, proposed);
    takeFolder();
    UserInput::typeOver(named<QLineEdit>(form(), "e_Etykieta"), label);
    m_fixture->messages.answers << Messages::Answer::No; // the label's change is not saved
    clickImageEntry();
    QCOMPARE(m_fixture->dialogs.proposed, QStringList{m_root->filePath(proposed)});
    QVERIFY(!form().findChild<ImageProgressDialog *>()); // cancelled in the chooser: nothing made
}

void TestImage::imageIsWrittenAndShown()
{
    takeFolder();
    QVERIFY(writeTestFile(m_root->filePath("poza.txt"))
            && QFile::link(m_root->filePath("poza.txt"), folder() + "poza"));
    const QString image = m_root->filePath("wynik.iso");
    m_fixture->dialogs.saves << image;
    m_fixture->messages.answers << Messages::Answer::Yes; // show it in the file manager
    clickImageEntry();

    QCOMPARE(m_fixture->messages.shown.size(), 1);
    const FakeMessages::Shown &end = m_fixture->messages.shown[0];
    QVERIFY2(end.text.startsWith("Obraz płyty został zapisany w pliku:\r" + image + "\r\rRozmiar: "),
             qPrintable(end.text));
    QVERIFY(end.text.contains(polishNumber(QFileInfo(image).size()) + " B)"));
    // The chooser told the size beforehand, laid out as it was written.
    QCOMPARE(m_fixture->dialogs.saveTitles.size(), 1);
    QVERIFY2(m_fixture->dialogs.saveTitles[0].startsWith(u"Zapisz obraz płyty – "_qs)
                 && m_fixture->dialogs.saveTitles[0].contains(polishNumber(QFileInfo(image).size()) + " B), zmieści się na: CD 650 MB"),
             qPrintable(m_fixture->dialogs.saveTitles[0]));
    QVERIFY(end.text.contains("Pominięto dowiązania prowadzące poza folder z danymi:\rpoza\r"));
    QCOMPARE(m_fixture->shell.shownInFolder, QStringList{image});
    QFile file(image);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.seek(16 * 2048));
    const QByteArray descriptor = file.read(72);
    QCOMPARE(descriptor.mid(1, 5), QByteArray("CD001"));
    QCOMPARE(descriptor.mid(40, 32).trimmed(), QByteArray("GRA"));
}

// A file stored in parts is told before anything is chosen or written; No leaves it at that.
void TestImage::largeFileIsToldFirst()
{
    takeFolder();
    QVERIFY(writeTestFile(folder() + "Wideo/film.mkv", "x") && QFile::resize(folder() + "Wideo/film.mkv", 4LL << 30));
    m_fixture->messages.answers << Messages::Answer::No;
    clickImageEntry();
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY2(m_fixture->messages.shown[0].text.contains(u"Wideo\\film.mkv\r\rUtworzyć obraz mimo to?"_qs),
             qPrintable(m_fixture->messages.shown[0].text));
    QCOMPARE(m_fixture->dialogs.saveTitles.size(), 0);
}

void TestImage::unsavedChangesAreAskedFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("chooserAsked");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save") << int(Messages::Answer::Yes) << true << true;
    QTest::newRow("do not save") << int(Messages::Answer::No) << true << false;
    QTest::newRow("cancel") << int(Messages::Answer::Cancel) << false << false;
}

void TestImage::unsavedChangesAreAskedFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, chooserAsked);
    QFETCH(bool, saved);
    takeFolder();
    UserInput::typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Nowa");
    m_fixture->messages.answers << Messages::Answer(answer);
    const int askedBefore = m_fixture->dialogs.asked;
    clickImageEntry();
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QCOMPARE(m_fixture->messages.shown[0].buttons, Messages::Buttons::YesNoCancel);
    QCOMPARE(m_fixture->dialogs.asked > askedBefore, chooserAsked);
    QCOMPARE(readTestFile(folder() + "autorun.inf").toLower().contains("label=nowa"), saved);
}

void TestImage::cancelLeavesNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Anuluj") << false;
    QTest::newRow("Escape") << true;
}

void TestImage::cancelLeavesNothing()
{
    QFETCH(bool, escape);
    takeFolder();
    // A sparse file of nearly 4 GiB (one past would be asked about first): long enough to be
    // stopped while it is read.
    {
        QVERIFY(QDir().mkpath(folder() + "filmy"));
        QFile big(folder() + u"filmy/część 1.mkv"_qs);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize((4LL << 30) - (1 << 20)));
    }
    const QString image = m_root->filePath("wynik.iso");
    m_fixture->dialogs.saves << image;
    QString shownFile;
    clickImageEntry([&] {
        ImageProgressDialog *progress = nullptr;
        QTRY_VERIFY((progress = form().findChild<ImageProgressDialog *>()) && progress->isVisible());
        QTRY_VERIFY(named<QLabel>(*progress, "l_Plik")->text().endsWith(".mkv")
                    && named<QProgressBar>(*progress, "pb_Postep")->value() > 0);
        shownFile = named<QLabel>(*progress, "l_Plik")->text();
        QCOMPARE(named<QLabel>(*progress, "l_Opis")->text(), QStringLiteral("Dodawany plik:"));
        if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            QTest::mouseClick(named<QPushButton>(*progress, "sb_Anuluj"), Qt::LeftButton);
    });

    QCOMPARE(shownFile, u"filmy\\część 1.mkv"_qs); // a path of the disc, as everywhere
    QCOMPARE(m_fixture->messages.texts(),
             QStringList{"Tworzenie obrazu płyty zostało przerwane, plik obrazu nie został zapisany."});
    QCOMPARE(QDir(m_root->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestImage::imageInsideTheFolderIsRefused()
{
    takeFolder();
    m_fixture->dialogs.saves << folder() + "obraz.iso";
    clickImageEntry();
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QCOMPARE(m_fixture->messages.shown[0].caption, QStringLiteral("BŁĄD !!!"));
    QVERIFY(m_fixture->messages.shown[0].text.startsWith("Obrazu płyty nie można zapisać w folderze z danymi"));
    QVERIFY(!QFileInfo::exists(folder() + "obraz.iso"));
}

QTEST_MAIN(TestImage)
#include "tst_image.moc"
