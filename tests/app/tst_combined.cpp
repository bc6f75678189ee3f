#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "dialogs/DiscCheckWindow.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"
#include "widgets/PathLabel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace UserInput;

namespace {
const QString askSave = QStringLiteral("W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.");
const QString writeFailed = QStringLiteral("Utworzenie menu nie powiodło się");
const QString askUnwritable = QStringLiteral("Plik autorun.inf zapisuje się w stronie kodowej Windows");
} // namespace

// Two commands one after the other: the window and the file on disc agree, or the modified
// mark says they do not.
class TestCombined : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveBesideTheAutoStartPanelThenCancel();
    void failedWriteKeepsTheEdits_data();
    void failedWriteKeepsTheEdits();
    void commandsFollowTheFileOnDisc();
    void rightClickActsOnTheEntryUnderThePointer();
    void findingsFollowTheMenu();
    void programWithArgumentsStaysWithItsFile_data();
    void programWithArgumentsStaysWithItsFile();
    void charactersTheDiscCannotHoldAreNamed();
    void saveAndRefreshOffWhileAskingToOpen();
    void textsFromAFileArePlain();
    void greyedTreeIsGreyThroughout();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    QTreeWidget *list() { return named<QTreeWidget>(form(), "lv_Lista"); }
    void take(const QString &folder, Messages::Answer openFile);
    bool enabled(const char *name) { return named<QWidget>(form(), name)->isEnabled(); }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestCombined::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/Dane/";
    QVERIFY(writeTestFile(m_folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + "inny.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + u"narzędzia.exe"_qs, "MZ"));
    QVERIFY(writeTestFile(m_folder + "autorun.inf",
                          "[autorun]\r\nopen=setup.exe\r\nshell\\a=Pierwsza\r\nshell\\a\\command=brak1.exe\r\n"
                          "shell\\b=Druga\r\nshell\\b\\command=brak2.exe\r\n"));
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

void TestCombined::take(const QString &folder, Messages::Answer openFile)
{
    m_fixture->messages.answers = {openFile};
    typeOver(named<FolderEdit>(form(), "de_Folder"), folder);
    QTest::keyClick(named<FolderEdit>(form(), "de_Folder"), Qt::Key_Return);
    QCOMPARE(form().dataFolder(), folder);
    m_fixture->messages.shown.clear();
    m_fixture->messages.answers.clear();
}

void TestCombined::saveBesideTheAutoStartPanelThenCancel()
{
    take(m_folder, Messages::Answer::Yes);
    QTest::mouseClick(named<QToolButton>(form(), "sb_AutoRun"), Qt::LeftButton);
    auto *programs = named<ChoiceList>(form(), "lb_Programy");
    clickRow(programs, rowOf(programs, "inny.exe"));
    QTest::mouseClick(named<QToolButton>(form(), "sb_Zapisz"), Qt::LeftButton);
    QVERIFY(readTestFile(m_folder + "autorun.inf").contains("Open=inny.exe"));
    QTest::mouseClick(named<QPushButton>(form(), "sb_Auto_NO"), Qt::LeftButton);

    // Anuluj goes back to what was saved: the window is the file.
    QCOMPARE(form().document().autoStartProgram, QStringLiteral("inny.exe"));
    QVERIFY(!form().isModified() && !enabled("sb_Zapisz"));
    form().close();
    QVERIFY(!form().isVisible());
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

void TestCombined::failedWriteKeepsTheEdits_data()
{
    QTest::addColumn<bool>("fileRead"); // Save on a menu read from its file, else Create
    QTest::addColumn<QString>("gone");  // what became of the folder: "removed" or "renamed"

    QTest::newRow("Save, folder removed") << true << "removed";
    QTest::newRow("Save, folder renamed") << true << "renamed";
    QTest::newRow("Create, folder removed") << false << "removed";
}

void TestCombined::failedWriteKeepsTheEdits()
{
    QFETCH(bool, fileRead);
    QFETCH(QString, gone);

    if (!fileRead)
        QVERIFY(QFile::remove(m_folder + "autorun.inf"));
    take(m_folder, Messages::Answer::Yes);
    typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Zmieniona");
    if (gone == "removed")
        QVERIFY(QDir(m_folder).removeRecursively());
    else
        QVERIFY(QDir().rename(m_folder, m_root->path() + "/Inna"));
    QTest::mouseClick(named<QToolButton>(form(), fileRead ? "sb_Zapisz" : "sb_Utworz"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.texts().filter(writeFailed).size(), 1);
    QCOMPARE(form().isModified(), fileRead);
    QVERIFY(form().hasUnsavedChanges());
    press(Qt::Key_Q, Qt::ControlModifier); // the question comes, and is cancelled
    QCOMPARE(m_fixture->messages.texts().filter(askSave).size(), 1);
    QVERIFY(form().isVisible());
    QVERIFY(!QFileInfo::exists(m_folder));
}

void TestCombined::commandsFollowTheFileOnDisc()
{
    // Save stands where Create did since another folder's file was read; this folder's file is
    // declined, then saved over.
    const QString other = m_root->path() + "/Inna/";
    QVERIFY(writeTestFile(other + "autorun.inf", "[autorun]\r\nopen=inna.exe\r\n"));
    take(other, Messages::Answer::Yes);
    take(m_folder, Messages::Answer::No);
    for (const char *file : {"sb_Podglad", "sb_UruchomPlik", "sb_UsunPlik"})
        QVERIFY(!enabled(file));
    typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Zmieniona");
    QTest::mouseClick(named<QToolButton>(form(), "sb_Zapisz"), Qt::LeftButton);
    QVERIFY(readTestFile(m_folder + "autorun.inf").contains("Name=Zmieniona"));
    for (const char *file : {"sb_Podglad", "sb_UruchomPlik", "sb_UsunPlik"})
        QVERIFY2(enabled(file), file);

    // The file deleted under a modified menu: nothing is left to refresh from.
    typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Jeszcze inna");
    QVERIFY(enabled("sb_Odswiez"));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(named<QPushButton>(form(), "sb_UsunPlik"), Qt::LeftButton);
    QVERIFY(!QFile::exists(m_folder + "autorun.inf"));
    QVERIFY(!enabled("sb_Odswiez") && !form().isModified());
}

void TestCombined::rightClickActsOnTheEntryUnderThePointer()
{
    take(m_folder, Messages::Answer::No);
    auto *tree = named<FolderTree>(form(), "dfsSystemTreeView1");
    QVERIFY(clickPath(tree, m_folder + "setup.exe"));
    QTreeWidgetItem *tools = nullptr;
    for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i) {
        if (tree->topLevelItem(0)->child(i)->text(0) == u"narzędzia.exe"_qs)
            tools = tree->topLevelItem(0)->child(i);
    }
    QVERIFY(tools);
    rightClick(tree->viewport(), tree->visualItemRect(tools).center());
    auto *menu = named<QMenu>(form(), "pm_Lista");
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    clickEntry(menu, named<QAction>(menu, "Dodajdomenu1"));
    QVERIFY(panelOpen(form(), "p_Dodaj"));
    QVERIFY(named<PathLabel>(form(), "XPathLabel1")->text().endsWith(u"narzędzia.exe"_qs));
}

void TestCombined::findingsFollowTheMenu()
{
    take(m_folder, Messages::Answer::Yes);
    clickEntry(named<QMenu>(form(), "pm_Nowe"),
               openMenuEntry(named<QToolButton>(form(), "sb_Nowe"), named<QMenu>(form(), "pm_Nowe"),
                             "Sprawdzplyte1"));
    auto *check = form().findChild<DiscCheckWindow *>();
    QVERIFY(check && check->isVisible());
    auto *findings = named<QListWidget>(check, "lb_Wyniki");
    QCOMPARE(findings->count(), 2); // the two entries' programs are missing

    clickItem(list(), list()->topLevelItem(0));
    QTest::keyClick(list(), Qt::Key_Delete);
    QCOMPARE(findings->count(), 1);
    // The finding left leads to the entry it is about, now the first.
    list()->clearSelection();
    doubleClick(findings, findings->model()->index(0, 0));
    QVERIFY(list()->currentItem());
    QCOMPARE(list()->currentItem()->text(0), QStringLiteral("Druga"));

    // A sound menu has no findings: the window goes.
    clickItem(list(), list()->topLevelItem(0));
    QTest::keyClick(list(), Qt::Key_Delete);
    QVERIFY(!check->isVisible());
}

void TestCombined::programWithArgumentsStaysWithItsFile_data()
{
    QTest::addColumn<QString>("held"); // what the other folder holds
    QTest::addColumn<QString>("kept"); // the program afterwards

    QTest::newRow("the program") << "setup.exe" << "setup.exe /auto";
    QTest::newRow("another program") << "inny.exe" << "";
}

void TestCombined::programWithArgumentsStaysWithItsFile()
{
    QFETCH(QString, held);
    QFETCH(QString, kept);

    QVERIFY(writeTestFile(m_folder + "autorun.inf", "[autorun]\r\nopen=setup.exe /auto\r\n"));
    take(m_folder, Messages::Answer::Yes);
    const QString other = m_root->path() + "/Inna/";
    QVERIFY(writeTestFile(other + held, "MZ"));
    take(other, Messages::Answer::No);
    QCOMPARE(form().document().autoStartProgram, kept);
}

void TestCombined::charactersTheDiscCannotHoldAreNamed()
{
    QVERIFY(QFile::remove(m_folder + "autorun.inf"));
    take(m_folder, Messages::Answer::No);
    auto *label = named<QLineEdit>(form(), "e_Etykieta");
    typeOver(label, u"Test 日本 ☃"_qs);
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::No}; // go back
    press(Qt::Key_S, Qt::ControlModifier);
    const QStringList asked = m_fixture->messages.texts().filter(askUnwritable);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].contains(u"„日”, „本”, „☃”"_qs));
    QVERIFY(!QFile::exists(m_folder + "autorun.inf"));
    QVERIFY(form().hasUnsavedChanges());
    QCOMPARE(label->text(), u"Test 日本 ☃"_qs);

    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Yes}; // with "?"
    press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(readTestFile(m_folder + "autorun.inf").contains("Name=Test ?? ?\r\n"));
}

void TestCombined::saveAndRefreshOffWhileAskingToOpen()
{
    take(m_folder, Messages::Answer::Yes);
    typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Zmieniona");
    QVERIFY(enabled("sb_Zapisz"));
    bool offWhileAsked = false;
    m_fixture->messages.whileShown = [&](const FakeMessages::Shown &shown) {
        if (shown.text.startsWith(u"We wskazanym folderze istnieje już plik"_qs))
            offWhileAsked = !enabled("sb_Zapisz") && !enabled("sb_Odswiez");
    };
    const QString other = m_root->path() + "/Inna/";
    QVERIFY(writeTestFile(other + "autorun.inf", "[autorun]\r\nopen=inna.exe\r\n"));
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::No}; // changes dropped, file declined
    typeOver(named<FolderEdit>(form(), "de_Folder"), other);
    QTest::keyClick(named<FolderEdit>(form(), "de_Folder"), Qt::Key_Return);
    QCOMPARE(form().dataFolder(), other);
    QVERIFY(offWhileAsked);
}

void TestCombined::textsFromAFileArePlain()
{
    QVERIFY(writeTestFile(m_folder + "autorun.inf",
                          "[autorun]\r\nlabel=<b>Gra</b>\r\nshell\\a=<h1>Duzy</h1>\r\nshell\\a\\command=setup.exe\r\n"));
    take(m_folder, Messages::Answer::Yes);
    clickItem(list(), list()->topLevelItem(0));
    for (const char *name : {"l_NazwaPoz", "Label3", "Label5"})
        QVERIFY2(named<QLabel>(form(), name)->textFormat() == Qt::PlainText, name);
    QCOMPARE(named<QLabel>(form(), "l_NazwaPoz")->text(), QStringLiteral("<h1>Duzy</h1>"));
}

void TestCombined::greyedTreeIsGreyThroughout()
{
    take(m_folder, Messages::Answer::No);
    typeOver(named<FolderEdit>(form(), "de_Folder"), m_root->path() + "/Brak");
    QTest::keyClick(named<FolderEdit>(form(), "de_Folder"), Qt::Key_Return);
    const QPalette tree = named<FolderTree>(form(), "dfsSystemTreeView1")->palette();
    // The branch arrows are drawn in these colours, not in the red of the group's caption.
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        QCOMPARE(tree.color(QPalette::Disabled, role), QColor(192, 192, 192));
}

QTEST_MAIN(TestCombined)
#include "tst_combined.moc"
