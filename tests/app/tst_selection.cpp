#include "Controls.h"
#include "ExecutableWriter.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderTree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QScrollBar>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>

using namespace ExecutableWriter;

// The folder contents group: the lines under the tree, the programs-only filter, the tree's
// menu; and the data folder and label handlers around it.
class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void programShowsItsDescription_data();
    void programShowsItsDescription();
    void otherSelectionsOfferNothing();
    void pathLineFollowsTheLabel();
    void programsOnlyFilter();
    void setAsAutoStartProgramTouchesNothingElse();
    void enterAndDoubleClickOpenThePanel();
    void rootFolderGivesAnEmptyLabel();
    void openMenuFileShowsItsLabel();
    void missingFolderStates();
    void specialFilesAreNeverOpened();
    void selectionKeptByANewFolderIsReported();
    void deepEntriesAreReachedByKeys();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    void writeFile(const QString &relative, const QByteArray &bytes);
    void select(const QString &relative)
    {
        QVERIFY(UserInput::clickPath(named<FolderTree>(form(), "dfsSystemTreeView1"), m_folder + relative));
    }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestSelection::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + u"/Płyta/"_qs;
    QVERIFY(QDir().mkpath(m_folder + "bin"));

    VersionContent described;
    described.translations = {{0x0415, 0x04E2}};
    described.tables = {{"041504e2", {{"FileDescription", "Kreator instalacji"}}}};
    writeFile("bin/setup.exe", writePe(false, false, {{16, 1, 0x0415, versionBlock(described, true), {}}}));
    VersionContent elsewhere = described;
    elsewhere.translations = {{0x0409, 0x04B0}, {0x0415, 0x04E2}};
    writeFile("INNY.EXE", writePe(false, false, {{16, 1, 0x0415, versionBlock(elsewhere, true), {}}}));
    writeFile("czytaj.txt", "tekst");
    writeFile("setup.ex_", "spakowany");
    form().show();
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

void TestSelection::writeFile(const QString &relative, const QByteArray &bytes)
{
    QVERIFY(writeTestFile(m_folder + relative, bytes));
}

void TestSelection::programShowsItsDescription_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("suggestions");
    QTest::addColumn<QString>("preselected");
    QTest::newRow("described") << "bin/setup.exe" << "Kreator instalacji" << 20 << "Zainstaluj Kreator instalacji";
    QTest::newRow("strings under a second translation") << "INNY.EXE" << "INNY" << 10 << "Zainstaluj INNY";
}

void TestSelection::programShowsItsDescription()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(int, suggestions);
    QFETCH(QString, preselected);
    MainWindow &f = form();
    select(file);
    QCOMPARE(named<QLabel>(f, "Label5")->text(), name);
    QCOMPARE(named<QLabel>(f, "Label7")->text(), QStringLiteral("Nazwa pliku:"));
    QCOMPARE(named<QLabel>(f, "Label6")->text(), u"Ścieżka i nazwa pliku:"_qs);
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled());
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->popupMenu(), named<QMenu>(f, "pm_Lista"));

    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->count(), suggestions);
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->currentText(), preselected);
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->itemText(0), name);
}

void TestSelection::otherSelectionsOfferNothing()
{
    MainWindow &f = form();
    select("bin/setup.exe");
    for (const char *other : {"czytaj.txt", "setup.ex_", "bin"}) {
        select(other);
        QVERIFY(named<QLabel>(f, "Label5")->text().isEmpty() && named<QLabel>(f, "Label7")->text().isEmpty());
        QCOMPARE(named<QLabel>(f, "Label6")->text(), u"Ścieżka i nazwa pliku:"_qs); // keeps its text
        QVERIFY(!named<QPushButton>(f, "sb_Dodaj")->isEnabled());
        QVERIFY(!named<FolderTree>(f, "dfsSystemTreeView1")->popupMenu());
        QTest::keyClick(named<FolderTree>(f, "dfsSystemTreeView1"), Qt::Key_Return);
        QVERIFY(!panelOpen(f, "p_Dodaj"));
    }
}

void TestSelection::pathLineFollowsTheLabel()
{
    MainWindow &f = form();
    select("bin/setup.exe");
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), u"[Płyta]\\bin\\setup.exe"_qs);
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), QString());
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), u"[Płyta]\\bin\\setup.exe"_qs); // until the selection changes
    select("INNY.EXE");
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), QStringLiteral("INNY.EXE"));
    select("bin");
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), QStringLiteral("bin"));
}

void TestSelection::programsOnlyFilter()
{
    MainWindow &f = form();
    const auto shown = [&] {
        QStringList names;
        QTreeWidgetItem *root = named<FolderTree>(f, "dfsSystemTreeView1")->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            names << root->child(i)->text(0);
        return names;
    };
    QCOMPARE(shown(), (QStringList{"bin", "czytaj.txt", "INNY.EXE", "setup.ex_"}));
    QTest::mouseClick(named<QCheckBox>(f, "CheckBox1"), Qt::LeftButton);
    QCOMPARE(shown(), (QStringList{"bin", "INNY.EXE"}));
    QTest::mouseClick(named<QCheckBox>(f, "CheckBox1"), Qt::LeftButton);
    QCOMPARE(shown().size(), 4);
}

void TestSelection::setAsAutoStartProgramTouchesNothingElse()
{
    MainWindow &f = form();
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton); // now there is a file on disc
    const bool save = named<QToolButton>(f, "sb_Zapisz")->isEnabled(),
               refresh = named<QPushButton>(f, "sb_Odswiez")->isEnabled();
    select("bin/setup.exe");
    named<QAction>(f, "Ustawjakoautomatycznieuruchomiany1")->trigger();
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\setup.exe"));
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isEnabled(), save);
    QCOMPARE(named<QPushButton>(f, "sb_Odswiez")->isEnabled(), refresh);
    QVERIFY(!f.isModified());
}

void TestSelection::enterAndDoubleClickOpenThePanel()
{
    MainWindow &f = form();
    select("INNY.EXE");
    named<FolderTree>(f, "dfsSystemTreeView1")->setFocus();
    QTest::keyClick(named<FolderTree>(f, "dfsSystemTreeView1"), Qt::Key_Return);
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Escape);
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isHidden());
    f.treeEntryDoubleClicked();
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Escape);
    named<QAction>(f, "Dodajdomenu1")->trigger(); // the tree's menu item opens the same panel
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
}

void TestSelection::rootFolderGivesAnEmptyLabel()
{
    MainWindow &f = form();
    named<FolderEdit>(f, "de_Folder")->setFolder("/");
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), QStringLiteral("/"));
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), QString());
    QCOMPARE(named<QLabel>(f, "Label3")->text(), QString()); // shown empty, not the drive caption
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(),
             u" Wskazany folder zawiera następujące pliki i foldery: "_qs);
}

void TestSelection::openMenuFileShowsItsLabel()
{
    writeFile("autorun.inf", "[autorun]\r\nName=INNA NAZWA\r\nshell\\a=A\r\nshell\\a\\command=INNY.EXE\r\n");
    MainWindow &f = form();
    named<FolderEdit>(f, "de_Folder")->setFolder(m_root->path() + "/");
    f.openMenuFile(m_folder + "autorun.inf");
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), m_folder);
    QCOMPARE(named<QLineEdit>(f, "e_Etykieta")->text(), u"INNA NAZWA"_qs); // the file's own label
    QCOMPARE(f.document().items, (QList<MenuItem>{{"A", "INNY.EXE"}}));
    QVERIFY(!f.isModified() && !f.hasUnsavedChanges());
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isEnabled()
            && !named<QPushButton>(f, "sb_Odswiez")->isEnabled()); // nothing to save yet
    QVERIFY(named<QToolButton>(f, "sb_Utworz")->isHidden());
    QVERIFY(named<FolderTree>(f, "dfsSystemTreeView1")->isEnabled());
    QVERIFY(m_fixture->messages.shown.isEmpty()); // no question: the file was chosen
}

void TestSelection::missingFolderStates()
{
    MainWindow &f = form();
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), QString());
    named<FolderEdit>(f, "de_Folder")->setFolder(m_root->path() + "/brak");
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(),
             QStringLiteral(" Folder nie istnieje i brak etykiety !!! "));
    QVERIFY(!named<QGroupBox>(f, "gb_Centrum")->isEnabled() && !named<QCheckBox>(f, "CheckBox1")->isEnabled()
            && !named<QToolButton>(f, "sb_AutoRun")->isEnabled());
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "X"); // the caption stays until the folder text changes
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(),
             QStringLiteral(" Folder nie istnieje i brak etykiety !!! "));
    named<FolderEdit>(f, "de_Folder")->setFolder(m_root->path() + "/brak2");
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(), QStringLiteral(" Wskazany folder nie istnieje !!! "));
    QCOMPARE(named<QLabel>(f, "Label3")->text(), u"Stacja dysków CD (DVD)"_qs);
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->palette().color(QPalette::Disabled, QPalette::WindowText),
             QColor(255, 0, 0));
}

// A FIFO named like a program is shown, but selecting it, or searching the folder for the
// auto-start panel, never opens it (opening one waits for a writer for ever).
void TestSelection::specialFilesAreNeverOpened()
{
    QVERIFY(::mkfifo(QFile::encodeName(m_folder + "potok.exe").constData(), 0600) == 0);
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_root->path() + "/");
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
    std::atomic<bool> done{false};
    std::thread watchdog([&done] {
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done)
            qFatal("the window waits on a FIFO");
    });
    QVERIFY(UserInput::clickPath(named<FolderTree>(form(), "dfsSystemTreeView1"), m_folder + "potok.exe"));
    QCOMPARE(named<QLabel>(form(), "Label5")->text(), QStringLiteral("potok"));
    QTest::mouseClick(named<QToolButton>(form(), "sb_AutoRun"), Qt::LeftButton);
    QCOMPARE(UserInput::rowOf(named<ChoiceList>(form(), "lb_Programy"), "potok.exe"), -1);
    done = true;
    watchdog.join();
}

// Taking a subfolder keeps the selected file selected: it is the new disc's entry, and says so.
void TestSelection::selectionKeptByANewFolderIsReported()
{
    MainWindow &f = form();
    select("bin/setup.exe");
    named<FolderEdit>(f, "de_Folder")->setFolder(m_folder + "bin");
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), QStringLiteral("[bin]\\setup.exe"));
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled());
}

// Fourteen folders down, the keys still go from entry to entry and the tree scrolls sideways.
void TestSelection::deepEntriesAreReachedByKeys()
{
    MainWindow &f = form();
    QString deep = "bin";
    for (int level = 0; level < 14; ++level)
        deep += QStringLiteral("/poziom%1").arg(level);
    writeFile(deep + "/gleboki.exe", "MZ");
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QVERIFY(UserInput::clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), m_folder + deep + "/gleboki.exe"));
    UserInput::press(Qt::Key_Up);
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->selectedPath(), m_folder + deep);
    UserInput::press(Qt::Key_Down);
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->selectedPath(), m_folder + deep + "/gleboki.exe");
    QVERIFY(named<PathLabel>(f, "Label4")->text().endsWith("\\gleboki.exe"));
    QVERIFY(named<FolderTree>(f, "dfsSystemTreeView1")->horizontalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
