#include "ExecutableWriter.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/TForm1.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TdfsSystemTreeView.h"

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
    TForm1 &form() { return *m_fixture->windows().main; }
    void writeFile(const QString &relative, const QByteArray &bytes);
    void select(const QString &relative) { QVERIFY(form().dfsSystemTreeView1->select(m_folder + relative)); }

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
    form().de_Folder->setFolder(m_folder);
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
    TForm1 &f = form();
    select(file);
    QCOMPARE(f.Label5->text(), name);
    QCOMPARE(f.Label7->text(), QStringLiteral("Nazwa pliku:"));
    QCOMPARE(f.Label6->text(), u"Ścieżka i nazwa pliku:"_qs);
    QVERIFY(f.sb_Dodaj->isEnabled());
    QCOMPARE(f.dfsSystemTreeView1->popupMenu(), f.pm_Lista);

    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    QCOMPARE(f.cb_NazwaPozycji->count(), suggestions);
    QCOMPARE(f.cb_NazwaPozycji->currentText(), preselected);
    QCOMPARE(f.cb_NazwaPozycji->itemText(0), name);
}

void TestSelection::otherSelectionsOfferNothing()
{
    TForm1 &f = form();
    select("bin/setup.exe");
    for (const char *other : {"czytaj.txt", "setup.ex_", "bin"}) {
        select(other);
        QVERIFY(f.Label5->text().isEmpty() && f.Label7->text().isEmpty());
        QCOMPARE(f.Label6->text(), u"Ścieżka i nazwa pliku:"_qs); // keeps its text
        QVERIFY(!f.sb_Dodaj->isEnabled());
        QVERIFY(!f.dfsSystemTreeView1->popupMenu());
        QTest::keyClick(f.dfsSystemTreeView1, Qt::Key_Return);
        QVERIFY(f.p_Dodaj->isHidden());
    }
}

void TestSelection::pathLineFollowsTheLabel()
{
    TForm1 &f = form();
    select("bin/setup.exe");
    QCOMPARE(f.Label4->text(), u"[Płyta]\\bin\\setup.exe"_qs);
    f.e_Etykieta->clear();
    QCOMPARE(f.Label4->text(), u"[Płyta]\\bin\\setup.exe"_qs); // until the selection changes
    select("INNY.EXE");
    QCOMPARE(f.Label4->text(), QStringLiteral("INNY.EXE"));
    select("bin");
    QCOMPARE(f.Label4->text(), QStringLiteral("bin"));
}

void TestSelection::programsOnlyFilter()
{
    TForm1 &f = form();
    const auto shown = [&] {
        QStringList names;
        QTreeWidgetItem *root = f.dfsSystemTreeView1->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            names << root->child(i)->text(0);
        return names;
    };
    QCOMPARE(shown(), (QStringList{"bin", "czytaj.txt", "INNY.EXE", "setup.ex_"}));
    QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
    QCOMPARE(shown(), (QStringList{"bin", "INNY.EXE"}));
    QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
    QCOMPARE(shown().size(), 4);
}

void TestSelection::setAsAutoStartProgramTouchesNothingElse()
{
    TForm1 &f = form();
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton); // now there is a file on disc
    const bool save = f.sb_Zapisz->isEnabled(), refresh = f.sb_Odswiez->isEnabled();
    select("bin/setup.exe");
    f.Ustawjakoautomatycznieuruchomiany1->trigger();
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\setup.exe"));
    QCOMPARE(f.sb_Zapisz->isEnabled(), save);
    QCOMPARE(f.sb_Odswiez->isEnabled(), refresh);
    QVERIFY(!f.isModified());
}

void TestSelection::enterAndDoubleClickOpenThePanel()
{
    TForm1 &f = form();
    select("INNY.EXE");
    f.dfsSystemTreeView1->setFocus();
    QTest::keyClick(f.dfsSystemTreeView1, Qt::Key_Return);
    QVERIFY(f.p_Dodaj->isVisible());
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Escape);
    QVERIFY(f.p_Dodaj->isHidden());
    f.dfsSystemTreeView1DblClick();
    QVERIFY(f.p_Dodaj->isVisible());
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Escape);
    f.Dodajdomenu1->trigger(); // the tree's menu item opens the same panel
    QVERIFY(f.p_Dodaj->isVisible());
}

void TestSelection::rootFolderGivesAnEmptyLabel()
{
    TForm1 &f = form();
    f.de_Folder->setFolder("/");
    QCOMPARE(f.de_Folder->text(), QStringLiteral("/"));
    QCOMPARE(f.e_Etykieta->text(), QString());
    QCOMPARE(f.Label3->text(), QString()); // shown empty, not the drive caption
    QCOMPARE(f.gb_Centrum->title(), u" Wskazany folder zawiera następujące pliki i foldery: "_qs);
}

void TestSelection::openMenuFileShowsItsLabel()
{
    writeFile("autorun.inf", "[autorun]\r\nName=INNA NAZWA\r\nshell\\a=A\r\nshell\\a\\command=INNY.EXE\r\n");
    TForm1 &f = form();
    f.de_Folder->setFolder(m_root->path() + "/");
    f.OpenMenuFile(m_folder + "autorun.inf");
    QCOMPARE(f.de_Folder->text(), m_folder);
    QCOMPARE(f.e_Etykieta->text(), u"INNA NAZWA"_qs); // the file's own label
    QCOMPARE(f.document().items, (QList<MenuItem>{{"A", "INNY.EXE"}}));
    QVERIFY(!f.isModified() && !f.hasUnsavedChanges());
    QVERIFY(!f.sb_Zapisz->isEnabled() && !f.sb_Odswiez->isEnabled()); // nothing to save yet
    QVERIFY(f.sb_Utworz->isHidden());
    QVERIFY(f.dfsSystemTreeView1->isEnabled());
    QVERIFY(m_fixture->messages.shown.isEmpty()); // no question: the file was chosen
}

void TestSelection::missingFolderStates()
{
    TForm1 &f = form();
    f.e_Etykieta->clear();
    f.de_Folder->setFolder(m_root->path() + "/brak");
    QCOMPARE(f.gb_Centrum->title(), QStringLiteral(" Folder nie istnieje i brak etykiety !!! "));
    QVERIFY(!f.gb_Centrum->isEnabled() && !f.CheckBox1->isEnabled() && !f.sb_AutoRun->isEnabled());
    f.e_Etykieta->setText("X"); // the caption stays until the folder text changes
    QCOMPARE(f.gb_Centrum->title(), QStringLiteral(" Folder nie istnieje i brak etykiety !!! "));
    f.de_Folder->setFolder(m_root->path() + "/brak2");
    QCOMPARE(f.gb_Centrum->title(), QStringLiteral(" Wskazany folder nie istnieje !!! "));
    QCOMPARE(f.Label3->text(), u"Stacja dysków CD (DVD)"_qs);
    QCOMPARE(f.gb_Centrum->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(255, 0, 0));
}

// A FIFO named like a program is shown, but selecting it, or searching the folder for the
// auto-start panel, never opens it (opening one waits for a writer for ever).
void TestSelection::specialFilesAreNeverOpened()
{
    QVERIFY(::mkfifo(QFile::encodeName(m_folder + "potok.exe").constData(), 0600) == 0);
    form().de_Folder->setFolder(m_root->path() + "/");
    form().de_Folder->setFolder(m_folder);
    std::atomic<bool> done{false};
    std::thread watchdog([&done] {
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done)
            qFatal("the window waits on a FIFO");
    });
    QVERIFY(UserInput::clickPath(form().dfsSystemTreeView1, m_folder + "potok.exe"));
    QCOMPARE(form().Label5->text(), QStringLiteral("potok"));
    QTest::mouseClick(form().sb_AutoRun, Qt::LeftButton);
    QCOMPARE(UserInput::rowOf(form().lb_Programy, "potok.exe"), -1);
    done = true;
    watchdog.join();
}

// Taking a subfolder keeps the selected file selected: it is the new disc's entry, and says so.
void TestSelection::selectionKeptByANewFolderIsReported()
{
    TForm1 &f = form();
    select("bin/setup.exe");
    f.de_Folder->setFolder(m_folder + "bin");
    QCOMPARE(f.Label4->text(), QStringLiteral("[bin]\\setup.exe"));
    QVERIFY(f.sb_Dodaj->isEnabled());
}

// Fourteen folders down, the keys still go from entry to entry and the tree scrolls sideways.
void TestSelection::deepEntriesAreReachedByKeys()
{
    TForm1 &f = form();
    QString deep = "bin";
    for (int level = 0; level < 14; ++level)
        deep += QStringLiteral("/poziom%1").arg(level);
    writeFile(deep + "/gleboki.exe", "MZ");
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QVERIFY(UserInput::clickPath(f.dfsSystemTreeView1, m_folder + deep + "/gleboki.exe"));
    UserInput::press(Qt::Key_Up);
    QCOMPARE(f.dfsSystemTreeView1->Selection(), m_folder + deep);
    UserInput::press(Qt::Key_Down);
    QCOMPARE(f.dfsSystemTreeView1->Selection(), m_folder + deep + "/gleboki.exe");
    QVERIFY(f.Label4->text().endsWith("\\gleboki.exe"));
    QVERIFY(f.dfsSystemTreeView1->horizontalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
