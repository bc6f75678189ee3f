#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/RecentList.h"
#include "app/MainWindow.h"
#include "dialogs/AboutWindow.h"
#include "platform/SettingsStore.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTreeView>
#include <QtTest>

using namespace UserInput;

namespace {
const QString askSave = QStringLiteral("W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.");
}

// Keys and focus in the main window, as the user meets them, and the user's work kept safe.
class TestKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void functionKeysWhereverTheFocusIs_data();
    void functionKeysWhereverTheFocusIs();
    void buttonsLeaveTheFocusAlone();
    void renameInPlace_data();
    void renameInPlace();
    void labelTypingLimit_data();
    void labelTypingLimit();
    void refusedRecordEndsCreate();
    void shortcuts_data();
    void shortcuts();
    // The user's work stays theirs: nothing thrown away or written without a question.
    void aboutGivesTheFocusBack_data();
    void aboutGivesTheFocusBack();
    void unsavedChangesAreOffered_data();
    void unsavedChangesAreOffered();
    void newFolderStartsClean();
    void createOnlyInATakenFolder();
    void programWithArgumentsExists();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    // Where F1 and F10 are pressed: a control of the window, or of a panel opened first.
    QWidget *focusTarget(const QString &name);
    bool aboutShown() { return m_fixture->windows().about()->isVisible(); }
    int helpOpened() { return int(m_fixture->shell.opened.size()); }
    QStringList labels() const;

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestKeys::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->setHelpFile(true);
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/Dane/";
    QVERIFY(writeTestFile(m_folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + "bin/konfig.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + "autorun.inf",
                          "[autorun]\r\nopen=setup.exe\r\nicon=setup.exe\r\nlabel=DANE\r\n"
                          "shell\\a=Pierwsza\r\nshell\\a\\command=setup.exe\r\n"
                          "shell\\b=Konfiguracja\r\nshell\\b\\command=\"bin\\konfig.exe\" -setup\r\n"));
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
    QCOMPARE(labels(), (QStringList{"Pierwsza", "Konfiguracja"}));
    m_fixture->messages.shown.clear();
}

QStringList TestKeys::labels() const
{
    QStringList list;
    for (int i = 0; i < named<QTreeView>(*m_fixture->windows().main, "lv_Lista")->model()->rowCount(); ++i)
        list << UserInput::rowText(named<QTreeView>(*m_fixture->windows().main, "lv_Lista"), i);
    return list;
}

QWidget *TestKeys::focusTarget(const QString &name)
{
    MainWindow &f = form();
    if (name == "cb_NazwaPozycji") {
        clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
        QTest::mouseClick(named<QPushButton>(f, "sb_Edytuj"), Qt::LeftButton);
    } else if (name == "lb_Programy" || name == "lb_Ikony" || name == "dfsIconListBox1" || name == "tabs") {
        QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton);
        if (name != "lb_Programy")
            clickTab(named<QTabWidget>(f, "PageControl1"), 1);
        if (name == "tabs")
            return named<QTabWidget>(f, "PageControl1")->tabBar();
    }
    return f.findChild<QWidget *>(name);
}

void TestKeys::functionKeysWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("works");
    for (const char *name : {"de_Folder", "CheckBox1", "cb_Sortuj", "dfsSystemTreeView1", "lv_Lista",
                             "cb_NazwaPozycji", "lb_Programy", "lb_Ikony", "dfsIconListBox1"})
        QTest::newRow(name) << QString(name) << true;
    QTest::newRow("label edit") << "e_Etykieta" << false;
    QTest::newRow("page tabs") << "tabs" << false;
}

void TestKeys::functionKeysWhereverTheFocusIs()
{
    QFETCH(QString, control);
    QFETCH(bool, works);
    QWidget *target = focusTarget(control);
    QVERIFY(target);
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), target);
    press(Qt::Key_F1);
    QCOMPARE(helpOpened(), works ? 1 : 0);
    press(Qt::Key_F10);
    QCOMPARE(aboutShown(), works);
    QCOMPARE(QApplication::activeModalWidget() != nullptr, works);
}

// A click on a button of the window leaves the focus where the keys go.
void TestKeys::buttonsLeaveTheFocusAlone()
{
    MainWindow &f = form();
    clickListRow(named<QTreeView>(f, "lv_Lista"), 1);
    QTest::mouseClick(named<QPushButton>(f, "sb_Usun"), Qt::LeftButton);
    QCOMPARE(named<QTreeView>(f, "lv_Lista")->model()->rowCount(), 1);
    QCOMPARE(QApplication::focusWidget(), named<QTreeView>(f, "lv_Lista"));
    press(Qt::Key_F10);
    QVERIFY(aboutShown());
}

void TestKeys::renameInPlace_data()
{
    QTest::addColumn<int>("endKey");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("Enter renames") << int(Qt::Key_Return) << QStringList{"Nowa", "Konfiguracja"};
    QTest::newRow("Escape cancels") << int(Qt::Key_Escape) << QStringList{"Pierwsza", "Konfiguracja"};
}

// Enter ends the rename and does nothing else: no edit panel, no move of the entry.
void TestKeys::renameInPlace()
{
    QFETCH(int, endKey);
    QFETCH(QStringList, labels);
    MainWindow &f = form();
    clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    press(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Nowa");
    press(endKey);
    QTRY_VERIFY(!named<QTreeView>(f, "lv_Lista")->findChild<QLineEdit *>());
    QVERIFY(!panelOpen(f, "p_Dodaj"));
    QStringList now;
    for (int i = 0; i < named<QTreeView>(f, "lv_Lista")->model()->rowCount(); ++i)
        now << UserInput::rowText(named<QTreeView>(f, "lv_Lista"), i, 0);
    QCOMPARE(now, labels);
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isEnabled(), endKey == Qt::Key_Return);
}

void TestKeys::labelTypingLimit_data()
{
    QTest::addColumn<QString>("set");      // set by the program
    // "<" is Backspace, "*" selects all, "[" selects the first 3, "^" pastes, "z" undoes
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("result");
    const QString longLabel = "Bardzo długa etykieta"; // 21 characters
    QTest::newRow("typing up to the limit")
        << "" << QStringList{"*", "Płyta z danymi 2026!"} << "Płyta z danymi 2";
    QTest::newRow("no growth over a long text") << longLabel << QStringList{"x"} << longLabel;
    QTest::newRow("deleting a long text") << longLabel << QStringList{"<", "<"} << longLabel.chopped(2);
    QTest::newRow("deleting, then typing") << longLabel << QStringList{"<", "x"} << longLabel.chopped(1);
    QTest::newRow("replacing a few letters") << longLabel << QStringList{"[", "x"} << longLabel;
    QTest::newRow("replacing all") << longLabel << QStringList{"*", "Nowa"} << "Nowa";
    QTest::newRow("pasting what fits") << "" << QStringList{"*", "Płyta ", "^"} << "Płyta ABCDEFGHIJ";
    QTest::newRow("undo keeps the limit") << longLabel << QStringList{"<", "z", "x"} << longLabel;
}

void TestKeys::labelTypingLimit()
{
    QFETCH(QString, set);
    QFETCH(QStringList, keys);
    QFETCH(QString, result);
    QLineEdit *edit = named<QLineEdit>(form(), "e_Etykieta");
    QGuiApplication::clipboard()->setText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (!set.isEmpty()) { // the program sets a long label: the name of the folder taken
        QVERIFY(QDir().mkpath(m_root->path() + "/" + set));
        named<FolderEdit>(form(), "de_Folder")->setFolder(m_root->path() + "/" + set + "/");
        QCOMPARE(edit->text(), set);
    }
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    for (const QString &k : std::as_const(keys)) {
        if (k == "<")
            QTest::keyClick(edit, Qt::Key_Backspace);
        else if (k == "*")
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        else if (k == "[")
            edit->setSelection(0, 3);
        else if (k == "^")
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        else if (k == "z")
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        else
            type(edit, k);
    }
    QCOMPARE(edit->text(), result);
}

// The store that refuses the recent file ends Create with its error: no success box follows.
void TestKeys::refusedRecordEndsCreate()
{
    MainWindow &f = form();
    QVERIFY(writeTestFile(m_folder + "inny/czytaj.txt", "x"));
    m_fixture->messages.answers = {};
    named<FolderEdit>(f, "de_Folder")->setFolder(m_folder + "inny/");
    const QString storeFolder = QFileInfo(m_fixture->settingsFile()).path();
    QVERIFY(QDir(storeFolder).removeRecursively());
    QVERIFY(writeTestFile(storeFolder)); // a file where the store's folder was
    typeOver(named<QLineEdit>(f, "e_Etykieta"), "Dane");
    m_fixture->messages.shown.clear();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QVERIFY(QFileInfo::exists(m_folder + "inny/autorun.inf"));
    const QStringList texts = m_fixture->messages.texts();
    QCOMPARE(texts.size(), 2); // the question about the missing program, then the error
    QCOMPARE(texts.last(), "Failed to set data for '" + m_folder + "inny/autorun.inf'");
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")
                ->isVisible()); // the command's own steps were done before it recorded
}

void TestKeys::shortcuts_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("does");
    QTest::newRow("Ctrl+S saves") << QKeySequence("Ctrl+S") << "save";
    QTest::newRow("Ctrl+N begins a new menu") << QKeySequence("Ctrl+N") << "new";
    QTest::newRow("Ctrl+O opens a file") << QKeySequence("Ctrl+O") << "open";
    QTest::newRow("Ctrl+Q closes") << QKeySequence("Ctrl+Q") << "close";
    QTest::newRow("Alt+A: Auto...") << QKeySequence("Alt+A") << "auto";
    QTest::newRow("Alt+D: Dodaj") << QKeySequence("Alt+D") << "add";
    QTest::newRow("Alt+S: Usuń") << QKeySequence("Alt+S") << "delete";
}

// Each command from the keys alone, the focus staying in the tree where F1 and F10 work.
void TestKeys::shortcuts()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, does);
    MainWindow &f = form();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    typeOver(named<QLineEdit>(f, "e_Etykieta"), "Nowa");
    clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    QVERIFY(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), m_folder + "setup.exe"));
    m_fixture->messages.shown.clear();
    QTest::keySequence(QApplication::focusWidget(), keys);
    if (does == "save")
        QVERIFY(readTestFile(m_folder + "autorun.inf").contains("Name=Nowa"));
    else if (does == "new")
        QVERIFY(m_fixture->messages.texts().value(0).startsWith("W tworzonym menu wprowadzono zmiany"));
    else if (does == "open")
        QCOMPARE(m_fixture->dialogs.asked, 1);
    else if (does == "close")
        QCOMPARE(m_fixture->messages.shown.size(), 1); // unsaved changes: asked first
    else if (does == "auto" || does == "add") // an access key clicks as the mouse does, a moment later
        QTRY_VERIFY(panelOpen(f, does == "auto" ? "p_Autorun" : "p_Dodaj"));
    else
        QTRY_COMPARE(named<QTreeView>(f, "lv_Lista")->model()->rowCount(), 1);
    if (!f.panelOpen())
        QCOMPARE(QApplication::focusWidget(), named<FolderTree>(f, "dfsSystemTreeView1"));
}

void TestKeys::aboutGivesTheFocusBack_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("tree") << "dfsSystemTreeView1";
    QTest::newRow("item panel") << "cb_NazwaPozycji";
    QTest::newRow("auto-start panel") << "lb_Programy";
}

// F10 and Escape from anywhere: the keys go back to the control that had them, so that a
// Backspace is the tree's and Enter is the panel's.
void TestKeys::aboutGivesTheFocusBack()
{
    QFETCH(QString, where);
    MainWindow &f = form();
    const QString folderText = named<FolderEdit>(f, "de_Folder")->text();
    QVERIFY(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), m_folder + "setup.exe"));
    if (where == "cb_NazwaPozycji") {
        press(Qt::Key_Return); // Enter on a program opens the item panel
    } else if (where == "lb_Programy") {
        QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton);
        clickRow(named<ChoiceList>(f, "lb_Programy"),
                 rowOf(named<ChoiceList>(f, "lb_Programy"), "bin\\konfig.exe"));
        QTest::mouseClick(named<QCheckBox>(f, "cb_Sortuj"),
                          Qt::LeftButton); // locked: takes neither a click nor the keys
        QVERIFY(!named<QCheckBox>(f, "cb_Sortuj")->isEnabled() && !named<QCheckBox>(f, "cb_Sortuj")->isChecked());
    }
    QWidget *control = f.findChild<QWidget *>(where);
    QCOMPARE(QApplication::focusWidget(), control);
    press(Qt::Key_F10);
    QTRY_VERIFY(m_fixture->windows().about()->isActiveWindow());
    press(Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), control);
    if (where == "dfsSystemTreeView1") {
        press(Qt::Key_Backspace);
        QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), folderText);
        QCOMPARE(labels(), (QStringList{"Pierwsza", "Konfiguracja"}));
        return;
    }
    press(Qt::Key_Return);
    QVERIFY(!f.panelOpen());
    if (where == "cb_NazwaPozycji")
        QCOMPARE(labels().size(), 3);
    else
        QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\konfig.exe"));
    QCOMPARE(QApplication::focusWidget(),
             named<FolderTree>(f, "dfsSystemTreeView1")); // where the panel was opened from
}

void TestKeys::unsavedChangesAreOffered_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"Zamknij", "window closed", "typed folder", "recent folder", "Nowe"})
        QTest::newRow(command) << QString(command);
}

// An entry renamed and not saved: every command that would drop it asks first, and Anuluj
// leaves the window as it was.
void TestKeys::unsavedChangesAreOffered()
{
    QFETCH(QString, command);
    MainWindow &f = form();
    const QString other = m_root->path() + "/Inne/";
    QVERIFY(writeTestFile(other + "x.txt"));
    QVERIFY(RecentList(RecentList::foldersKey).record(other));
    QVERIFY(RecentList(RecentList::filesKey).record(m_folder + "autorun.inf"));
    clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    press(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Nowa");
    press(Qt::Key_Return);
    QTRY_COMPARE(labels(), (QStringList{"Nowa", "Konfiguracja"}));

    m_fixture->messages.answers = {Messages::Answer::Cancel};
    if (command == "Zamknij") {
        QTest::mouseClick(named<QToolButton>(f, "sb_Zamknij"), Qt::LeftButton);
    } else if (command == "typed folder") {
        typeOver(named<FolderEdit>(f, "de_Folder"), other);
        press(Qt::Key_Return);
    } else if (command == "recent folder") {
        QTest::mouseClick(named<QToolButton>(f, "SpeedButton2"), Qt::LeftButton);
        QTRY_VERIFY(named<QMenu>(f, "pm_Wybierane")->isVisible());
        const QList<QAction *> entries = named<QMenu>(f, "pm_Wybierane")->actions();
        const auto entry =
            std::find_if(entries.begin(), entries.end(), [&](QAction *a) { return a->text() == other; });
        QVERIFY(entry != entries.end());
        clickEntry(named<QMenu>(f, "pm_Wybierane"), *entry);
    } else if (command == "Nowe") {
        QAction *entry = openMenuEntry(named<QToolButton>(f, "sb_Nowe"), named<QMenu>(f, "pm_Nowe"), "Nowe1");
        QVERIFY(entry);
        clickEntry(named<QMenu>(f, "pm_Nowe"), entry);
    } else {
        f.close(); // as the window manager's close button does
    }
    QCOMPARE(m_fixture->messages.texts().size(), 1);
    QVERIFY(m_fixture->messages.texts().first().startsWith(askSave));
    QVERIFY(f.isVisible());
    QCOMPARE(f.dataFolder(), m_folder);
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), m_folder);
    QCOMPARE(labels(), (QStringList{"Nowa", "Konfiguracja"}));
}

// The previous disc's program and icon are not this disc's: taking a folder without them lets
// them go, and so does Create's "Nie".
void TestKeys::newFolderStartsClean()
{
    MainWindow &f = form();
    const QString other = m_root->path() + "/Inne/";
    QVERIFY(writeTestFile(other + "x.txt"));
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    typeOver(named<FolderEdit>(f, "de_Folder"), other);
    press(Qt::Key_Return);
    QCOMPARE(f.dataFolder(), other);
    const MenuDocument doc = f.document();
    QVERIFY(doc.autoStartProgram.isEmpty() && doc.iconFile.isEmpty() && doc.items.isEmpty());
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QCOMPARE(readTestFile(other + "autorun.inf"), QByteArray("[autorun]\r\nName=Inne\r\nLabel=Inne\r\n\r\n"));
}

// A typed folder that does not exist is no place to write: Create stays off whatever is typed.
void TestKeys::createOnlyInATakenFolder()
{
    MainWindow &f = form();
    const QString missing = m_root->path() + "/Dane/x";
    typeOver(named<FolderEdit>(f, "de_Folder"), missing);
    typeOver(named<QLineEdit>(f, "e_Etykieta"), "Etykieta");
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(), QStringLiteral(" Wskazany folder nie istnieje !!! "));
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isEnabled());
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QVERIFY(!QFileInfo::exists(m_folder + "xautorun.inf"));
    QVERIFY(!RecentList(RecentList::filesKey).entries().contains(m_folder + "xautorun.inf"));
}

// The program of a command with arguments is found as the disc check finds it.
void TestKeys::programWithArgumentsExists()
{
    MainWindow &f = form();
    clickListRow(named<QTreeView>(f, "lv_Lista"), 1);
    QVERIFY(named<QLabel>(f, "l_NotExists")->isHidden());
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
