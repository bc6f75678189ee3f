#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "core/PanelCentring.h"
#include "dialogs/AboutWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QScrollBar>
#include <QTreeView>
#include <QMimeData>
#include <QtTest>

// The menu entries in the window: the list and its operations, and the add/edit panel.
class TestItems : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addOpensThePanelLockedAndCentred();
    void acceptAppendsTheEntry_data();
    void acceptAppendsTheEntry();
    void emptyTextCannotBeAccepted();
    void editKeepsThePlace();
    void movingEntries();
    void sortedInsertion();
    void duplicatesAreAccepted();
    void fileButtonsAfterThePanel_data();
    void fileButtonsAfterThePanel();
    void cancelChangesNothing();
    void deleteAndRenameInPlace();
    void missingFilesAreFlagged();
    void labelsStayInView();
    void sortingANewMenuMarksIt();
    void keysOfTheList();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    void selectInTree(const QString &relative);
    void addEntry(const QString &relative, const QString &label);
    QList<MenuItem> items() { return form().document().items; }
    void selectRow(int row);
    QString selectionText(int row) { return UserInput::rowText(named<QTreeView>(form(), "lv_Lista"), row, 0); }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestItems::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + u"/Płyta/"_qs;
    QVERIFY(QDir().mkpath(m_folder + "bin"));
    for (const char *name : {"setup.exe", "bin/run.exe", "czytaj.txt"}) {
        QFile file(m_folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    form().show();
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

void TestItems::selectInTree(const QString &relative)
{
    QVERIFY(UserInput::clickPath(named<FolderTree>(form(), "dfsSystemTreeView1"), m_folder + relative));
}

// A click on the row's file, which does not edit: a selected row is not renamed by it.
void TestItems::selectRow(int row)
{
    QTreeView *list = named<QTreeView>(form(), "lv_Lista");
    const QModelIndex file = list->model()->index(row, 1);
    list->scrollTo(file);
    const int y = list->visualRect(list->model()->index(row, 0)).center().y();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(list->visualRect(file).left() + 5, y));
}

void TestItems::addEntry(const QString &relative, const QString &label)
{
    selectInTree(relative);
    QTest::mouseClick(named<QPushButton>(form(), "sb_Dodaj"), Qt::LeftButton);
    QVERIFY(named<QFrame>(form(), "p_Dodaj")->isVisible());
    UserInput::typeOver(named<QComboBox>(form(), "cb_NazwaPozycji")->lineEdit(), label);
    QTest::mouseClick(named<QPushButton>(form(), "sb_Add_OK"), Qt::LeftButton);
    QVERIFY(!named<QFrame>(form(), "p_Dodaj")->isVisible());
}

void TestItems::addOpensThePanelLockedAndCentred()
{
    MainWindow &f = form();
    selectInTree("bin/run.exe");
    QCOMPARE(named<PathLabel>(f, "Label4")->text(), u"[Płyta]\\bin\\run.exe"_qs);
    QCOMPARE(named<QLabel>(f, "Label5")->text(),
             QStringLiteral("run")); // no description: the display name, as Windows shows it
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled());
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);

    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    QCOMPARE(named<QLabel>(f, "Label9")->text(), QStringLiteral("Dodawanie nowej pozycji do menu:"));
    QCOMPARE(named<PathLabel>(f, "XPathLabel1")->text(),
             u"[Płyta]bin\\run.exe"_qs); // no separator after the bracket
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->count(), 10);
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->currentText(), QStringLiteral("Zainstaluj run"));
    QVERIFY(named<QPushButton>(f, "sb_Add_OK")->isEnabled());
    const QSize outer = f.frameGeometry().size();
    QCOMPARE(named<QFrame>(f, "p_Dodaj")->geometry(),
             QRect(centredOffset(outer.width(), 473), centredOffset(outer.height(), 129), 473, 129));
    QCOMPARE(named<PathLabel>(f, "XPathLabel1")->geometry(), QRect(8, 24, 457, 17));
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QToolButton>(f, "sb_Nowe"), named<QToolButton>(f, "sb_AutoRun"),
             named<QGroupBox>(f, "GroupBox1"), named<FolderTree>(f, "dfsSystemTreeView1"),
             named<QTreeView>(f, "lv_Lista"), named<QPushButton>(f, "sb_Dodaj"),
             named<QCheckBox>(f, "CheckBox1"), named<QToolButton>(f, "sb_Utworz")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(named<QLabel>(f, "Label8")->isHidden());
    QVERIFY(!f.driveMenuAttached());
}

void TestItems::acceptAppendsTheEntry_data()
{
    QTest::addColumn<QString>("discLabel");
    QTest::newRow("with a label") << u"Płyta"_qs;
    QTest::newRow("without a label") << QString();
}

void TestItems::acceptAppendsTheEntry()
{
    QFETCH(QString, discLabel);
    MainWindow &f = form();
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), discLabel);
    selectInTree("bin/run.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QCOMPARE(named<PathLabel>(f, "XPathLabel1")->text(),
             discLabel.isEmpty() ? u"bin\\run.exe"_qs : u"[Płyta]bin\\run.exe"_qs);
    // Typed trailing blanks are kept.
    UserInput::typeOver(named<QComboBox>(f, "cb_NazwaPozycji")->lineEdit(), "Uruchom program  ");
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Return);

    QVERIFY(!named<QFrame>(f, "p_Dodaj")->isVisible());
    QCOMPARE(items(), (QList<MenuItem>{{"Uruchom program  ", "bin\\run.exe"}}));
    QVERIFY(named<QToolButton>(f, "sb_Nowe")->isEnabled() && named<QTreeView>(f, "lv_Lista")->isEnabled()
            && named<FolderTree>(f, "dfsSystemTreeView1")->isEnabled());
    QVERIFY(named<QPushButton>(f, "sb_Dodaj")->isEnabled()); // the selection is still a program
    QVERIFY(named<QToolButton>(f, "sb_Utworz")->isEnabled());
    QVERIFY(!named<QPushButton>(f, "sb_Edytuj")->isEnabled() && !named<QPushButton>(f, "sb_Usun")->isEnabled());
    QVERIFY(!named<QLabel>(f, "Label8")->isHidden() && f.driveMenuAttached());
    QVERIFY(named<QTreeView>(f, "lv_Lista")->columnWidth(0)
            >= f.fontMetrics().horizontalAdvance("Uruchom program  ") + 25);
}

void TestItems::emptyTextCannotBeAccepted()
{
    MainWindow &f = form();
    selectInTree("setup.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    UserInput::typeOver(named<QComboBox>(f, "cb_NazwaPozycji")->lineEdit(), "");
    QVERIFY(!named<QPushButton>(f, "sb_Add_OK")->isEnabled());
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Return);
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    UserInput::typeOver(named<QComboBox>(f, "cb_NazwaPozycji")->lineEdit(), " ");
    QVERIFY(named<QPushButton>(f, "sb_Add_OK")->isEnabled()); // a blank counts
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Escape);
    QVERIFY(!named<QFrame>(f, "p_Dodaj")->isVisible());
    QVERIFY(items().isEmpty());
}

void TestItems::editKeepsThePlace()
{
    addEntry("setup.exe", "Pierwsza");
    addEntry("bin/run.exe", "Druga");
    addEntry("setup.exe", "Trzecia");
    MainWindow &f = form();
    selectRow(0);
    QVERIFY(named<QPushButton>(f, "sb_Edytuj")->isEnabled());
    QTest::mouseClick(named<QPushButton>(f, "sb_Edytuj"), Qt::LeftButton);
    QCOMPARE(named<QLabel>(f, "Label9")->text(), QStringLiteral("Edycja pozycji w menu:"));
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->currentText(), QStringLiteral("Pierwsza"));
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->count(), 10); // the file exists: its suggestions
    QCOMPARE(named<PathLabel>(f, "XPathLabel1")->text(), u"[Płyta]setup.exe"_qs);
    UserInput::typeOver(named<QComboBox>(f, "cb_NazwaPozycji")->lineEdit(), "Pierwsza zmieniona");
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_OK"), Qt::LeftButton);
    QCOMPARE(items(), (QList<MenuItem>{{"Pierwsza zmieniona", "setup.exe"}, {"Druga", "bin\\run.exe"},
                                       {"Trzecia", "setup.exe"}}));
    QCOMPARE(named<QTreeView>(f, "lv_Lista")->currentIndex().row(), 0);
    QCOMPARE(named<QLabel>(f, "l_NazwaPoz")->text(), QStringLiteral("Pierwsza zmieniona"));
    // An edit that changes nothing marks nothing.
    QVERIFY(named<QToolButton>(f, "sb_Utworz")->isEnabled());
    m_fixture->messages.answers = {Messages::Answer::No}; // no program to start: written without
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QVERIFY(!f.isModified() && !f.hasUnsavedChanges());
    QTest::mouseClick(named<QPushButton>(f, "sb_Edytuj"), Qt::LeftButton);
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_OK"), Qt::LeftButton);
    QVERIFY(!f.isModified() && !f.hasUnsavedChanges());
}

// Ctrl+Up and Ctrl+Down move the selected entry, as far as the list goes; the menu is changed.
void TestItems::movingEntries()
{
    addEntry("setup.exe", "A");
    addEntry("bin/run.exe", "B");
    addEntry("setup.exe", "C");
    MainWindow &f = form();
    auto *list = named<QTreeView>(f, "lv_Lista");
    QVERIFY(QTest::qWaitForWindowActive(&f));
    selectRow(2);
    list->setFocus();
    const auto labels = [this] {
        QString text;
        for (const MenuItem &item : items())
            text += item.label;
        return text;
    };
    for (const auto &[key, after] : {std::pair{Qt::Key_Up, "ACB"}, {Qt::Key_Up, "CAB"}, {Qt::Key_Up, "CAB"},
                                     {Qt::Key_Down, "ACB"}, {Qt::Key_Down, "ABC"}, {Qt::Key_Down, "ABC"}}) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
        QCOMPARE(labels(), QString::fromLatin1(after));
        QCOMPARE(UserInput::rowText(list, list->currentIndex().row()), QStringLiteral("C"));
    }
    QVERIFY(f.hasUnsavedChanges());
    // Dragged: the first entry dropped on the lower half of the last one goes to the end.
    std::unique_ptr<QMimeData> dragged(list->model()->mimeData({list->model()->index(0, 0)}));
    const QRect last = list->visualRect(list->model()->index(2, 0));
    const QPoint at(last.center().x(), last.bottom() - 1);
    const Qt::DropActions actions = list->model()->supportedDragActions();
    QDragEnterEvent enter(at, actions, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, actions, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(labels(), QStringLiteral("BCA"));
    QCOMPARE(drop.dropAction(), Qt::CopyAction); // nothing is removed where the drag began
    QCOMPARE(UserInput::rowText(list, list->currentIndex().row()), QStringLiteral("A"));
}

void TestItems::sortedInsertion()
{
    MainWindow &f = form();
    addEntry("setup.exe", "b");
    addEntry("setup.exe", "C");
    addEntry("setup.exe", "a");
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QCheckBox>(f, "cb_Sortuj"), Qt::LeftButton);
    QCOMPARE(m_fixture->messages.shown.last().text, QStringLiteral("Posortować listę teraz ???"));
    QCOMPARE(selectionText(0), QStringLiteral("b")); // No: the order stays
    addEntry("bin/run.exe", "B");
    QStringList labels;
    for (const MenuItem &item : items())
        labels << item.label;
    QCOMPARE(labels.size(), 4);
    QCOMPARE(labels.first(), QStringLiteral("a"));
    QCOMPARE(labels.last(), QStringLiteral("C"));
    QVERIFY(labels.indexOf("b") >= 0 && labels.indexOf("B") >= 0 && labels.indexOf("b") != labels.indexOf("B"));
    QCOMPARE(items()[labels.indexOf("B")].file, QStringLiteral("bin\\run.exe")); // the file goes with its row
}

void TestItems::duplicatesAreAccepted()
{
    addEntry("setup.exe", "Instaluj");
    addEntry("setup.exe", "Instaluj");
    QCOMPARE(items(), (QList<MenuItem>{{"Instaluj", "setup.exe"}, {"Instaluj", "setup.exe"}}));
}

void TestItems::fileButtonsAfterThePanel_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("accept");
    QTest::newRow("no file, accept") << false << true;
    QTest::newRow("no file, cancel") << false << false;
    QTest::newRow("file, accept") << true << true;
    QTest::newRow("file, cancel") << true << false;
}

void TestItems::fileButtonsAfterThePanel()
{
    QFETCH(bool, withFile);
    QFETCH(bool, accept);
    MainWindow &f = form();
    if (withFile) {
        m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
        QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
        QVERIFY(QFile::exists(m_folder + "autorun.inf"));
        named<QPushButton>(f, "sb_Podglad")->setEnabled(false); // whatever they were before
    }
    selectInTree("setup.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QTest::mouseClick(accept ? named<QPushButton>(f, "sb_Add_OK") : named<QPushButton>(f, "sb_Add_NO"),
                      Qt::LeftButton);
    for (QWidget *w : std::initializer_list<QWidget *>{named<QPushButton>(f, "sb_Podglad"),
                                                       named<QPushButton>(f, "sb_UruchomPlik"),
                                                       named<QPushButton>(f, "sb_UsunPlik")})
        QCOMPARE(w->isEnabled(), withFile);
    QCOMPARE(f.isModified(), withFile && accept);
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isEnabled(), withFile && accept);
}

void TestItems::cancelChangesNothing()
{
    MainWindow &f = form();
    addEntry("setup.exe", "Jedna");
    selectInTree("bin/run.exe");
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_NO"), Qt::LeftButton);
    QCOMPARE(items(), (QList<MenuItem>{{"Jedna", "setup.exe"}}));
    QVERIFY(!f.isModified());
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled());
}

void TestItems::deleteAndRenameInPlace()
{
    MainWindow &f = form();
    QVERIFY(QTest::qWaitForWindowActive(&f)); // keys go where the focus is
    addEntry("setup.exe", "Jedna");
    addEntry("bin/run.exe", "Druga");
    selectRow(0);
    QCOMPARE(named<QLabel>(f, "l_NazwaPoz")->text(), QStringLiteral("Jedna"));
    QCOMPARE(named<QLabel>(f, "Label1")->text(), QStringLiteral("Nazwa pozycji:"));
    QCOMPARE(named<QLabel>(f, "Label15")->text(), QStringLiteral("Plik:"));
    QCOMPARE(named<PathLabel>(f, "l_Plik")->text(), QStringLiteral("setup.exe"));
    QTest::mouseClick(named<QPushButton>(f, "sb_Usun"), Qt::LeftButton);
    QVERIFY(m_fixture->messages.shown.isEmpty()); // no question
    QCOMPARE(items(), (QList<MenuItem>{{"Druga", "bin\\run.exe"}}));
    QVERIFY(!named<QPushButton>(f, "sb_Usun")->isEnabled() && !named<QPushButton>(f, "sb_Edytuj")->isEnabled());
    QVERIFY(named<QLabel>(f, "l_NazwaPoz")->text().isEmpty());

    // In place: the label column edits, an empty label is taken as it is.
    selectRow(0);
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_F2);
    auto *editor = named<QTreeView>(f, "lv_Lista")->findChild<QLineEdit *>();
    QVERIFY(editor);
    UserInput::typeOver(editor, "");
    QTest::keyClick(editor, Qt::Key_Return); // the delegate commits from the event loop
    QTRY_COMPARE(items(), (QList<MenuItem>{{"", "bin\\run.exe"}}));
    selectRow(0); // the file column does not edit, selected or not
    QTest::qWait(QApplication::doubleClickInterval() + 100); // a click on a selected row edits after this
    QCOMPARE(named<QTreeView>(f, "lv_Lista")->findChildren<QLineEdit *>().size(), 0);
}

// F2 edits a label in view, wherever the list was scrolled to.
void TestItems::labelsStayInView()
{
    MainWindow &f = form();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const QString deep = "bin/z/bardzo/dlugiej/sciezki/do/programu/instalator.exe";
    QVERIFY(writeTestFile(m_folder + deep));
    selectInTree("bin"); // the tree reads what it shows
    addEntry(deep, "Jedna");
    QTreeView *list = named<QTreeView>(f, "lv_Lista");
    QScrollBar *across = list->horizontalScrollBar();
    QTRY_VERIFY(across->maximum() > 0);
    selectRow(0);
    QVERIFY(f.selectedRow() >= 0);
    across->setValue(across->maximum());
    UserInput::press(Qt::Key_F2);
    auto *editor = list->findChild<QLineEdit *>();
    QVERIFY(editor);
    QVERIFY(list->viewport()->rect().contains(editor->geometry().topLeft()));
}

void TestItems::missingFilesAreFlagged()
{
    QFile file(m_folder + "autorun.inf");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[autorun]\r\nshell\\0=Jest\r\nshell\\0\\command=SETUP.EXE\r\n"
               "shell\\1=Absolutna\r\nshell\\1\\command=/etc/hostname\r\n"
               "shell\\2=Z kreska\r\nshell\\2\\command=\\setup.exe\r\n");
    file.close();
    MainWindow &f = form();
    named<FolderEdit>(f, "de_Folder")->setFolder(m_root->path() + "/");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(f, "de_Folder")->setFolder(m_folder);
    QCOMPARE(items().size(), 3);
    const bool missing[] = {false, true, false}; // "\\setup.exe" starts at the root of the disc
    for (int i = 0; i < 3; ++i) {
        selectRow(i);
        QCOMPARE(named<QLabel>(f, "l_NotExists")->isVisibleTo(&f), missing[i]);
    }
    QVERIFY(QFile::remove(m_folder + "setup.exe"));
    selectRow(0);
    const QLabel *notThere = named<QLabel>(f, "l_NotExists");
    QVERIFY(notThere->isVisibleTo(&f));
    QCOMPARE(notThere->size(), notThere->sizeHint()); // its whole text
}

void TestItems::sortingANewMenuMarksIt()
{
    MainWindow &f = form();
    addEntry("setup.exe", "b");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(named<QCheckBox>(f, "cb_Sortuj"), Qt::LeftButton);
    QVERIFY(!f.isModified()); // one row: nothing compared
    QTest::mouseClick(named<QCheckBox>(f, "cb_Sortuj"), Qt::LeftButton); // off again: nothing asked
    addEntry("setup.exe", "a");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(named<QCheckBox>(f, "cb_Sortuj"), Qt::LeftButton);
    QVERIFY(f.isModified());
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled()); // no file to refresh from
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")->isHidden());
    QCOMPARE(selectionText(0), QStringLiteral("a"));
}

void TestItems::keysOfTheList()
{
    MainWindow &f = form();
    addEntry("setup.exe", "Jedna");
    addEntry("setup.exe", "Druga");
    named<QTreeView>(f, "lv_Lista")->setFocus();
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_Delete); // nothing selected: nothing happens
    QCOMPARE(items().size(), 2);
    selectRow(1);
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_Return);
    QVERIFY(named<QFrame>(f, "p_Dodaj")->isVisible());
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->currentText(), QStringLiteral("Druga"));
    QTest::keyClick(named<QComboBox>(f, "cb_NazwaPozycji"), Qt::Key_Escape);
    selectRow(1);
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_Delete);
    QCOMPARE(items(), (QList<MenuItem>{{"Jedna", "setup.exe"}}));
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_F10);
    QVERIFY(m_fixture->windows().about()->isVisible());
}

QTEST_MAIN(TestItems)
#include "tst_items.moc"
