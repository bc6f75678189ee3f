#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"
#include "widgets/PathLabel.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QTreeView>
#include <QtTest>

using namespace UserInput;

// What the user does between two steps, and what both the window and the files on disc show
// afterwards. Each row is a road of clicks and keys from the menu of "Dane" as read from its
// file; the folders beside it: Inna (another disc's menu), Pusta (no menu yet), Args (a program
// with arguments), Html (texts that look like markup).
class TestBetween : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void road_data();
    void road();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    QTreeView *list() { return named<QTreeView>(form(), "lv_Lista"); }
    QString path(const QString &folder) const { return m_root->path() + '/' + folder; }
    QString menu(const QString &folder) const
    {
        return QString::fromLatin1(readTestFile(path(folder) + "/autorun.inf"));
    }
    void step(const QString &verb, const QString &arg);
    void expect(const QString &verb, const QString &arg);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QList<bool> m_saveOffWhileShown; // for each message: Save and Refresh were off while it was up
};

void TestBetween::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    const QList<QPair<QString, QByteArray>> files = {
        {"Dane/autorun.inf", "[autorun]\r\nopen=setup.exe\r\nshell\\a=Pierwsza\r\nshell\\a\\command=brak1.exe\r\n"
                             "shell\\b=Druga\r\nshell\\b\\command=brak2.exe\r\n"},
        {"Dane/setup.exe", "MZ"}, {"Dane/inny.exe", "MZ"}, {u"Dane/narzędzia.exe"_qs, "MZ"},
        {"Inna/autorun.inf", "[autorun]\r\nopen=inna.exe\r\n"}, {"Inna/inna.exe", "MZ"}, {"Pusta/setup.exe", "MZ"},
        {"Args/autorun.inf", "[autorun]\r\nopen=setup.exe /auto\r\n"}, {"Args/setup.exe", "MZ"},
        {"Html/autorun.inf", "[autorun]\r\nlabel=<b>Gra</b>\r\nshell\\a=<h1>Duzy</h1>\r\nshell\\a\\command=a.exe\r\n"},
        {"Obca/autorun.inf", "[autorun]\r\nopen=obca.exe\r\n"}, {"Link/setup.exe", "MZ"},
        {u"Zle/zła\nnazwa.exe"_qs, "MZ"}, {"Zle/setup.exe", "MZ"}};
    for (const auto &[name, bytes] : files)
        QVERIFY(writeTestFile(path(name), bytes));
    QVERIFY(QFile::link("../Obca/autorun.inf", path("Link/autorun.inf"))); // out of its folder
    m_saveOffWhileShown.clear();
    m_fixture->messages.whileShown = [this](const FakeMessages::Shown &) {
        m_saveOffWhileShown << (!named<QWidget>(form(), "sb_Zapisz")->isEnabled()
                                && !named<QWidget>(form(), "sb_Odswiez")->isEnabled());
    };
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    step("answer", "Y");
    step("take", "Dane");
    QCOMPARE(list()->model()->rowCount(), 2);
    m_fixture->messages.shown.clear();
    m_saveOffWhileShown.clear();
}

void TestBetween::step(const QString &verb, const QString &arg)
{
    FolderTree *tree = named<FolderTree>(form(), "dfsSystemTreeView1");
    if (verb == "answer") {
        for (const QChar c : arg)
            m_fixture->messages.answers << (c == 'Y' ? Messages::Answer::Yes : c == 'N' ? Messages::Answer::No
                                                                                         : Messages::Answer::Cancel);
    } else if (verb == "take" || verb == "folder") { // typed, and confirmed with Enter or not
        typeOver(named<FolderEdit>(form(), "de_Folder"), path(arg));
        if (verb == "take")
            press(Qt::Key_Return);
    } else if (verb == "label") {
        typeOver(named<QLineEdit>(form(), "e_Etykieta"), arg);
    } else if (verb == "caption") {
        typeOver(named<QComboBox>(form(), "cb_NazwaPozycji")->lineEdit(), arg);
    } else if (verb == "click") {
        QTest::mouseClick(named<QWidget>(form(), arg.toLatin1().constData()), Qt::LeftButton);
    } else if (verb == "key") { // an access key clicks its button once the button is drawn pressed
        const QKeyCombination keys = QKeySequence(arg)[0];
        press(keys.key(), keys.keyboardModifiers());
        if (keys.keyboardModifiers() & Qt::AltModifier)
            QTest::qWait(200);
    } else if (verb == "type") {
        type(QApplication::focusWidget(), arg);
    } else if (verb == "row") { // back in the main window, if another one was active
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        clickListRow(list(), arg.toInt());
    } else if (verb == "tree") {
        QVERIFY(clickPath(tree, form().dataFolder() + arg));
    } else if (verb == "treemenu") { // a right click on the entry, then "Dodaj do menu"
        const QList<QTreeWidgetItem *> found = tree->findItems(arg, Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        rightClick(tree->viewport(), tree->visualItemRect(found[0]).center());
        auto *menu = named<QMenu>(form(), "pm_Lista");
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        clickEntry(menu, named<QAction>(menu, "Dodajdomenu1"));
    } else if (verb == "program") {
        auto *programs = named<ChoiceList>(form(), "lb_Programy");
        clickRow(programs, rowOf(programs, arg));
    } else if (verb == "check") {
        clickEntry(named<QMenu>(form(), "pm_Nowe"),
                   openMenuEntry(named<QAbstractButton>(form(), "sb_Nowe"), named<QMenu>(form(), "pm_Nowe"),
                                 "Sprawdzplyte1"));
    } else if (verb == "finding") {
        auto *findings = named<QListWidget>(form(), "lb_Wyniki");
        doubleClick(findings, findings->model()->index(arg.toInt(), 0));
    } else if (verb == "paste") { // into the label, over what it holds
        QGuiApplication::clipboard()->setText(arg);
        QTest::mouseClick(named<QLineEdit>(form(), "e_Etykieta"), Qt::LeftButton);
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_V, Qt::ControlModifier);
    } else if (verb == "large") { // a menu of 90,000 entries in the folder: read in the background
        QByteArray menu = "[autorun]\r\n";
        for (int i = 0; i < 90000; ++i)
            menu += "shell\\" + QByteArray::number(i) + "=Pozycja " + QByteArray::number(i) + "\r\nshell\\"
                + QByteArray::number(i) + "\\command=setup.exe /p" + QByteArray::number(i) + "\r\n";
        QVERIFY(menu.size() > 4 << 20 && writeTestFile(path(arg) + "/autorun.inf", menu));
    } else if (verb == "giveup") { // Anuluj as soon as the reading says it is under way
        QTimer::singleShot(0, this, [this] {
            QTest::mouseClick(named<QProgressDialog>(form(), "dlg_Wczytywanie")->findChild<QPushButton *>(),
                              Qt::LeftButton);
        });
    } else if (verb == "drop") { // a folder or a file dragged from a file manager onto the window
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(arg))});
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&form(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&form(), &drop);
    } else if (verb == "desktop") { // as the command line of a new start hands it over
        m_fixture->windows().showMain(path(arg));
        QTest::qWait(1);
    } else if (verb == "gone") { // outside the window: the folder removed
        QVERIFY(QDir(path(arg)).removeRecursively());
    } else {
        QFAIL(qPrintable("no step " + verb));
    }
}

void TestBetween::expect(const QString &verb, const QString &arg)
{
    const QString folder = arg.section(' ', 0, 0), rest = arg.section(' ', 1);
    const QStringList texts = m_fixture->messages.texts();
    if (verb == "field") {
        QCOMPARE(named<FolderEdit>(form(), "de_Folder")->text(), path(arg) + '/');
        QCOMPARE(form().dataFolder(), path(arg) + '/');
    } else if (verb == "has" || verb == "lacks") {
        QVERIFY2(menu(folder).contains(rest) == (verb == "has"), qPrintable(menu(folder)));
    } else if (verb == "nofile") {
        QVERIFY(!QFile::exists(path(arg) + "/autorun.inf"));
    } else if (verb == "asked" || verb == "quiet") {
        QCOMPARE(texts.filter(arg).size(), verb == "asked" ? 1 : 0);
    } else if (verb == "on" || verb == "off") {
        QVERIFY2(named<QWidget>(form(), arg.toLatin1().constData())->isEnabled() == (verb == "on"), qPrintable(arg));
    } else if (verb == "panel") {
        QVERIFY(panelOpen(form(), arg.toLatin1().constData()));
    } else if (verb == "nopanel") {
        QVERIFY(!panelOpen(form(), "p_Autorun") && !panelOpen(form(), "p_Dodaj"));
    } else if (verb == "modified") {
        QCOMPARE(form().isModified(), arg == "1");
    } else if (verb == "unsaved") {
        QCOMPARE(form().hasUnsavedChanges(), arg == "1");
    } else if (verb == "window") {
        QCOMPARE(form().isVisible(), arg == "open");
    } else if (verb == "rows") {
        QCOMPARE(list()->model()->rowCount(), arg.toInt());
    } else if (verb == "entry") { // the caption of a row; -1: the last
        const int row = folder.toInt() < 0 ? list()->model()->rowCount() - 1 : folder.toInt();
        QCOMPARE(rowText(list(), row), rest);
    } else if (verb == "text") {
        QCOMPARE(named<QLineEdit>(form(), folder.toLatin1().constData())->text(), rest);
    } else if (verb == "program") {
        QCOMPARE(form().document().autoStartProgram, arg);
    } else if (verb == "findings") {
        // The problems shown; the image's size, information, is always there beside them.
        auto *findings = form().findChild<QListWidget *>("lb_Wyniki");
        const int shown = findings && findings->isVisible() ? findings->count() : 0;
        QCOMPARE(shown == 0 ? 0 : shown - 1, arg.toInt());
        QVERIFY(shown == 0 || findings->item(shown - 1)->toolTip() == "disc-size");
    } else if (verb == "current") {
        QVERIFY(list()->currentIndex().isValid());
        QCOMPARE(rowText(list(), list()->currentIndex().row()), arg);
    } else if (verb == "panelfile") {
        QVERIFY(named<PathLabel>(form(), "XPathLabel1")->text().endsWith(arg));
    } else if (verb == "plain") {
        QVERIFY2(named<QLabel>(form(), arg.toLatin1().constData())->textFormat() == Qt::PlainText, qPrintable(arg));
    } else if (verb == "silver") { // branch arrows are drawn in these, not in the group's red
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            QCOMPARE(named<QWidget>(form(), "dfsSystemTreeView1")->palette().color(QPalette::Disabled, role),
                     QColor(192, 192, 192));
    } else if (verb == "offwhile") { // Save and Refresh were off while that question was up
        const auto shown = std::find_if(texts.begin(), texts.end(), [&](const QString &t) { return t.contains(arg); });
        QVERIFY(shown != texts.end() && m_saveOffWhileShown.value(int(shown - texts.begin())));
    } else {
        QFAIL(qPrintable("no expectation " + verb));
    }
}

void TestBetween::road_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    const QString askSave = "W tworzonym menu wprowadzono zmiany", created = "Menu zostało utworzone",
                  missing = "Wpisany folder nie istnieje", failed = "Utworzenie menu nie powiodło się";

    // A folder typed and not confirmed is taken first, as Enter takes it; a write meant for the
    // menu that stood there does not follow into another folder.
    QTest::newRow("Zapisz, another folder typed")
        << "label Zmieniona; folder Inna; answer NN; click sb_Zapisz"
        << "field Inna; lacks Dane Zmieniona; lacks Inna Zmieniona; quiet " + created;
    QTest::newRow("Zapisz, another folder, cancelled") << "label Zmieniona; folder Inna; click sb_Zapisz"
                                                       << "field Dane; lacks Dane Zmieniona; modified 1";
    QTest::newRow("Ctrl+S, no such folder") << "label Zmieniona; folder Brak; key Ctrl+S"
                                            << "field Dane; lacks Dane Zmieniona; asked " + missing;
    QTest::newRow("Ctrl+S, the same folder")
        << "label Zmieniona; folder Dane; key Ctrl+S"
        << "field Dane; has Dane Zmieniona";
    QTest::newRow("Auto..., another folder")
        << "folder Inna; answer N; click sb_AutoRun"
        << "field Inna; panel p_Autorun";
    QTest::newRow("Alt+A, no such folder") << "folder Brak; key Alt+A" << "field Dane; nopanel; asked " + missing;
    // An open rename is committed first, and so saved or asked about.
    QTest::newRow("rename, Ctrl+S") << "row 0; key F2; key End; type  nowa; key Ctrl+S"
                                    << "entry 0 Pierwsza nowa; has Dane Pierwsza nowa; modified 0";
    QTest::newRow("rename, Ctrl+Q") << "row 0; key F2; key End; type  nowa; key Ctrl+Q"
                                    << "entry 0 Pierwsza nowa; asked " + askSave + "; window open";
    // A caption is stored as typed, suggestions or not.
    for (const char *caption : {"Run", "uruchom "})
        QTest::addRow("caption %s", caption)
            << QString("tree setup.exe; click sb_Dodaj; caption %1; key Return").arg(caption)
            << QString("nopanel; entry -1 %1").arg(caption);
    // A key pressed with Alt never types.
    QTest::newRow("Alt+Z after a save")
        << "label Zmieniona; key Ctrl+S; key Alt+Z"
        << "text e_Etykieta Zmieniona; modified 0";
    QTest::newRow("Alt+D in the folder edit")
        << "folder Dane; key Alt+D; key Alt+Q; key Return"
        << "field Dane; quiet " + missing;

    // Combined commands keep the window and the file in agreement.
    QTest::newRow("Zapisz beside the auto-start panel, then Anuluj")
        << "click sb_AutoRun; program inny.exe; click sb_Zapisz; click sb_Auto_NO; key Ctrl+Q"
        << "has Dane Open=inny.exe; program inny.exe; modified 0; quiet " + askSave + "; window closed";
    QTest::newRow("Zapisz, folder removed") << "label Zmieniona; gone Dane; click sb_Zapisz; key Ctrl+Q"
                                           << "asked " + failed + "; modified 1; asked " + askSave + "; window open";
    QTest::newRow("Utwórz, folder removed") << "take Pusta; label Zmieniona; gone Pusta; click sb_Utworz; key Ctrl+Q"
                                            << "asked " + failed + "; unsaved 1; asked " + askSave + "; window open";
    QTest::newRow("Zapisz over a file declined")
        << "answer N; take Inna; label Zmieniona; click sb_Zapisz"
        << "has Inna Zmieniona; on sb_Podglad; on sb_UruchomPlik; on sb_UsunPlik";
    QTest::newRow("Usuń plik of a modified menu") << "label Zmieniona; answer Y; click sb_UsunPlik"
                                                  << "nofile Dane; off sb_Odswiez; modified 0";
    QTest::newRow("right click in the tree")
        << "tree setup.exe; treemenu narzędzia.exe"
        << "panel p_Dodaj; panelfile narzędzia.exe";
    QTest::newRow("findings after a delete") << "check; row 0; key Delete; finding 0" << "findings 1; current Druga";
    QTest::newRow("findings of a sound menu") << "check; row 0; key Delete; row 0; key Delete" << "findings 0";
    QTest::newRow("Open= with arguments, program there")
        << "answer Y; take Args; take Pusta"
        << "program setup.exe /auto";
    // Characters the code page lacks are named before writing.
    QTest::newRow("characters the disc cannot hold, back") << u"take Pusta; label Test 日本 ☃; answer NN; key Ctrl+S"_qs
                                                           << u"asked „日”, „本”, „☃”; nofile Pusta; unsaved 1"_qs;
    QTest::newRow("characters the disc cannot hold, as ?") << u"take Pusta; label Test 日本 ☃; answer NY; key Ctrl+S"_qs
                                                           << "has Pusta Name=Test ?? ?\r\n";
    // Smaller things.
    QTest::newRow("markup from a file")
        << "answer Y; take Html; row 0"
        << "plain l_NazwaPoz; plain Label3; plain Label5";
    QTest::newRow("the open question")
        << "label Zmieniona; answer NN; take Inna"
        << "offwhile We wskazanym folderze istnieje";
    QTest::newRow("greyed tree") << "take Brak" << "silver";
    // No line the user did not write, nothing written through a link out of the folder.
    QTest::newRow("a name with a line break") << u"take Zle; tree zła\nnazwa.exe; click sb_Dodaj; click sb_AutoRun"_qs
                                              << "asked nie można wybrać; asked Pominięto pliki; panel p_Autorun";
    QTest::newRow("a pasted label") << "paste Gra\r\nX\r\n" << "text e_Etykieta GraX";
    // Opened as desktop users open things.
    QTest::newRow("a folder dropped") << "answer N; drop Inna" << "field Inna; rows 0";
    QTest::newRow("an autorun.inf dropped") << "drop Inna/autorun.inf" << "field Inna; program inna.exe";
    QTest::newRow("a folder on the command line") << "answer Y; desktop Inna" << "field Inna; program inna.exe";
    // A large file is read without freezing the window; giving up changes nothing.
    QTest::newRow("a large file") << "large Pusta; answer Y; take Pusta" << "field Pusta; rows 90000";
    QTest::newRow("a large file, given up") << "large Pusta; giveup; answer Y; take Pusta"
                                            << "field Pusta; rows 0; quiet Cannot open";
    QTest::newRow("a link out of the folder") << "answer Y; take Link; label Zmieniona; key Ctrl+S"
                                              << "lacks Obca Zmieniona; asked dowiązaniem; modified 1";
    QTest::newRow("a link out of the folder, previewed") << "answer Y; take Link; click sb_Podglad"
                                                         << "asked Podgląd zapisałby; quiet Czy chcesz teraz zobaczyć podgląd";
    QTest::newRow("a link out of the folder, replaced") << "answer Y; take Link; label Zmieniona; answer Y; key Ctrl+S"
                                                        << "lacks Obca Zmieniona; has Link Zmieniona";
}

void TestBetween::road()
{
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    for (const QString &s : steps.split("; "))
        step(s.section(' ', 0, 0), s.section(' ', 1));
    QApplication::processEvents();
    for (const QString &e : expected.split("; "))
        expect(e.section(' ', 0, 0), e.section(' ', 1));
}

QTEST_MAIN(TestBetween)
#include "tst_between.moc"
