#include "Controls.h"
#include "IconFixtures.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

using namespace ExecutableWriter;
using namespace IconFixtures;
using namespace UserInput;

// The auto-start panel as the user works it, with clicks and keys: what it offers, and what
// each choice does to the document.
class TestAutoRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void offersProgramsThenIconFiles();
    void preselectsWithoutRegardToCase();
    void firstProgramIsChosenByAClick();
    void programShowsItsIconsWithoutChoosingThem();
    void highlightedIconIsChosenByAClick();
    void iconFileAndIcon();
    void clickOnTheShownIconFileReloadsIt();
    void iconFileWithoutIcons();
    void focusChoosesNothing();
    void arrowKeysChoose();
    void unknownIconNumberHighlightsNoRow();
    void closingKeepsChoices();
    void aDragChooses();
    void aLongPathIsShownWhole();
    void keys();
    void nothingEnablesTheLockedWindow();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    void write(const QString &relative, const QByteArray &bytes);
    QStringList texts(const ChoiceList *list) const;
    void open() { QTest::mouseClick(named<QToolButton>(form(), "sb_AutoRun"), Qt::LeftButton); }
    void openExisting(const QByteArray &autorun);
    void clickProgram(const QString &name)
    {
        clickRow(named<ChoiceList>(form(), "lb_Programy"),
                 rowOf(named<ChoiceList>(form(), "lb_Programy"), name));
    }
    void clickIconFile(const QString &name);
    void clickIcon(int row) { clickRow(named<IconList>(form(), "dfsIconListBox1"), row); }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestAutoRun::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/dane/";
    for (const char *folder : {"bin", "art", ".ukryty"})
        QVERIFY(QDir().mkpath(m_folder + folder));
    const QByteArray twoIcons = writePe(false, false,
                                        iconResources(icoFile({square(32, Qt::red)}), 1, 1)
                                            + iconResources(icoFile({square(32, Qt::blue)}), 2, 2));
    write("setup.exe", twoIcons);
    write("bin/tool.exe", writePe(false, false, {}));
    write("bin/jedna.exe", writePe(false, false, iconResources(icoFile({square(32, Qt::cyan)}), 1, 1)));
    write("bin/icons.dll", writePe(false, true, iconResources(icoFile({square(32, Qt::green)}), 1, 1)));
    write("art/disc.ico", icoFile({square(32, Qt::yellow)}));
    write("art/pusty.ico", "nie ikona");
    write(".ukryty/ukryty.exe", twoIcons);
    write(".ukryta.exe", twoIcons);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

void TestAutoRun::write(const QString &relative, const QByteArray &bytes)
{
    QVERIFY(writeTestFile(m_folder + relative, bytes));
}

// The text of the list's current row.
QString currentText(const ChoiceList *list)
{
    return list->text(list->currentRow());
}

QStringList TestAutoRun::texts(const ChoiceList *list) const
{
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->text(i);
    return t;
}

// A path longer than the list is wide is cut nowhere: the list scrolls sideways to its end.
void TestAutoRun::aLongPathIsShownWhole()
{
    const QString folder = QStringLiteral("bardzo długi folder z programami do zainstalowania z płyty/"
                                          "i jeszcze jeden poziom niżej, z nazwą równie długą jak ta pierwsza/");
    QVERIFY(QDir().mkpath(m_folder + folder));
    write(folder + "instalator programu do gry.exe", writePe(false, false, {}));
    open();
    ChoiceList *list = named<ChoiceList>(form(), "lb_Programy");
    const QString text = QString(folder).replace('/', '\\') + "instalator programu do gry.exe";
    const int row = rowOf(list, text);
    QVERIFY(row >= 0);
    const int advance = list->fontMetrics().horizontalAdvance(text);
    QVERIFY(advance > list->viewport()->width()); // longer than the list, or the test proves nothing
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End); // to the row, as a user goes there
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QVERIFY2(rect.left() + advance <= list->viewport()->width(),
             qPrintable(QStringLiteral("the text ends at %1, the list at %2").arg(rect.left() + advance).arg(list->viewport()->width())));
    QVERIFY(rect.width() >= advance);
}

// The folder is taken again with autorun.inf in it, and the file is opened.
void TestAutoRun::openExisting(const QByteArray &autorun)
{
    write("autorun.inf", autorun);
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_root->path() + "/");
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

void TestAutoRun::clickIconFile(const QString &name)
{
    if (named<QTabWidget>(form(), "PageControl1")->currentWidget() != named<QWidget>(form(), "TabSheet2"))
        clickTab(named<QTabWidget>(form(), "PageControl1"), 1);
    clickRow(named<ChoiceList>(form(), "lb_Ikony"), rowOf(named<ChoiceList>(form(), "lb_Ikony"), name));
}

void TestAutoRun::offersProgramsThenIconFiles()
{
    MainWindow &f = form();
    open();
    QVERIFY(named<QFrame>(f, "p_Autorun")->isVisible());
    QCOMPARE(named<QFrame>(f, "p_Autorun")->size(), QSize(473, 297));
    QCOMPARE(named<QTabWidget>(f, "PageControl1")->currentWidget(), named<QWidget>(f, "TabSheet1"));
    QCOMPARE(QApplication::focusWidget(), named<ChoiceList>(f, "lb_Programy"));
    const QStringList programs = texts(named<ChoiceList>(f, "lb_Programy"));
    QCOMPARE(QSet<QString>(programs.begin(), programs.end()),
             (QSet<QString>{"setup.exe", ".ukryta.exe", "bin\\tool.exe",
                            "bin\\jedna.exe"})); // not the hidden folder's
    QVERIFY(programs.indexOf("setup.exe") < programs.indexOf("bin\\tool.exe")); // the folder's own files first
    const QStringList icons = texts(named<ChoiceList>(f, "lb_Ikony"));
    QCOMPARE(icons.mid(0, 4), programs);
    QCOMPARE(icons.value(4), QStringLiteral("bin\\icons.dll"));
    QCOMPARE(QSet<QString>(icons.begin() + 5, icons.end()), (QSet<QString>{"art\\disc.ico", "art\\pusty.ico"}));
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QToolButton>(f, "sb_Nowe"), named<QToolButton>(f, "sb_AutoRun"),
             named<QGroupBox>(f, "GroupBox1"), named<QTreeView>(f, "lv_Lista"),
             named<QCheckBox>(f, "CheckBox1")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
}

void TestAutoRun::preselectsWithoutRegardToCase()
{
    openExisting("[autorun]\r\nopen=SETUP.EXE\r\nicon=ART\\DISC.ICO\r\n");
    MainWindow &f = form();
    const bool saveBefore = named<QToolButton>(f, "sb_Zapisz")->isEnabled();
    open();
    QCOMPARE(currentText(named<ChoiceList>(f, "lb_Programy")), QStringLiteral("setup.exe"));
    QCOMPARE(currentText(named<ChoiceList>(f, "lb_Ikony")), QStringLiteral("art\\disc.ico"));
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isEnabled(), saveBefore); // this panel leaves Save alone
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("SETUP.EXE")); // nothing chosen yet
    clickProgram("setup.exe"); // a click on the preselected program chooses it
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    QVERIFY(named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
}

// The panel opens with the focus in the program list, which makes its first row current.
void TestAutoRun::firstProgramIsChosenByAClick()
{
    MainWindow &f = form();
    open();
    clickRow(named<ChoiceList>(f, "lb_Programy"), 0);
    QCOMPARE(f.document().autoStartProgram, named<ChoiceList>(f, "lb_Programy")->text(0));
    QVERIFY(named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
}

void TestAutoRun::programShowsItsIconsWithoutChoosingThem()
{
    MainWindow &f = form();
    open();
    clickProgram("setup.exe");
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->iconCount(), 2);
    QCOMPARE(currentText(named<ChoiceList>(f, "lb_Ikony")), QStringLiteral("setup.exe"));
    QVERIFY(f.document().iconFile.isEmpty());
    QVERIFY(named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_OK"), Qt::LeftButton);
    QVERIFY(!named<QFrame>(f, "p_Autorun")->isVisible());
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    const QByteArray text = readTestFile(m_folder + "autorun.inf");
    QVERIFY(text.contains("Open=setup.exe"));
    QVERIFY(!text.contains("Icon="));
}

// Choosing a program highlights its first icon; clicking that icon makes it the drive icon.
void TestAutoRun::highlightedIconIsChosenByAClick()
{
    MainWindow &f = form();
    open();
    clickProgram("bin\\jedna.exe");
    clickTab(named<QTabWidget>(f, "PageControl1"), 1);
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->selectionModel()->selectedIndexes().size(), 1);
    clickIcon(0);
    QCOMPARE(f.document().iconFile, QStringLiteral("bin\\jedna.exe"));
    QCOMPARE(f.document().iconIndex, 0);
}

void TestAutoRun::iconFileAndIcon()
{
    MainWindow &f = form();
    open();
    clickIconFile("setup.exe");
    QCOMPARE(f.document().iconFile, QStringLiteral("setup.exe"));
    QCOMPARE(f.document().iconIndex, 0);
    clickIcon(1);
    QCOMPARE(f.document().iconIndex, 1);
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->iconCount(), 2); // the list kept its rows

    clickIconFile("bin\\icons.dll");
    QCOMPARE(f.document().iconFile, QStringLiteral("bin\\icons.dll"));
    QCOMPARE(f.document().iconIndex, 0);
    QVERIFY(named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
    doubleClick(named<IconList>(f, "dfsIconListBox1"),
                named<IconList>(f, "dfsIconListBox1")->model()->index(0, 0));
    QVERIFY(!named<QFrame>(f, "p_Autorun")->isVisible()); // a double click picks and closes
    QVERIFY(named<QToolButton>(f, "sb_Utworz")->isEnabled());
}

void TestAutoRun::clickOnTheShownIconFileReloadsIt()
{
    MainWindow &f = form();
    open();
    clickIconFile("setup.exe");
    clickIcon(1);
    QCOMPARE(f.document().iconIndex, 1);
    clickIconFile("setup.exe"); // the current row, clicked again
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->iconCount(), 2);
    QCOMPARE(f.document().iconIndex, 0);
}

void TestAutoRun::iconFileWithoutIcons()
{
    MainWindow &f = form();
    open();
    clickIconFile("art\\disc.ico");
    QCOMPARE(f.document().iconFile, QStringLiteral("art\\disc.ico"));
    clickIconFile("art\\pusty.ico");
    QVERIFY(f.document().iconFile.isEmpty());
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->count(), 0);
    QVERIFY(!named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
    clickIconFile("art\\pusty.ico"); // clicked again while selected: the same
    QVERIFY(f.document().iconFile.isEmpty());
}

void TestAutoRun::focusChoosesNothing()
{
    MainWindow &f = form();
    open();
    clickTab(named<QTabWidget>(f, "PageControl1"), 1);
    named<QTabWidget>(f, "PageControl1")->tabBar()->setFocus();
    for (int i = 0; i < 3 && QApplication::focusWidget() != named<ChoiceList>(f, "lb_Ikony"); ++i)
        press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), named<ChoiceList>(f, "lb_Ikony"));
    clickIcon(0); // the icon list shows no file yet
    const MenuDocument doc = f.document();
    QVERIFY(doc.autoStartProgram.isEmpty());
    QVERIFY(doc.iconFile.isEmpty());
    QVERIFY(!named<QPushButton>(f, "sb_Auto_OK")->isEnabled());
}

void TestAutoRun::arrowKeysChoose()
{
    MainWindow &f = form();
    open();
    clickRow(named<ChoiceList>(f, "lb_Programy"), 0);
    press(Qt::Key_Down);
    QCOMPARE(f.document().autoStartProgram, named<ChoiceList>(f, "lb_Programy")->text(1));
    clickIconFile("setup.exe");
    press(Qt::Key_Down);
    const QString next = named<ChoiceList>(f, "lb_Ikony")
                             ->text(rowOf(named<ChoiceList>(f, "lb_Ikony"), "setup.exe") + 1);
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->fileName(), m_folder + QString(next).replace('\\', '/'));
}

void TestAutoRun::unknownIconNumberHighlightsNoRow()
{
    openExisting("[autorun]\r\nicon=setup.exe,7\r\n");
    MainWindow &f = form();
    open();
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->count(), 2);
    QVERIFY(named<IconList>(f, "dfsIconListBox1")->selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(f.document().iconIndex, 7); // kept until the user picks an icon
}

// Anuluj puts back the choice the panel opened with; OK keeps what was clicked.
void TestAutoRun::closingKeepsChoices()
{
    openExisting("[autorun]\r\nopen=setup.exe\r\nicon=setup.exe,1\r\n");
    MainWindow &f = form();
    open();
    clickProgram("bin\\tool.exe");
    clickIconFile("bin\\jedna.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_NO"), Qt::LeftButton);
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    QCOMPARE(f.document().iconFile, QStringLiteral("setup.exe"));
    QVERIFY(!named<QToolButton>(f, "sb_Zapisz")->isEnabled() && !f.hasUnsavedChanges());
    open();
    QCOMPARE(named<IconList>(f, "dfsIconListBox1")->currentRow(), 1);
    clickProgram("bin\\tool.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_OK"), Qt::LeftButton);
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\tool.exe"));
    QVERIFY(named<QToolButton>(f, "sb_Nowe")->isEnabled() && named<QToolButton>(f, "sb_AutoRun")->isEnabled()
            && named<QTreeView>(f, "lv_Lista")->isEnabled());
    QVERIFY(!named<QLabel>(f, "Label8")->isHidden() && f.driveMenuAttached());
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")->isEnabled());
}

// A press dragged to another row chooses the row it ends on.
void TestAutoRun::aDragChooses()
{
    MainWindow &f = form();
    open();
    ChoiceList *list = named<ChoiceList>(f, "lb_Programy");
    const QPoint from = list->visualRect(list->model()->index(0, 0)).center();
    const QPoint to = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(list->viewport(), to);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(f.document().autoStartProgram, list->text(1));
}

void TestAutoRun::keys()
{
    MainWindow &f = form();
    open();
    press(Qt::Key_Return); // OK is not enabled yet: nothing
    QVERIFY(named<QFrame>(f, "p_Autorun")->isVisible());
    press(Qt::Key_Escape);
    QVERIFY(!named<QFrame>(f, "p_Autorun")->isVisible());
    open();
    clickRow(named<ChoiceList>(f, "lb_Programy"), 0);
    press(Qt::Key_Return);
    QVERIFY(!named<QFrame>(f, "p_Autorun")->isVisible());
}

// Under an open panel, neither a change on disk nor a choice in the panel enables a control
// of the window; what the rules decided is applied when the panel closes.
void TestAutoRun::nothingEnablesTheLockedWindow()
{
    openExisting("[autorun]\r\nopen=setup.exe\r\n");
    MainWindow &f = form();
    named<FolderTree>(f, "dfsSystemTreeView1")->setReadDelay(10);
    QVERIFY(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), m_folder + "setup.exe"));
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled());
    QTest::qWait(50); // the tree now watches the folder

    open();
    clickProgram("bin\\tool.exe"); // an edit of a menu on disc
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled());
    write("nowy.txt", "x"); // the tree lists the folder again
    QTest::qWait(300);
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QTest::mouseClick(named<QPushButton>(f, "sb_Odswiez"), Qt::LeftButton);
    QVERIFY(!panelOpen(f, "p_Dodaj"));
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QPushButton>(f, "sb_Dodaj"), named<QPushButton>(f, "sb_Odswiez"),
             named<QPushButton>(f, "sb_Podglad"), named<QPushButton>(f, "sb_UsunPlik"),
             named<QPushButton>(f, "sb_UruchomPlik"), named<QToolButton>(f, "sb_Nowe"),
             named<QPushButton>(f, "sb_Usun"), named<QPushButton>(f, "sb_Edytuj")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\tool.exe")); // Refresh read nothing

    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_OK"), Qt::LeftButton);
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QPushButton>(f, "sb_Dodaj"), named<QPushButton>(f, "sb_Odswiez"),
             named<QToolButton>(f, "sb_Zapisz"), named<QPushButton>(f, "sb_Podglad")})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));

    // The item panel locks Save too.
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    write("drugi.txt", "x");
    QTest::qWait(300);
    for (QWidget *w : std::initializer_list<QWidget *>{named<QPushButton>(f, "sb_Dodaj"),
                                                       named<QToolButton>(f, "sb_Zapisz"),
                                                       named<QToolButton>(f, "sb_AutoRun")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    press(Qt::Key_Escape);
    QVERIFY(!named<QFrame>(f, "p_Dodaj")->isVisible());
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled());
}

QTEST_MAIN(TestAutoRun)
#include "tst_autorun.moc"
