#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace UserInput;

namespace {
const QString askSave = QStringLiteral("W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.");
const QString typedMissing = QStringLiteral("Wpisany folder nie istnieje:");
const QByteArray otherDisc = "[autorun]\r\nopen=inna.exe\r\nshell\\x=Inna\r\nshell\\x\\command=inna.exe\r\n";
} // namespace

// Input typed and not yet confirmed when a command comes: a folder path, a rename, a caption,
// a key pressed with Alt. Nothing of it is lost or sent to another folder.
class TestPending : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void typedFolderIsTakenFirst_data();
    void typedFolderIsTakenFirst();
    void openRenameIsCommittedFirst_data();
    void openRenameIsCommittedFirst();
    void captionIsStoredAsTyped_data();
    void captionIsStoredAsTyped();
    void altKeysNeverType_data();
    void altKeysNeverType();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    QTreeWidget *list() { return named<QTreeWidget>(form(), "lv_Lista"); }
    // Runs a command as the user gives it: a button's click, or keys.
    void give(const QString &command);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder, m_other;
    QByteArray m_menu;
};

void TestPending::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/Dane/";
    m_other = m_root->path() + "/Inna/";
    m_menu = "[autorun]\r\nopen=setup.exe\r\nlabel=DANE\r\nshell\\a=Pierwsza\r\nshell\\a\\command=setup.exe\r\n";
    QVERIFY(writeTestFile(m_folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + "autorun.inf", m_menu));
    QVERIFY(writeTestFile(m_other + "inna.exe", "MZ"));
    QVERIFY(writeTestFile(m_other + "autorun.inf", otherDisc));
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
    QCOMPARE(list()->topLevelItemCount(), 1);
    m_fixture->messages.shown.clear();
}

void TestPending::give(const QString &command)
{
    if (command == "Ctrl+S")
        press(Qt::Key_S, Qt::ControlModifier);
    else if (command == "Ctrl+Q")
        press(Qt::Key_Q, Qt::ControlModifier);
    else if (command == "Alt+A") { // an access key clicks its button once it is drawn pressed
        press(Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!named<QAbstractButton>(form(), "sb_AutoRun")->isDown());
    }
    else
        QTest::mouseClick(named<QAbstractButton>(form(), command.toLatin1().constData()), Qt::LeftButton);
}

void TestPending::typedFolderIsTakenFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed"); // "other", "missing", or "same" (without the separator)
    QTest::addColumn<QList<Messages::Answer>>("answers");
    QTest::addColumn<QString>("shownFolder"); // what the field shows afterwards: "Dane" or "Inna"
    QTest::addColumn<bool>("written");        // the edited label reached Dane's file
    QTest::addColumn<bool>("panel");          // the auto-start panel opened

    using A = Messages::Answer;
    // The other folder is taken as Enter takes it; a write meant for the menu that stood there
    // does not follow into it.
    QTest::newRow("Zapisz, another folder") << "sb_Zapisz" << "other" << QList<A>{A::No, A::No} << "Inna"
                                            << false << false;
    QTest::newRow("Ctrl+S, another folder, changes saved first")
        << "Ctrl+S" << "other" << QList<A>{A::Yes, A::No} << "Inna" << true << false;
    QTest::newRow("Zapisz, cancelled") << "sb_Zapisz" << "other" << QList<A>{} << "Dane" << false << false;
    QTest::newRow("Ctrl+S, no such folder") << "Ctrl+S" << "missing" << QList<A>{} << "Dane" << false << false;
    QTest::newRow("Ctrl+S, the same folder") << "Ctrl+S" << "same" << QList<A>{} << "Dane" << true << false;
    QTest::newRow("Auto..., another folder") << "sb_AutoRun" << "other" << QList<A>{A::No, A::No} << "Inna"
                                             << false << true;
    QTest::newRow("Alt+A, no such folder") << "Alt+A" << "missing" << QList<A>{} << "Dane" << false << false;
}

void TestPending::typedFolderIsTakenFirst()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QList<Messages::Answer>, answers);
    QFETCH(QString, shownFolder);
    QFETCH(bool, written);
    QFETCH(bool, panel);

    typeOver(named<QLineEdit>(form(), "e_Etykieta"), "Zmieniona");
    const QString text = typed == "other" ? m_other.chopped(1)
        : typed == "same"                 ? m_folder.chopped(1)
                                          : m_root->path() + "/Brak";
    typeOver(named<FolderEdit>(form(), "de_Folder"), text);
    m_fixture->messages.answers = answers;
    give(command);

    FolderEdit *edit = named<FolderEdit>(form(), "de_Folder");
    QCOMPARE(edit->text(), shownFolder == "Dane" ? m_folder : m_other);
    QCOMPARE(form().dataFolder(), edit->text());
    QCOMPARE(readTestFile(m_folder + "autorun.inf").contains("Zmieniona"), written);
    QCOMPARE(readTestFile(m_other + "autorun.inf"), otherDisc);
    QCOMPARE(panelOpen(form(), "p_Autorun"), panel);
    QCOMPARE(m_fixture->messages.texts().filter(typedMissing).size(), typed == "missing" ? 1 : 0);
    QVERIFY(m_fixture->messages.texts().filter("Menu zostało utworzone").isEmpty());
    // Leaving the field later takes nothing more.
    m_fixture->messages.shown.clear();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(5, list()->viewport()->height() - 5));
    QCOMPARE(edit->text(), form().dataFolder());
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

void TestPending::openRenameIsCommittedFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("saved");  // the new caption is in the file
    QTest::addColumn<bool>("asked");  // the unsaved-changes question came (and was cancelled)

    QTest::newRow("Ctrl+S") << "Ctrl+S" << true << false;
    QTest::newRow("Ctrl+Q") << "Ctrl+Q" << false << true;
    QTest::newRow("Zamknij") << "sb_Zamknij" << false << true;
    QTest::newRow("Porady") << "sb_Porady" << false << false;
}

void TestPending::openRenameIsCommittedFirst()
{
    QFETCH(QString, command);
    QFETCH(bool, saved);
    QFETCH(bool, asked);

    clickItem(list(), list()->topLevelItem(0));
    press(Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && list()->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_End);
    type(editor, " nowa");
    give(command);
    QApplication::processEvents();

    QCOMPARE(list()->topLevelItem(0)->text(0), QStringLiteral("Pierwsza nowa"));
    QCOMPARE(readTestFile(m_folder + "autorun.inf").contains("Pierwsza nowa"), saved);
    QCOMPARE(m_fixture->messages.texts().filter(askSave).size(), asked ? 1 : 0);
    QVERIFY(form().isVisible()); // the question was cancelled
    QCOMPARE(form().isModified(), !saved);
}

void TestPending::captionIsStoredAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("confirmation"); // "Enter" or the OK button

    // setup.exe is offered as "setup", "Uruchom setup", …, "Run setup".
    QTest::newRow("the start of a suggestion") << "Run" << "Enter";
    QTest::newRow("a trailing blank") << "uruchom " << "Enter";
    QTest::newRow("a suggestion but for letter case") << "run setup" << "Enter";
    QTest::newRow("the start of a suggestion, by the button") << "Uruchom" << "sb_Add_OK";
}

void TestPending::captionIsStoredAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, confirmation);

    QVERIFY(clickPath(named<FolderTree>(form(), "dfsSystemTreeView1"), m_folder + "setup.exe"));
    QTest::mouseClick(named<QPushButton>(form(), "sb_Dodaj"), Qt::LeftButton);
    auto *captions = named<QComboBox>(form(), "cb_NazwaPozycji");
    QVERIFY(captions->findText("Run setup") >= 0); // the list still offers the suggestions
    typeOver(captions->lineEdit(), typed);
    if (confirmation == "Enter") {
        press(Qt::Key_Return);
    } else
        QTest::mouseClick(named<QPushButton>(form(), confirmation.toLatin1().constData()), Qt::LeftButton);

    QVERIFY(!panelOpen(form(), "p_Dodaj"));
    QCOMPARE(list()->topLevelItem(list()->topLevelItemCount() - 1)->text(0), typed);
}

void TestPending::altKeysNeverType_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");

    QTest::newRow("Alt+Z after a save, in the label") << "e_Etykieta" << int(Qt::Key_Z);
    QTest::newRow("Alt+E with no entry selected") << "e_Etykieta" << int(Qt::Key_E);
    QTest::newRow("Alt+D in the folder edit, Dodaj off") << "de_Folder" << int(Qt::Key_D);
    QTest::newRow("Alt+Q, no access key") << "de_Folder" << int(Qt::Key_Q);
}

void TestPending::altKeysNeverType()
{
    QFETCH(QString, field);
    QFETCH(int, key);

    auto *edit = named<QLineEdit>(form(), field.toLatin1().constData());
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    const QString before = edit->text();
    QTest::keyClick(edit, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(edit->text(), before);
    QVERIFY(!form().isModified());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(form().dataFolder(), m_folder);
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

QTEST_MAIN(TestPending)
#include "tst_pending.moc"
