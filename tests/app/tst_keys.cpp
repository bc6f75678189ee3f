#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/TForm1.h"
#include "dialogs/TF_About.h"
#include "platform/SettingsStore.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"

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
#include <QtTest>

using namespace UserInput;

// Keys and focus in the main window, as the user meets them.
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

private:
    TForm1 &form() { return *m_fixture->windows().main; }
    // Where F1 and F10 are pressed: a control of the window, or of a panel opened first.
    QWidget *focusTarget(const QString &name);
    bool aboutShown() { return m_fixture->windows().about->isVisible(); }
    int helpOpened() { return int(m_fixture->shell.opened.size()); }

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
    QVERIFY(writeTestFile(m_folder + "autorun.inf",
                          "[autorun]\r\nicon=setup.exe\r\nshell\\a=Pierwsza\r\nshell\\a\\command=setup.exe\r\n"
                          "shell\\b=Druga\r\nshell\\b\\command=setup.exe\r\n"));
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    form().de_Folder->setFolder(m_folder);
    QCOMPARE(form().lv_Lista->topLevelItemCount(), 2);
}

QWidget *TestKeys::focusTarget(const QString &name)
{
    TForm1 &f = form();
    if (name == "cb_NazwaPozycji") {
        clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(0));
        QTest::mouseClick(f.sb_Edytuj, Qt::LeftButton);
    } else if (name == "lb_Programy" || name == "lb_Ikony" || name == "dfsIconListBox1" || name == "tabs") {
        QTest::mouseClick(f.sb_AutoRun, Qt::LeftButton);
        if (name != "lb_Programy")
            clickTab(f.PageControl1, 1);
        if (name == "tabs")
            return f.PageControl1->tabBar();
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
    TForm1 &f = form();
    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(1));
    QTest::mouseClick(f.sb_Usun, Qt::LeftButton);
    QCOMPARE(f.lv_Lista->topLevelItemCount(), 1);
    QCOMPARE(QApplication::focusWidget(), f.lv_Lista);
    press(Qt::Key_F10);
    QVERIFY(aboutShown());
}

void TestKeys::renameInPlace_data()
{
    QTest::addColumn<int>("endKey");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("Enter renames") << int(Qt::Key_Return) << QStringList{"Nowa", "Druga"};
    QTest::newRow("Escape cancels") << int(Qt::Key_Escape) << QStringList{"Pierwsza", "Druga"};
}

// Enter ends the rename and does nothing else: no edit panel, no move of the entry.
void TestKeys::renameInPlace()
{
    QFETCH(int, endKey);
    QFETCH(QStringList, labels);
    TForm1 &f = form();
    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(0));
    press(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Nowa");
    press(endKey);
    QTRY_VERIFY(!f.lv_Lista->findChild<QLineEdit *>());
    QVERIFY(!f.p_Dodaj->isVisible());
    QStringList now;
    for (int i = 0; i < f.lv_Lista->topLevelItemCount(); ++i)
        now << f.lv_Lista->topLevelItem(i)->text(0);
    QCOMPARE(now, labels);
    QCOMPARE(f.sb_Zapisz->isEnabled(), endKey == Qt::Key_Return);
}

void TestKeys::labelTypingLimit_data()
{
    QTest::addColumn<QString>("set");      // set by the program
    // "<" is Backspace, "*" selects all, "[" selects the first 3, "^" pastes, "z" undoes
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("result");
    const QString longLabel = "Bardzo długa etykieta"; // 21 characters
    QTest::newRow("typing up to the limit") << "" << QStringList{"*", "Płyta z danymi 2026!"} << "Płyta z danymi 2";
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
    QLineEdit *edit = form().e_Etykieta;
    QGuiApplication::clipboard()->setText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (!set.isEmpty()) { // the program sets a long label: the name of the folder taken
        QVERIFY(QDir().mkpath(m_root->path() + "/" + set));
        form().de_Folder->setFolder(m_root->path() + "/" + set + "/");
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
    TForm1 &f = form();
    QVERIFY(writeTestFile(m_folder + "inny/setup.exe", "MZ"));
    m_fixture->messages.answers = {};
    f.de_Folder->setFolder(m_folder + "inny/");
    const QString storeFolder = QFileInfo(m_fixture->settingsFile()).path();
    QVERIFY(QDir(storeFolder).removeRecursively());
    QVERIFY(writeTestFile(storeFolder)); // a file where the store's folder was
    typeOver(f.e_Etykieta, "Dane");
    m_fixture->messages.shown.clear();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
    QVERIFY(QFileInfo::exists(m_folder + "inny/autorun.inf"));
    const QStringList texts = m_fixture->messages.texts();
    QCOMPARE(texts.size(), 2); // the question about the missing program, then the error
    QCOMPARE(texts.last(), "Failed to set data for '" + m_folder + "inny/autorun.inf'");
    QVERIFY(f.sb_Zapisz->isVisible()); // the command's own steps were done before it recorded
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
    TForm1 &f = form();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    typeOver(f.e_Etykieta, "Nowa");
    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(0));
    QVERIFY(clickPath(f.dfsSystemTreeView1, m_folder + "setup.exe"));
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
        QTRY_VERIFY((does == "auto" ? f.p_Autorun : f.p_Dodaj)->isVisible());
    else
        QTRY_COMPARE(f.lv_Lista->topLevelItemCount(), 1);
    if (!f.panelOpen())
        QCOMPARE(QApplication::focusWidget(), f.dfsSystemTreeView1);
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
