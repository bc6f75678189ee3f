#include "Controls.h"
#include "IconFixtures.h"
#include "IconLocations.h"
#include "MenuInput.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/RecentList.h"
#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QMenu>
#include <QTreeView>
#include <QtTest>

class TestCreateSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void takingAFolderGivesItsNameAsLabel();
    void typingAPathTakesItOnEnter();
    void browsingTakesTheFolder();
    void createAsksWhenProgramOrIconIsMissing_data();
    void createAsksWhenProgramOrIconIsMissing();
    void createWithProgramAndIconAsksNothing();
    void createThatCannotWrite();
    void saveClearsModified();
    void failedSaveKeepsModified();
    void saveKeepsWhatTheWindowDoesNotEdit();
    void readingAFileFillsTheWindow();
    void decliningTheFileKeepsTheButtons();
    void iconLocationSurvivesOpenAndSave_data();
    void iconLocationSurvivesOpenAndSave();
    void iconNumberSelectsTheRow();
    void pathsFromTheRootOfTheDisc();
    void tooLargeMenuFileChangesNothing();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    void takeFolder() { named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder); }
    void showWindow();
    QByteArray fileBytes() const;
    void writeFile(const QByteArray &bytes);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

namespace {
const QString askMissing = QStringLiteral("Nie podano programu");
const QString createdText = QStringLiteral("Menu zostało utworzone, gratuluję :-)");
} // namespace

void TestCreateSave::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_root->path()).mkdir(u"Płyta"_qs));
    m_folder = m_root->path() + u"/Płyta/"_qs;
    QVERIFY(writeTestFile(m_folder + "setup.exe"));
    QVERIFY(QDir(m_folder).mkdir("narzedzia"));
    QVERIFY(writeTestFile(m_folder + "narzedzia/view.exe"));
}

QByteArray TestCreateSave::fileBytes() const
{
    return readTestFile(m_folder + "autorun.inf");
}

void TestCreateSave::writeFile(const QByteArray &bytes)
{
    QVERIFY(writeTestFile(m_folder + "autorun.inf", bytes));
}

void TestCreateSave::showWindow()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void TestCreateSave::takingAFolderGivesItsNameAsLabel()
{
    MainWindow &f = form();
    showWindow();
    named<FolderEdit>(f, "de_Folder")->setFolder(m_folder.chopped(1)); // without the separator: it is appended
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), m_folder);
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), u"Płyta"_qs);
    QCOMPARE(named<QLabel>(f, "Label3")->text(), u"Płyta"_qs);
    QVERIFY(named<QToolButton>(f, "sb_Utworz")->isEnabled()); // a label alone is a document
    QVERIFY(named<QToolButton>(f, "sb_AutoRun")->isEnabled());
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isEnabled() && !named<QPushButton>(f, "sb_Odswiez")->isEnabled());
    QCOMPARE(RecentList(RecentList::foldersKey).entries(), QStringList{m_folder});

    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), QString());
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isEnabled());
    QCOMPARE(named<QLabel>(f, "Label3")->text(), u"Stacja dysków CD (DVD)"_qs);
    QVERIFY(!f.isModified()); // no file on disc: edits never mark the menu
}

// Typing never changes the text, asks or records: the folder is taken on Enter, once.
void TestCreateSave::typingAPathTakesItOnEnter()
{
    const QString other = m_root->path() + u"/Płyta Łódź"_qs;
    const QString typed = other + " 2";
    QVERIFY(writeTestFile(other + "/autorun.inf", "[autorun]\r\nName=INNA\r\n"));
    QVERIFY(QDir().mkpath(typed));
    MainWindow &f = form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    UserInput::typeOver(named<FolderEdit>(f, "de_Folder"), typed);
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), typed);
    QVERIFY(m_fixture->messages.shown.isEmpty());
    QVERIFY(f.dataFolder().isEmpty());
    QVERIFY(RecentList(RecentList::foldersKey).entries().isEmpty());
    UserInput::press(Qt::Key_Return);
    QCOMPARE(f.dataFolder(), typed + "/");
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), typed + "/");
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), u"Płyta Łódź 2"_qs);
    QCOMPARE(RecentList(RecentList::foldersKey).entries(), QStringList{typed + "/"});
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

void TestCreateSave::browsingTakesTheFolder()
{
    MainWindow &f = form();
    m_fixture->dialogs.folders = {m_folder}; // the chooser may give a trailing separator
    named<FolderEdit>(f, "de_Folder")->browse();
    // "Mój komputer" is no folder, and no folder was taken before: the home folder.
    QCOMPARE(m_fixture->dialogs.starts, QStringList{QDir::homePath()});
    QCOMPARE(m_fixture->dialogs.titles, QStringList{u"Wskaż folder"_qs});
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), m_folder);
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), u"Płyta"_qs);
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->rootFolder(), m_folder);
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->topLevelItem(0)->text(0), u"Płyta"_qs);
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->initialFolder(), m_folder.chopped(1));
}

void TestCreateSave::createAsksWhenProgramOrIconIsMissing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes: fill in first") << int(Messages::Answer::Yes) << false;
    QTest::newRow("no: write anyway") << int(Messages::Answer::No) << true;
    QTest::newRow("cancel") << int(Messages::Answer::Cancel) << false;
}

void TestCreateSave::createAsksWhenProgramOrIconIsMissing()
{
    QFETCH(int, answer);
    QFETCH(bool, written);
    MainWindow &f = form();
    showWindow();
    QVERIFY(writeTestFile(m_folder + "brak.exe"));
    takeFolder();
    QVERIFY(MenuInput::chooseProgram(f, "brak.exe"));
    QVERIFY(QFile::remove(m_folder + "brak.exe")); // named, then gone: No leaves it out
    m_fixture->messages.answers = {Messages::Answer(answer)};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);

    const FakeMessages::Shown question = m_fixture->messages.shown.value(0);
    QVERIFY(question.text.startsWith(askMissing));
    QVERIFY(question.text.contains("\r\rCzy chcesz podać teraz te dane ???"));
    QCOMPARE(question.caption, QStringLiteral("UWAGA !!!"));
    QVERIFY(question.buttons == Messages::Buttons::YesNoCancel);
    QVERIFY(question.icon == Messages::Icon::Warning);

    QCOMPARE(QFile::exists(m_folder + "autorun.inf"), written);
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isVisible()
                 || !named<QToolButton>(f, "sb_Zapisz")->isHidden(),
             written);
    QCOMPARE(named<QToolButton>(f, "sb_Utworz")->isHidden(), written);
    if (!written) {
        QCOMPARE(m_fixture->messages.shown.size(), 1);
        const bool fillIn = answer == int(Messages::Answer::Yes);
        QCOMPARE(panelOpen(f, "p_Autorun"), fillIn); // Yes opens the auto-start panel
        QCOMPARE(named<QToolButton>(f, "sb_Utworz")->isEnabled(), !fillIn);
        return;
    }
    QCOMPARE(fileBytes(), QByteArray("[autorun]\r\nName=P\xB3yta\r\nLabel=P\xB3yta\r\n\r\n"));
    QCOMPARE(m_fixture->messages.shown.size(), 2);
    const FakeMessages::Shown done = m_fixture->messages.shown[1];
    QVERIFY(done.text.startsWith(createdText));
    QCOMPARE(done.caption, QStringLiteral("Uffffffffffff !!!"));
    QVERIFY(done.icon == Messages::Icon::Information);
    QVERIFY(named<QPushButton>(f, "sb_Podglad")->isEnabled()
            && named<QPushButton>(f, "sb_UsunPlik")->isEnabled()
            && named<QPushButton>(f, "sb_UruchomPlik")->isEnabled());
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isEnabled() && !named<QPushButton>(f, "sb_Odswiez")->isEnabled());
    QCOMPARE(RecentList(RecentList::filesKey).entries(), QStringList{m_folder + "autorun.inf"});

    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "Inna"); // now the menu is on disc: an edit marks it
    QVERIFY(f.isModified());
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")->isEnabled() && named<QPushButton>(f, "sb_Odswiez")->isEnabled());
}

void TestCreateSave::createWithProgramAndIconAsksNothing()
{
    // A program with an icon, as the icon list reads it.
    QFile program(m_folder + "setup.exe");
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write(ExecutableWriter::writePe(
        false, false,
        IconFixtures::iconResources(IconFixtures::icoFile({IconFixtures::square(32, Qt::red)}), 1, 1)));
    program.close();
    // The program and icon from a menu file whose file is then deleted: they stay, the entries go.
    writeFile("[autorun]\r\nopen=SETUP.EXE\r\nicon=setup.exe,0\r\n"); // the disc ignores letter case
    MainWindow &f = form();
    showWindow();
    m_fixture->messages.answers = {Messages::Answer::Yes, Messages::Answer::Yes};
    takeFolder();
    QTest::mouseClick(named<QPushButton>(f, "sb_UsunPlik"), Qt::LeftButton);
    QVERIFY(MenuInput::addItem(f, m_folder + "setup.exe", "Zainstaluj program"));
    QVERIFY(MenuInput::addItem(f, m_folder + "narzedzia/view.exe", u"Przeglądarka"_qs));
    m_fixture->messages.shown.clear();
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(createdText));
    QCOMPARE(fileBytes(), QByteArray("[autorun]\r\nOpen=SETUP.EXE\r\nIcon=setup.exe,0\r\n"
                                     "Name=P\xB3yta\r\nLabel=P\xB3yta\r\n\r\n"
                                     "shell\\00000\\command=setup.exe\r\nshell\\00000=Zainstaluj program\r\n\r\n"
                                     "shell\\00001\\command=narzedzia\\view.exe\r\nshell\\00001=Przegl\xB9"
                                     "darka\r\n\r\n"));
    QVERIFY(!f.isModified()); // Create leaves the flag alone
}

void TestCreateSave::createThatCannotWrite()
{
    MainWindow &f = form();
    QVERIFY(QDir(m_folder).mkdir("autorun.inf")); // a folder where the file should go
    takeFolder();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), 2);
    QVERIFY(m_fixture->messages.shown[1].text.startsWith(u"Utworzenie menu nie powiodło się"_qs));
    QCOMPARE(m_fixture->messages.shown[1].caption, u"BŁĄD !!!"_qs);
    QVERIFY(m_fixture->messages.shown[1].icon == Messages::Icon::Error);
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isHidden() && named<QToolButton>(f, "sb_Utworz")->isHidden());
    QVERIFY(!named<QPushButton>(f, "sb_UruchomPlik")->isEnabled()); // no file came of it
    QVERIFY(QFileInfo(m_folder + "autorun.inf").isDir());
}

void TestCreateSave::saveClearsModified()
{
    MainWindow &f = form();
    showWindow();
    takeFolder();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "Nowa");
    QVERIFY(f.isModified());
    m_fixture->messages.shown.clear();
    QTest::mouseClick(named<QToolButton>(f, "sb_Zapisz"), Qt::LeftButton);
    QVERIFY(m_fixture->messages.shown.isEmpty());
    QVERIFY(!f.isModified());
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isEnabled() && !named<QPushButton>(f, "sb_Odswiez")->isEnabled());
    QVERIFY(fileBytes().contains("Name=Nowa\r\nLabel=Nowa\r\n"));
}

void TestCreateSave::failedSaveKeepsModified()
{
    MainWindow &f = form();
    showWindow();
    takeFolder();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "Nowa");
    QVERIFY(QFile::remove(m_folder + "autorun.inf"));
    QVERIFY(QDir(m_folder).mkdir("autorun.inf"));
    m_fixture->messages.shown.clear();
    QTest::mouseClick(named<QToolButton>(f, "sb_Zapisz"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(u"Utworzenie menu nie powiodło się"_qs));
    QVERIFY(f.isModified());
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")->isEnabled());
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled()); // no file to read again
}

void TestCreateSave::saveKeepsWhatTheWindowDoesNotEdit()
{
    writeFile(
        "[autorun]\nopen=setup.exe\nshell\\a=Zainstaluj\nshell\\a\\command=setup.exe\nshell\\b=Przegl\xB9"
        "darka\n"
        "shell\\b\\command=narzedzia\\view.exe\nshell=b\naction=Uruchom\n[autorun.amd64]\nopen=setup64.exe\n"
        "[DeviceInstall]\nDriverPath=a\nDriverPath=b\n");
    MainWindow &f = form();
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();
    UserInput::clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    QTest::mouseClick(named<QPushButton>(f, "sb_Usun"), Qt::LeftButton);
    QTest::mouseClick(named<QToolButton>(f, "sb_Zapisz"), Qt::LeftButton);
    QCOMPARE(fileBytes(),
             QByteArray("[autorun]\r\nOpen=setup.exe\r\nName=P\xB3yta\r\nLabel=P\xB3yta\r\n\r\n"
                        "shell\\00000\\command=narzedzia\\view.exe\r\nshell\\00000=Przegl\xB9"
                        "darka\r\n\r\n"
                        "shell=00000\r\naction=Uruchom\r\n\r\n[autorun.amd64]\r\nopen=setup64.exe\r\n"
                        "[DeviceInstall]\r\nDriverPath=a\r\nDriverPath=b\r\n"));

    // Renamed in place and saved again, the entry keeps the default verb.
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    UserInput::clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    UserInput::press(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Widok");
    UserInput::press(Qt::Key_Return);
    QTRY_VERIFY(!named<QTreeView>(f, "lv_Lista")->findChild<QLineEdit *>());
    QTest::mouseClick(named<QToolButton>(f, "sb_Zapisz"), Qt::LeftButton);
    QVERIFY(fileBytes().contains("shell\\00000=Widok\r\n\r\nshell=00000\r\n"));
}

void TestCreateSave::readingAFileFillsTheWindow()
{
    writeFile("[autorun]\r\nOpen=setup.exe\r\nIcon=setup.exe,0\r\nName=MOJA PLYTA\r\n\r\n"
              "shell\\00000\\command=setup.exe\r\nshell\\00000=Zainstaluj program\r\n\r\n"
              "shell\\00001\\command=narzedzia\\view.exe\r\nshell\\00001=Przegl\xB9" "darka\r\n\r\n");
    MainWindow &f = form();
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();

    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(u"We wskazanym folderze istnieje już plik"_qs));
    QVERIFY(m_fixture->messages.shown[0].buttons == Messages::Buttons::YesNo);
    const MenuDocument doc = f.document();
    QCOMPARE(doc.autoStartProgram, QStringLiteral("setup.exe"));
    QCOMPARE(doc.iconFile, QStringLiteral("setup.exe"));
    QCOMPARE(doc.iconIndex, 0);
    QCOMPARE(doc.discLabel, QStringLiteral("MOJA PLYTA"));
    QCOMPARE(doc.items, (QList<MenuItem>{{"Zainstaluj program", "setup.exe"},
                                         {u"Przeglądarka"_qs, "narzedzia\\view.exe"}}));
    QCOMPARE(named<QLabel>(f, "Label3")->text(), QStringLiteral("MOJA PLYTA"));
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isHidden()
            && !named<QToolButton>(f, "sb_Zapisz")->isEnabled()
            && named<QToolButton>(f, "sb_Utworz")->isHidden());
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled());
    QVERIFY(named<QPushButton>(f, "sb_Podglad")->isEnabled()
            && named<QPushButton>(f, "sb_UruchomPlik")->isEnabled()
            && named<QPushButton>(f, "sb_UsunPlik")->isEnabled());
    QVERIFY(!f.isModified());
    QCOMPARE(RecentList(RecentList::filesKey).entries(), QStringList{m_folder + "autorun.inf"});
    QVERIFY(named<QTreeView>(f, "lv_Lista")->columnWidth(1)
            >= f.fontMetrics().horizontalAdvance("narzedzia\\view.exe") + 25);

    m_fixture->messages.answers = {Messages::Answer::No}; // a second read gives the same
    f.refresh();
    QCOMPARE(f.document().items, doc.items);
    QCOMPARE(f.document().discLabel, doc.discLabel);
}

void TestCreateSave::decliningTheFileKeepsTheButtons()
{
    MainWindow &f = form();
    writeFile("[autorun]\r\nOpen=setup.exe\r\n");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isHidden());

    // Another folder with a file, declined: Save stays the visible button, the list is empty.
    const QString other = m_root->path() + "/inny/";
    QVERIFY(QDir().mkpath(other));
    QFile file(other + "autorun.inf");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[autorun]\r\nshell\\a=A\r\nshell\\a\\command=a.exe\r\n");
    file.close();
    m_fixture->messages.answers = {Messages::Answer::No};
    named<FolderEdit>(f, "de_Folder")->setFolder(other);
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isHidden() && !named<QToolButton>(f, "sb_Zapisz")->isEnabled());
    QCOMPARE(named<QTreeView>(f, "lv_Lista")->model()->rowCount(), 0);
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), QStringLiteral("inny"));
}

void TestCreateSave::iconLocationSurvivesOpenAndSave_data()
{
    addIconLocationRows();
}

// Opened and saved after an edit of the label, the icon line means what it meant.
void TestCreateSave::iconLocationSurvivesOpenAndSave()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    writeFile("[autorun]\r\n" + line + "\r\n");
    MainWindow &f = form();
    f.show();
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "X");
    QTest::mouseClick(named<QToolButton>(f, "sb_Zapisz"), Qt::LeftButton);
    QCOMPARE(fileBytes(), "[autorun]\r\n" + written + "\r\nName=X\r\nLabel=X\r\n\r\n");
}

void TestCreateSave::iconNumberSelectsTheRow()
{
    using namespace IconFixtures;
    QList<ExecutableWriter::ResourceEntry> icons;
    for (quint16 i = 1; i <= 3; ++i)
        icons += iconResources(icoFile({square(32, QColor(60 * i, 0, 0))}), i, i);
    QFile program(m_folder + "setup.exe");
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write(ExecutableWriter::writePe(false, false, icons));
    program.close();
    writeFile("[autorun]\r\nicon=setup.exe,2\r\n");
    MainWindow &f = form();
    showWindow();
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();
    QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton); // the panel shows the icons
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->iconCount(), 3);
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->currentRow(), 2);
    QCOMPARE(f.document().iconIndex, 2);
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_NO"), Qt::LeftButton);

    writeFile("[autorun]\r\nicon=setup.exe,x\r\n"); // no number: none is written back
    m_fixture->messages.answers = {Messages::Answer::No};
    f.refresh();
    QCOMPARE(f.document().iconIndex, std::nullopt);
}

// "\setup.exe" names setup.exe at the root of the disc, which is the data folder.
void TestCreateSave::pathsFromTheRootOfTheDisc()
{
    MainWindow &f = form();
    writeFile("[autorun]\r\nopen=\\setup.exe\r\nicon=\\setup.exe\r\n");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    f.show();
    takeFolder();
    UserInput::rightClick(named<QLabel>(f, "Image2"), QPoint(40, 40));
    QTRY_VERIFY(named<QMenu>(f, "pm_Menu")->isVisible());
    QCOMPARE(named<QMenu>(f, "pm_Menu")->defaultAction()->toolTip(), m_folder + "setup.exe");
    named<QMenu>(f, "pm_Menu")->close();
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(named<QPushButton>(f, "sb_UsunPlik"),
                      Qt::LeftButton); // the file goes, the program and icon stay
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isHidden());
    m_fixture->messages.shown.clear();
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QCOMPARE(m_fixture->messages.shown.size(), 1); // no question about a missing file
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(createdText));
}

// A menu file over the reader's limit is refused in one message; the window keeps its state.
void TestCreateSave::tooLargeMenuFileChangesNothing()
{
    MainWindow &f = form();
    writeFile("[autorun]\r\nlabel=Wielki\r\n");
    QFile big(m_folder + "autorun.inf");
    QVERIFY(big.resize((qint64(64) << 20) + 1)); // sparse: no disc space used
    m_fixture->messages.answers = {Messages::Answer::Yes};
    takeFolder();
    QCOMPARE(m_fixture->messages.shown.size(), 2); // the question, then the refusal
    QVERIFY(m_fixture->messages.shown[1].text.contains("ma ponad 64 MB"));
    QCOMPARE(m_fixture->messages.shown[1].caption, QStringLiteral("BŁĄD !!!"));
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), u"Płyta"_qs); // the folder's name, not the file's label
    QVERIFY(f.document().items.isEmpty());
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isHidden());

    m_fixture->messages.shown.clear();
    f.openMenuFile(m_folder + "autorun.inf"); // as a recent file does
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QCOMPARE(f.dataFolder(), m_folder);
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isHidden());
}

QTEST_MAIN(TestCreateSave)
#include "tst_createsave.moc"

