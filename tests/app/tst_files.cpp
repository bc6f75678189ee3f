#include "Controls.h"
#include "MenuInput.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/RecentList.h"
#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

// The created file shown and deleted, a program of the folder opened, the recent folders.
class TestFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showFileAsksToSaveFirst_data();
    void showFileAsksToSaveFirst();
    void showFileDoesNothingWithoutTheFile();
    void deleteFile_data();
    void deleteFile();
    void runSelectedProgram();
    void recentFolders();
    void driveMenu_data();
    void driveMenu();
    void driveMenuOpensFilesAndFollowsEdits();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    void create();
    void openExisting(const QByteArray &autorun);
    QString fileText() const;

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestFiles::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/dane/";
    QVERIFY(QDir().mkpath(m_folder));
    QVERIFY(writeTestFile(m_folder + "setup.exe"));
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

void TestFiles::create()
{
    QVERIFY(MenuInput::addItem(form(), m_folder + "setup.exe", "Instaluj"));
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(named<QToolButton>(form(), "sb_Utworz"), Qt::LeftButton);
    QVERIFY(QFile::exists(m_folder + "autorun.inf"));
    m_fixture->messages.shown.clear();
}

// The folder is taken again with autorun.inf in it, and the file is opened.
void TestFiles::openExisting(const QByteArray &autorun)
{
    QVERIFY(writeTestFile(m_folder + "autorun.inf", autorun));
    m_fixture->messages.answers = {Messages::Answer::Yes};
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_root->path() + "/");
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

QString TestFiles::fileText() const
{
    return QString::fromLatin1(readTestFile(m_folder + "autorun.inf"));
}

void TestFiles::showFileAsksToSaveFirst_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("yes: saved, then shown") << true;
    QTest::newRow("no: shown as last saved") << false;
}

void TestFiles::showFileAsksToSaveFirst()
{
    QFETCH(bool, save);
    create();
    MainWindow &f = form();
    UserInput::typeOver(named<QLineEdit>(f, "e_Etykieta"), "NOWA");
    QVERIFY(f.isModified());
    m_fixture->messages.answers = {save ? Messages::Answer::Yes : Messages::Answer::No};
    QTest::mouseClick(named<QPushButton>(f, "sb_UruchomPlik"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), 2);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith("W tworzonym pliku wprowadzono zmiany"));
    QCOMPARE(m_fixture->messages.shown[1].caption, QStringLiteral("INFORMACJA !!!"));
    QVERIFY(m_fixture->messages.shown[1].text.startsWith(u"Tak wygląda utworzony przez Ciebie plik"_qs));
    QCOMPARE(fileText().contains("Name=NOWA"), save);
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    QCOMPARE(m_fixture->shell.opened[0].target, m_folder + "autorun.inf");
    QCOMPARE(m_fixture->shell.opened[0].verb, QStringLiteral("open"));
    QVERIFY(m_fixture->shell.opened[0].show == Shell::Show::Normal);
}

void TestFiles::showFileDoesNothingWithoutTheFile()
{
    create();
    QVERIFY(QFile::remove(m_folder + "autorun.inf"));
    form().openMenuFileOnDesktop();
    QVERIFY(m_fixture->messages.shown.isEmpty());
    QVERIFY(m_fixture->shell.opened.isEmpty());
}

void TestFiles::deleteFile_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestFiles::deleteFile()
{
    QFETCH(bool, confirm);
    create();
    MainWindow &f = form();
    named<QPushButton>(f, "sb_Podglad")->setEnabled(!confirm); // recomputed from the file either way
    m_fixture->messages.answers = {confirm ? Messages::Answer::Yes : Messages::Answer::No};
    QTest::mouseClick(named<QPushButton>(f, "sb_UsunPlik"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QCOMPARE(m_fixture->messages.shown[0].text, QStringLiteral("Czy na pewno chcesz usunąć plik ???"));
    QCOMPARE(QFile::exists(m_folder + "autorun.inf"), !confirm);
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QPushButton>(f, "sb_UsunPlik"), named<QPushButton>(f, "sb_UruchomPlik"),
             named<QPushButton>(f, "sb_Podglad")})
        QCOMPARE(w->isEnabled(), !confirm);
    QVERIFY(!named<QPushButton>(f, "sb_Odswiez")->isEnabled()); // the menu is still the file's
    QCOMPARE(named<QToolButton>(f, "sb_Zapisz")->isHidden(), confirm);
    QCOMPARE(named<QToolButton>(f, "sb_Utworz")->isHidden(), !confirm);
    QCOMPARE(named<QTreeView>(f, "lv_Lista")->model()->rowCount(), confirm ? 0 : 1);
}

void TestFiles::runSelectedProgram()
{
    MainWindow &f = form();
    QVERIFY(UserInput::clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), m_folder + "setup.exe"));
    named<QAction>(f, "Uruchom1")->trigger();
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    QCOMPARE(m_fixture->shell.opened[0].target, m_folder + "setup.exe");
    QVERIFY(m_fixture->shell.opened[0].verb.isEmpty());
}

void TestFiles::recentFolders()
{
    MainWindow &f = form();
    const QString other = m_root->path() + "/inne/";
    QVERIFY(QDir().mkpath(other));
    named<FolderEdit>(f, "de_Folder")->setFolder(other);
    named<FolderEdit>(f, "de_Folder")->setFolder(m_folder); // chosen again: stays in its first place
    const QString gone = m_root->path() + "/znikniety/";
    QVERIFY(QDir().mkpath(gone));
    named<FolderEdit>(f, "de_Folder")->setFolder(gone);
    QVERIFY(QDir(gone).removeRecursively());

    QVERIFY(f.fillRecentFolders());
    QStringList shown;
    for (QAction *a : named<QMenu>(f, "pm_Wybierane")->actions())
        shown << a->text();
    QCOMPARE(shown, (QStringList{m_folder, other})); // a folder that is gone is left out
    QCOMPARE(RecentList(RecentList::foldersKey).entries().size(), 3); // but stays stored

    named<QMenu>(f, "pm_Wybierane")->actions().at(1)->trigger();
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), other);
    QCOMPARE(named<FolderTree>(f, "dfsSystemTreeView1")->rootFolder(), other);
}

void TestFiles::driveMenu_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("entries"); // "+" enabled, "*" default, "-" separator
    const QStringList tail{"-", "U&dostępnianie i zabezpieczenia", "-", "W&ysuń", "-", "&Kopiuj", "-",
                           "Utwórz &skrót", "-", "&Właściwości"};
    QTest::newRow("program and two items")
        << "setup.exe" << QStringList{"A", "B"}
        << QStringList{"*+Autoodtwarzanie", "+A", "+B", "W&yszukaj", "&Otwórz", "Eksplo&ruj"} + tail;
    QTest::newRow("no program") << "" << QStringList{"A", "B"}
                                << QStringList{"*&Otwórz", "Eksplo&ruj", "W&yszukaj", "+A", "+B"} + tail;
    QTest::newRow("program, no items")
        << "setup.exe" << QStringList{}
        << QStringList{"*+Autoodtwarzanie", "W&yszukaj", "&Otwórz", "Eksplo&ruj"} + tail;
    QTest::newRow("empty document") << "" << QStringList{}
                                    << QStringList{"*&Otwórz", "Eksplo&ruj", "W&yszukaj"} + tail;
}

void TestFiles::driveMenu()
{
    QFETCH(QString, program);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, entries);
    QByteArray autorun = "[autorun]\r\n";
    if (!program.isEmpty())
        autorun += "open=" + program.toLatin1() + "\r\n";
    for (const QString &label : labels)
        autorun += "shell\\" + label.toLatin1() + "=" + label.toLatin1() + "\r\nshell\\" + label.toLatin1()
            + "\\command=setup.exe\r\n";
    openExisting(autorun);
    MainWindow &f = form();
    f.fillDriveMenu();
    QStringList shown;
    for (QAction *a : named<QMenu>(f, "pm_Menu")->actions()) {
        if (a->isSeparator()) {
            shown << "-";
            continue;
        }
        shown << QString(a == named<QMenu>(f, "pm_Menu")->defaultAction() ? "*" : "")
                + (a->isEnabled() ? "+" : "") + a->text();
    }
    QCOMPARE(shown, entries);
}

void TestFiles::driveMenuOpensFilesAndFollowsEdits()
{
    openExisting("[autorun]\r\nshell\\a=Instaluj\r\nshell\\a\\command=SETUP.EXE\r\n"
                 "shell\\b=Duzy\r\nshell\\b\\command=<h1>duzy</h1>.exe\r\n");
    MainWindow &f = form();
    f.fillDriveMenu();
    QAction *entry = named<QMenu>(f, "pm_Menu")->actions().at(3);
    QCOMPARE(entry->toolTip(), m_folder + "setup.exe"); // the file as the disc will find it
    entry->trigger();
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    QCOMPARE(m_fixture->shell.opened[0].target, m_folder + "setup.exe");
    QCOMPARE(m_fixture->shell.opened[0].verb, QStringLiteral("open"));

    // Unsaved edits show at the next opening: the first entry deleted, the other renamed in place.
    QTreeView *list = named<QTreeView>(f, "lv_Lista");
    UserInput::clickListRow(list, 0);
    QTest::keyClick(list, Qt::Key_Delete);
    UserInput::clickListRow(list, 0);
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = list->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "Nowa nazwa");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!list->findChild<QLineEdit *>());
    f.fillDriveMenu();
    QCOMPARE(named<QMenu>(f, "pm_Menu")->actions().at(3)->text(), QStringLiteral("Nowa nazwa"));
    QVERIFY(
        named<QMenu>(f, "pm_Menu")->actions().at(3)->toolTip().contains("&lt;h1&gt;duzy")); // a path, never
                                                                                            // markup

    QVERIFY(named<QFrame>(f, "Panel3")->contextMenuPolicy() == Qt::CustomContextMenu);
    QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton); // a panel detaches the menu
    QVERIFY(named<QFrame>(f, "Panel3")->contextMenuPolicy() == Qt::NoContextMenu);
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
