#include "Accessibility.h"
#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "dialogs/AboutWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

using namespace UserInput;

// The main window from the keyboard alone: Tab reaches every control in reading order, and
// the keys that open a context menu open the focused control's.
class TestReach : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tabReachesEveryControl();
    void contextMenuKeys_data();
    void contextMenuKeys();
    void aScreenReaderNamesEveryControl();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestReach::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->setHelpFile(true);
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    const QString folder = m_root->path() + "/Dane/";
    QVERIFY(writeTestFile(folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(folder + "autorun.inf", "[autorun]\r\nopen=setup.exe\r\nshell\\a=Pierwsza\r\n"
                                                  "shell\\a\\command=setup.exe\r\n"));
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(form(), "de_Folder")->setFolder(folder);
    // Every command on offer: an edit to save, a program in the tree, an entry in the list, the
    // file on disc.
    typeOver(named<QWidget>(form(), "e_Etykieta"), "Nowa");
    QVERIFY(clickPath(named<FolderTree>(form(), "dfsSystemTreeView1"), folder + "setup.exe"));
    auto *list = named<QTreeView>(form(), "lv_Lista");
    clickListRow(list, 0);
}

void TestReach::tabReachesEveryControl()
{
    const QStringList order = {"sb_Nowe", "sb_AutoRun", "sb_Zapisz", "sb_Porady", "sb_Pomoc", "sb_About",
                               "sb_Zamknij", "de_Folder", "browseButton", "SpeedButton2", "e_Etykieta",
                               "dfsSystemTreeView1", "CheckBox1", "sb_Dodaj", "lv_Lista", "sb_Odswiez",
                               "sb_Usun", "sb_Edytuj", "cb_Sortuj", "Panel3", "sb_UsunPlik",
                               "sb_UruchomPlik", "sb_Podglad"};
    named<QWidget>(form(), "sb_Nowe")->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (int i = 0; i < order.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        reached << focus->objectName();
        QVERIFY2(!focus->accessibleName().trimmed().isEmpty() || !focus->property("text").toString().isEmpty(),
                 qPrintable(focus->objectName()));
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(reached, order);
    QCOMPARE(QApplication::focusWidget()->objectName(), order.first()); // and round again
    // Shift+Tab goes back the same way.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), order.last());
}

void TestReach::contextMenuKeys_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("opens");
    QTest::newRow("tree, Shift+F10") << "dfsSystemTreeView1" << "Shift+F10" << "pm_Lista";
    QTest::newRow("list, Shift+F10") << "lv_Lista" << "Shift+F10" << "pm_Pozycje";
    QTest::newRow("list, Menu key") << "lv_Lista" << "Menu" << "pm_Pozycje";
    QTest::newRow("drive, Space") << "Panel3" << "Space" << "pm_Menu";
    QTest::newRow("drive, Enter") << "Panel3" << "Return" << "pm_Menu";
    QTest::newRow("drive, Shift+F10") << "Panel3" << "Shift+F10" << "pm_Menu";
    QTest::newRow("drive, Menu key") << "Panel3" << "Menu" << "pm_Menu";
    QTest::newRow("tree, F10 alone") << "dfsSystemTreeView1" << "F10" << "about";
    QTest::newRow("label edit, F4") << "e_Etykieta" << "F4" << "pm_Wybierane";
}

void TestReach::contextMenuKeys()
{
    QFETCH(QString, control);
    QFETCH(QString, keys);
    QFETCH(QString, opens);
    QWidget *target = named<QWidget>(form(), qPrintable(control));
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), target);
    if (keys == "Menu") {
        // The desktop's Menu key reaches the program as a context menu event for the focus.
        QWidget *receiver = qobject_cast<QAbstractScrollArea *>(target)
            ? qobject_cast<QAbstractScrollArea *>(target)->viewport() : target;
        QContextMenuEvent event(QContextMenuEvent::Keyboard, receiver->rect().center(),
                                receiver->mapToGlobal(receiver->rect().center()));
        QApplication::sendEvent(receiver, &event);
    } else {
        QTest::keySequence(target, QKeySequence(keys));
    }
    if (opens == "about") {
        QVERIFY(m_fixture->windows().about()->isVisible());
        for (const char *menu : {"pm_Lista", "pm_Pozycje", "pm_Menu"})
            QVERIFY(!named<QMenu>(form(), menu)->isVisible());
        return;
    }
    auto *menu = named<QMenu>(form(), qPrintable(opens));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!menu->isEmpty());
    QVERIFY(!m_fixture->windows().about()->isVisible());
    menu->close();
}

// The window as a screen reader walks it: every control the user acts on has a name, the
// panels' included, and a name is never padded with spaces.
void TestReach::aScreenReaderNamesEveryControl()
{
    QCOMPARE(Accessibility::unnamedControls(&form()), QStringList());
    for (const char *name : {"e_Etykieta", "sb_UsunPlik", "sb_Podglad", "SpeedButton2", "Panel3"}) {
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(named<QWidget>(form(), name));
        const QString text = control->text(QAccessible::Name);
        QVERIFY2(!text.isEmpty() && text == text.trimmed(), name);
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(named<QWidget>(form(), "e_Etykieta"))->text(QAccessible::Name),
             QStringLiteral("Etykieta (nazwa płytki)"));
    QTest::mouseClick(named<QToolButton>(form(), "sb_AutoRun"), Qt::LeftButton);
    QTRY_VERIFY(panelOpen(form(), "p_Autorun"));
    QCOMPARE(Accessibility::unnamedControls(&form()), QStringList());
}

QTEST_MAIN(TestReach)
#include "tst_reach.moc"
