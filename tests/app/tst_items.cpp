#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/TForm1.h"
#include "core/PanelCentring.h"
#include "dialogs/TF_About.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TdfsSystemTreeView.h"

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
    void editMovesTheEntryToTheEnd();
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
    TForm1 &form() { return *m_fixture->windows().main; }
    void selectInTree(const QString &relative);
    void addEntry(const QString &relative, const QString &label);
    QList<MenuItem> items() { return form().document().items; }
    void selectRow(int row) { form().lv_Lista->setCurrentItem(form().lv_Lista->topLevelItem(row)); }
    QString selectionText(int row) { return form().lv_Lista->topLevelItem(row)->text(0); }

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
    form().de_Folder->setFolder(m_folder);
}

void TestItems::selectInTree(const QString &relative)
{
    QVERIFY(form().dfsSystemTreeView1->select(m_folder + relative));
}

void TestItems::addEntry(const QString &relative, const QString &label)
{
    selectInTree(relative);
    QTest::mouseClick(form().sb_Dodaj, Qt::LeftButton);
    QVERIFY(form().p_Dodaj->isVisible());
    form().cb_NazwaPozycji->setEditText(label);
    QTest::mouseClick(form().sb_Add_OK, Qt::LeftButton);
    QVERIFY(!form().p_Dodaj->isVisible());
}

void TestItems::addOpensThePanelLockedAndCentred()
{
    TForm1 &f = form();
    selectInTree("bin/run.exe");
    QCOMPARE(f.Label4->text(), u"[Płyta]\\bin\\run.exe"_qs);
    QCOMPARE(f.Label5->text(), QStringLiteral("run")); // no description: the display name, as Windows shows it
    QVERIFY(f.sb_Dodaj->isEnabled());
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);

    QVERIFY(f.p_Dodaj->isVisible());
    QCOMPARE(f.Label9->text(), QStringLiteral("Dodawanie nowej pozycji do menu:"));
    QCOMPARE(f.XPathLabel1->text(), u"[Płyta]bin\\run.exe"_qs); // no separator after the bracket
    QCOMPARE(f.cb_NazwaPozycji->count(), 10);
    QCOMPARE(f.cb_NazwaPozycji->currentText(), QStringLiteral("Zainstaluj run"));
    QVERIFY(f.sb_Add_OK->isEnabled());
    const QSize outer = f.frameGeometry().size();
    QCOMPARE(f.p_Dodaj->pos(), QPoint(centredOffset(outer.width(), 473), centredOffset(outer.height(), 129)));
    for (QWidget *w : std::initializer_list<QWidget *>{f.sb_Nowe, f.sb_AutoRun, f.GroupBox1, f.dfsSystemTreeView1,
                                                        f.lv_Lista, f.sb_Dodaj, f.CheckBox1, f.sb_Utworz})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(f.Label8->isHidden());
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
    TForm1 &f = form();
    f.e_Etykieta->setText(discLabel);
    selectInTree("bin/run.exe");
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    QCOMPARE(f.XPathLabel1->text(), discLabel.isEmpty() ? u"bin\\run.exe"_qs : u"[Płyta]bin\\run.exe"_qs);
    f.cb_NazwaPozycji->setEditText("Uruchom program  "); // typed trailing blanks are kept
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Return);

    QVERIFY(!f.p_Dodaj->isVisible());
    QCOMPARE(items(), (QList<MenuItem>{{"Uruchom program  ", "bin\\run.exe"}}));
    QVERIFY(f.sb_Nowe->isEnabled() && f.lv_Lista->isEnabled() && f.dfsSystemTreeView1->isEnabled());
    QVERIFY(f.sb_Dodaj->isEnabled()); // the selection is still a program
    QVERIFY(f.sb_Utworz->isEnabled());
    QVERIFY(!f.sb_Edytuj->isEnabled() && !f.sb_Usun->isEnabled());
    QVERIFY(!f.Label8->isHidden() && f.driveMenuAttached());
    QVERIFY(f.lv_Lista->columnWidth(0) >= f.fontMetrics().horizontalAdvance("Uruchom program  ") + 25);
}

void TestItems::emptyTextCannotBeAccepted()
{
    TForm1 &f = form();
    selectInTree("setup.exe");
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    f.cb_NazwaPozycji->setEditText("");
    QVERIFY(!f.sb_Add_OK->isEnabled());
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Return);
    QVERIFY(f.p_Dodaj->isVisible());
    f.cb_NazwaPozycji->setEditText(" ");
    QVERIFY(f.sb_Add_OK->isEnabled()); // a blank counts
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Escape);
    QVERIFY(!f.p_Dodaj->isVisible());
    QVERIFY(items().isEmpty());
}

void TestItems::editMovesTheEntryToTheEnd()
{
    addEntry("setup.exe", "Pierwsza");
    addEntry("bin/run.exe", "Druga");
    addEntry("setup.exe", "Trzecia");
    TForm1 &f = form();
    selectRow(0);
    QVERIFY(f.sb_Edytuj->isEnabled());
    QTest::mouseClick(f.sb_Edytuj, Qt::LeftButton);
    QCOMPARE(f.Label9->text(), QStringLiteral("Edycja pozycji w menu:"));
    QCOMPARE(f.cb_NazwaPozycji->currentText(), QStringLiteral("Pierwsza"));
    QCOMPARE(f.cb_NazwaPozycji->count(), 10); // the file exists: its suggestions
    QCOMPARE(f.XPathLabel1->text(), u"[Płyta]setup.exe"_qs);
    f.cb_NazwaPozycji->setEditText("Pierwsza zmieniona");
    QTest::mouseClick(f.sb_Add_OK, Qt::LeftButton);
    QCOMPARE(items(), (QList<MenuItem>{{"Druga", "bin\\run.exe"}, {"Trzecia", "setup.exe"},
                                       {"Pierwsza zmieniona", "setup.exe"}}));
    QVERIFY(!f.sb_Edytuj->isEnabled());
}

void TestItems::sortedInsertion()
{
    TForm1 &f = form();
    addEntry("setup.exe", "b");
    addEntry("setup.exe", "C");
    addEntry("setup.exe", "a");
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(f.cb_Sortuj, Qt::LeftButton);
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
    TForm1 &f = form();
    if (withFile) {
        m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
        QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
        QVERIFY(QFile::exists(m_folder + "autorun.inf"));
        f.sb_Podglad->setEnabled(false); // whatever they were before
    }
    selectInTree("setup.exe");
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    QTest::mouseClick(accept ? f.sb_Add_OK : f.sb_Add_NO, Qt::LeftButton);
    for (QWidget *w : std::initializer_list<QWidget *>{f.sb_Podglad, f.sb_UruchomPlik, f.sb_UsunPlik})
        QCOMPARE(w->isEnabled(), withFile);
    QCOMPARE(f.isModified(), withFile && accept);
    QCOMPARE(f.sb_Zapisz->isEnabled(), withFile && accept);
}

void TestItems::cancelChangesNothing()
{
    TForm1 &f = form();
    addEntry("setup.exe", "Jedna");
    selectInTree("bin/run.exe");
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    QTest::mouseClick(f.sb_Add_NO, Qt::LeftButton);
    QCOMPARE(items(), (QList<MenuItem>{{"Jedna", "setup.exe"}}));
    QVERIFY(!f.isModified());
    QVERIFY(!f.sb_Odswiez->isEnabled());
}

void TestItems::deleteAndRenameInPlace()
{
    TForm1 &f = form();
    addEntry("setup.exe", "Jedna");
    addEntry("bin/run.exe", "Druga");
    selectRow(0);
    QCOMPARE(f.l_NazwaPoz->text(), QStringLiteral("Jedna"));
    QCOMPARE(f.Label1->text(), QStringLiteral("Nazwa pozycji:"));
    QCOMPARE(f.Label15->text(), QStringLiteral("Plik:"));
    QCOMPARE(f.l_Plik->text(), QStringLiteral("setup.exe"));
    QTest::mouseClick(f.sb_Usun, Qt::LeftButton);
    QVERIFY(m_fixture->messages.shown.isEmpty()); // no question
    QCOMPARE(items(), (QList<MenuItem>{{"Druga", "bin\\run.exe"}}));
    QVERIFY(!f.sb_Usun->isEnabled() && !f.sb_Edytuj->isEnabled());
    QVERIFY(f.l_NazwaPoz->text().isEmpty());

    // In place: the label column edits, an empty label is taken as it is.
    QTreeWidgetItem *row = f.lv_Lista->topLevelItem(0);
    f.lv_Lista->setCurrentItem(row, 0);
    f.lv_Lista->editItem(row, 0);
    auto *editor = f.lv_Lista->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->clear();
    QTest::keyClick(editor, Qt::Key_Return); // the delegate commits from the event loop
    QTRY_COMPARE(items(), (QList<MenuItem>{{"", "bin\\run.exe"}}));
    f.lv_Lista->editItem(row, 1); // the file column does not edit
    QCOMPARE(f.lv_Lista->findChildren<QLineEdit *>().size(), 0);
}

// F2 edits a label in view, wherever the list was scrolled to.
void TestItems::labelsStayInView()
{
    TForm1 &f = form();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const QString deep = "bin/z/bardzo/dlugiej/sciezki/do/programu/instalator.exe";
    QVERIFY(writeTestFile(m_folder + deep));
    QVERIFY(form().dfsSystemTreeView1->select(m_folder + "bin")); // the tree reads what it shows
    addEntry(deep, "Jedna");
    QTreeWidget *list = f.lv_Lista;
    QScrollBar *across = list->horizontalScrollBar();
    QTRY_VERIFY(across->maximum() > 0);
    const QRect file = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(file.left() + 5, file.center().y()));
    QVERIFY(f.selectedRow());
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
    TForm1 &f = form();
    f.de_Folder->setFolder(m_root->path() + "/");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    f.de_Folder->setFolder(m_folder);
    QCOMPARE(items().size(), 3);
    const bool missing[] = {false, true, false}; // "\\setup.exe" starts at the root of the disc
    for (int i = 0; i < 3; ++i) {
        selectRow(i);
        QCOMPARE(f.l_NotExists->isVisibleTo(&f), missing[i]);
    }
    QVERIFY(QFile::remove(m_folder + "setup.exe"));
    selectRow(0);
    QVERIFY(f.l_NotExists->isVisibleTo(&f));
}

void TestItems::sortingANewMenuMarksIt()
{
    TForm1 &f = form();
    addEntry("setup.exe", "b");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(f.cb_Sortuj, Qt::LeftButton);
    QVERIFY(!f.isModified()); // one row: nothing compared
    f.cb_Sortuj->setChecked(false);
    addEntry("setup.exe", "a");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    QTest::mouseClick(f.cb_Sortuj, Qt::LeftButton);
    QVERIFY(f.isModified());
    QVERIFY(f.sb_Odswiez->isEnabled()); // though there is no file to refresh from
    QVERIFY(f.sb_Zapisz->isHidden());
    QCOMPARE(selectionText(0), QStringLiteral("a"));
}

void TestItems::keysOfTheList()
{
    TForm1 &f = form();
    addEntry("setup.exe", "Jedna");
    addEntry("setup.exe", "Druga");
    f.lv_Lista->setFocus();
    QTest::keyClick(f.lv_Lista, Qt::Key_Delete); // nothing selected: nothing happens
    QCOMPARE(items().size(), 2);
    selectRow(1);
    QTest::keyClick(f.lv_Lista, Qt::Key_Return);
    QVERIFY(f.p_Dodaj->isVisible());
    QCOMPARE(f.cb_NazwaPozycji->currentText(), QStringLiteral("Druga"));
    QTest::keyClick(f.cb_NazwaPozycji, Qt::Key_Escape);
    f.lv_Lista->setCurrentItem(nullptr);
    selectRow(1);
    QTest::keyClick(f.lv_Lista, Qt::Key_Delete);
    QCOMPARE(items(), (QList<MenuItem>{{"Jedna", "setup.exe"}}));
    QTest::keyClick(f.lv_Lista, Qt::Key_F10);
    QVERIFY(m_fixture->windows().about->isVisible());
}

QTEST_MAIN(TestItems)
#include "tst_items.moc"
