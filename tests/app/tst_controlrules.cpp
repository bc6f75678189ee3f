// The rules that enable and show the main window's controls, one row per situation a user
// meets; the window's own tests drive the same rules through clicks.

#include "app/ControlRules.h"

#include <QTest>

Q_DECLARE_METATYPE(WindowState)

class TestControlRules : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
};

namespace {
// The controls' states as letters, in a fixed order, so that a row of the table reads at a
// glance: C create, S save, A auto-start, T tree, D add, R remove and edit, O refresh,
// F file commands, U the rest of the window unlocked; lower case: shown but disabled, "-":
// hidden (create and save only).
QString letters(const ControlStates &c)
{
    const auto one = [](char letter, bool enabled) { return QChar(enabled ? letter : letter + 32); };
    QString s;
    s += c.createShown ? one('C', c.create) : QChar('-');
    s += c.saveShown ? one('S', c.save) : QChar('-');
    s += one('A', c.autoStart);
    s += one('T', c.folderTree && c.folderArea);
    s += one('D', c.add);
    s += one('R', c.remove && c.edit);
    s += one('O', c.refresh);
    s += one('F', c.fileCommands);
    s += one('U', c.unlocked && c.driveMenu);
    return s;
}

WindowState taken(bool content = false)
{
    WindowState s;
    s.folderTaken = s.folderThere = true;
    s.hasContent = content;
    return s;
}

WindowState withFile(bool modified)
{
    WindowState s = taken(true);
    s.saveInsteadOfCreate = s.menuFromFile = s.fileOnDisc = true;
    s.modified = modified;
    return s;
}

WindowState with(WindowState s, void (*change)(WindowState &))
{
    change(s);
    return s;
}
} // namespace

void TestControlRules::rules_data()
{
    QTest::addColumn<WindowState>("state");
    QTest::addColumn<QString>("controls");
    QTest::newRow("no folder") << WindowState() << "c-atdrofU";
    QTest::newRow("folder, empty menu") << taken() << "c-ATdrofU";
    QTest::newRow("folder, menu to create") << taken(true) << "C-ATdrofU";
    QTest::newRow("folder gone meanwhile")
        << with(taken(true), [](WindowState &s) { s.folderThere = false; }) << "c-ATdrofU";
    QTest::newRow("program selected") << with(taken(), [](WindowState &s) { s.programSelected = true; })
                                      << "c-ATDrofU";
    QTest::newRow("item selected") << with(taken(true), [](WindowState &s) { s.itemSelected = true; })
                                   << "C-ATdRofU";
    QTest::newRow("file read") << withFile(false) << "-sATdroFU";
    QTest::newRow("file read, edited") << withFile(true) << "-SATdrOFU";
    QTest::newRow("file deleted outside")
        << with(withFile(true), [](WindowState &s) { s.fileOnDisc = false; }) << "-SATdrofU";
    QTest::newRow("other folder's file declined")
        << with(withFile(false), [](WindowState &s) { s.menuFromFile = false; }) << "-sATdrofU";
    QTest::newRow("item panel") << with(withFile(true), [](WindowState &s) {
        s.panel = OpenPanel::Item;
        s.programSelected = s.itemSelected = true;
    }) << "-satdrofu";
    QTest::newRow("auto-start panel: Save stays") << with(withFile(true), [](WindowState &s) {
        s.panel = OpenPanel::AutoStart;
        s.programSelected = s.itemSelected = true;
    }) << "-Satdrofu";
}

void TestControlRules::rules()
{
    QFETCH(WindowState, state);
    QFETCH(QString, controls);
    QCOMPARE(letters(controlStates(state)), controls);
}

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_controlrules.moc"
