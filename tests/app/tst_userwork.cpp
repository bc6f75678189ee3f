#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MruList.h"
#include "app/TForm1.h"
#include "dialogs/TF_About.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace UserInput;

namespace {
const QString askSave = QStringLiteral("W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.");
}

// What the user made stays theirs: the focus comes back where it was, nothing is thrown away
// or written without a question, and a new folder starts clean.
class TestUserWork : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void aboutGivesTheFocusBack_data();
    void aboutGivesTheFocusBack();
    void unsavedChangesAreOffered_data();
    void unsavedChangesAreOffered();
    void newFolderStartsClean();
    void createOnlyInATakenFolder();
    void programWithArgumentsExists();

private:
    TForm1 &form() { return *m_fixture->windows().main; }
    QStringList labels() const;

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestUserWork::init()
{
    m_fixture = std::make_unique<WindowFixture>();
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
    form().de_Folder->setFolder(m_folder);
    QCOMPARE(labels(), (QStringList{"Pierwsza", "Konfiguracja"}));
    m_fixture->messages.shown.clear();
}

QStringList TestUserWork::labels() const
{
    QStringList list;
    for (int i = 0; i < m_fixture->windows().main->lv_Lista->topLevelItemCount(); ++i)
        list << m_fixture->windows().main->lv_Lista->topLevelItem(i)->text(0);
    return list;
}

void TestUserWork::aboutGivesTheFocusBack_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("tree") << "dfsSystemTreeView1";
    QTest::newRow("item panel") << "cb_NazwaPozycji";
    QTest::newRow("auto-start panel") << "lb_Programy";
}

// F10 and Escape from anywhere: the keys go back to the control that had them, so that a
// Backspace is the tree's and Enter is the panel's.
void TestUserWork::aboutGivesTheFocusBack()
{
    QFETCH(QString, where);
    TForm1 &f = form();
    const QString folderText = f.de_Folder->text();
    QVERIFY(clickPath(f.dfsSystemTreeView1, m_folder + "setup.exe"));
    if (where == "cb_NazwaPozycji") {
        press(Qt::Key_Return); // Enter on a program opens the item panel
    } else if (where == "lb_Programy") {
        QTest::mouseClick(f.sb_AutoRun, Qt::LeftButton);
        clickRow(f.lb_Programy, rowOf(f.lb_Programy, "bin\\konfig.exe"));
        QTest::mouseClick(f.cb_Sortuj, Qt::LeftButton); // locked: takes neither a click nor the keys
        QVERIFY(!f.cb_Sortuj->isEnabled() && !f.cb_Sortuj->isChecked());
    }
    QWidget *control = f.findChild<QWidget *>(where);
    QCOMPARE(QApplication::focusWidget(), control);
    press(Qt::Key_F10);
    QTRY_VERIFY(m_fixture->windows().about->isActiveWindow());
    press(Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), control);
    if (where == "dfsSystemTreeView1") {
        press(Qt::Key_Backspace);
        QCOMPARE(f.de_Folder->text(), folderText);
        QCOMPARE(labels(), (QStringList{"Pierwsza", "Konfiguracja"}));
        return;
    }
    press(Qt::Key_Return);
    QVERIFY(!f.panelOpen());
    if (where == "cb_NazwaPozycji")
        QCOMPARE(labels().size(), 3);
    else
        QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\konfig.exe"));
    QCOMPARE(QApplication::focusWidget(), f.dfsSystemTreeView1); // where the panel was opened from
}

void TestUserWork::unsavedChangesAreOffered_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"Zamknij", "window closed", "typed folder", "recent folder", "Nowe"})
        QTest::newRow(command) << QString(command);
}

// An entry renamed and not saved: every command that would drop it asks first, and Anuluj
// leaves the window as it was.
void TestUserWork::unsavedChangesAreOffered()
{
    QFETCH(QString, command);
    TForm1 &f = form();
    const QString other = m_root->path() + "/Inne/";
    QVERIFY(writeTestFile(other + "x.txt"));
    QVERIFY(MruList(MruList::foldersKey).record(other));
    QVERIFY(MruList(MruList::filesKey).record(m_folder + "autorun.inf"));
    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(0));
    press(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Nowa");
    press(Qt::Key_Return);
    QTRY_COMPARE(labels(), (QStringList{"Nowa", "Konfiguracja"}));

    m_fixture->messages.answers = {Messages::Answer::Cancel};
    if (command == "Zamknij") {
        QTest::mouseClick(f.sb_Zamknij, Qt::LeftButton);
    } else if (command == "typed folder") {
        typeOver(f.de_Folder, other);
        press(Qt::Key_Return);
    } else if (command == "recent folder") {
        QTest::mouseClick(f.SpeedButton2, Qt::LeftButton);
        QTRY_VERIFY(f.pm_Wybierane->isVisible());
        const QList<QAction *> entries = f.pm_Wybierane->actions();
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](QAction *a) { return a->text() == other; });
        QVERIFY(entry != entries.end());
        clickEntry(f.pm_Wybierane, *entry);
    } else if (command == "Nowe") {
        QAction *entry = openMenuEntry(f.sb_Nowe, f.pm_Nowe, "Nowe1");
        QVERIFY(entry);
        clickEntry(f.pm_Nowe, entry);
    } else {
        f.close(); // as the window manager's close button does
    }
    QCOMPARE(m_fixture->messages.texts().size(), 1);
    QVERIFY(m_fixture->messages.texts().first().startsWith(askSave));
    QVERIFY(f.isVisible());
    QCOMPARE(f.dataFolder(), m_folder);
    QCOMPARE(f.de_Folder->text(), m_folder);
    QCOMPARE(labels(), (QStringList{"Nowa", "Konfiguracja"}));
}

// The previous disc's program and icon are not this disc's: taking a folder without them lets
// them go, and so does Create's "Nie".
void TestUserWork::newFolderStartsClean()
{
    TForm1 &f = form();
    const QString other = m_root->path() + "/Inne/";
    QVERIFY(writeTestFile(other + "x.txt"));
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    typeOver(f.de_Folder, other);
    press(Qt::Key_Return);
    QCOMPARE(f.dataFolder(), other);
    const MenuDocument doc = f.document();
    QVERIFY(doc.autoStartProgram.isEmpty() && doc.iconFile.isEmpty() && doc.items.isEmpty());
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
    QCOMPARE(readTestFile(other + "autorun.inf"), QByteArray("[autorun]\r\nName=Inne\r\nLabel=Inne\r\n\r\n"));
}

// A typed folder that does not exist is no place to write: Create stays off whatever is typed.
void TestUserWork::createOnlyInATakenFolder()
{
    TForm1 &f = form();
    const QString missing = m_root->path() + "/Dane/x";
    typeOver(f.de_Folder, missing);
    typeOver(f.e_Etykieta, "Etykieta");
    QCOMPARE(f.gb_Centrum->title(), QStringLiteral(" Wskazany folder nie istnieje !!! "));
    QVERIFY(!f.sb_Utworz->isEnabled());
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
    QVERIFY(!QFileInfo::exists(m_folder + "xautorun.inf"));
    QVERIFY(!MruList(MruList::filesKey).entries().contains(m_folder + "xautorun.inf"));
}

// The program of a command with arguments is found as the disc check finds it.
void TestUserWork::programWithArgumentsExists()
{
    TForm1 &f = form();
    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(1));
    QVERIFY(f.l_NotExists->isHidden());
}

QTEST_MAIN(TestUserWork)
#include "tst_userwork.moc"
