#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "dialogs/DiscCheckWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>

#include <QtTest>

// "Sprawdź płytę..." in the "Menu ..." pop-up, driven with the mouse.
class TestCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryNeedsAFolder();
    void soundDiscSaysSo();
    void doubleClickLeadsToTheFix_data();
    void doubleClickLeadsToTheFix();
    void sectionsAndTheImage();
    void fileWithoutTheSection();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    // Opens pm_Nowe with a click on sb_Nowe and clicks the check's entry.
    QAction *openCheckEntry();
    void takeFolder(const QByteArray &autorun);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestCheck::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

QAction *TestCheck::openCheckEntry()
{
    return UserInput::openMenuEntry(named<QToolButton>(form(), "sb_Nowe"), named<QMenu>(form(), "pm_Nowe"),
                                    "Sprawdzplyte1");
}

void TestCheck::takeFolder(const QByteArray &autorun)
{
    const QString folder = m_root->filePath("plyta/");
    QVERIFY(writeTestFile(folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(folder + "autorun.inf", autorun));
    m_fixture->messages.answers << Messages::Answer::Yes; // open the menu file found there
    named<FolderEdit>(form(), "de_Folder")->setFolder(folder);
}

void TestCheck::entryNeedsAFolder()
{
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    QVERIFY(!entry->isEnabled());
    named<QMenu>(form(), "pm_Nowe")->close();
    takeFolder("[autorun]\r\nopen=setup.exe\r\n");
    entry = openCheckEntry();
    QVERIFY(entry && entry->isEnabled());
}

void TestCheck::soundDiscSaysSo()
{
    takeFolder("[autorun]\r\nopen=setup.exe\r\nlabel=Gra\r\nshell\\a=Graj\r\nshell\\a\\command=setup.exe\r\n");
    m_fixture->messages.shown.clear();
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);
    // What the image will be is information, not a problem: told with the answer.
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY2(m_fixture->messages.shown[0].text.startsWith(u"Nie znaleziono problemów.\r\rObraz płyty będzie miał "_qs)
                 && m_fixture->messages.shown[0].text.endsWith(u"zmieści się na płycie: CD 650 MB, CD 700 MB, DVD 4,7 GB, DVD DL 8,5 GB, BD 25 GB."_qs),
             qPrintable(m_fixture->messages.shown[0].text));
    QCOMPARE(m_fixture->messages.shown[0].caption, QStringLiteral("INFORMACJA !!!"));
    QVERIFY(!form().findChild<DiscCheckWindow *>());
}

void TestCheck::doubleClickLeadsToTheFix_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("focus"); // the widget that takes the focus; empty: the auto-start panel opens
    QTest::addColumn<int>("listRow");

    // Findings: open-missing (open), label-long (label), item-missing (the second entry).
    QTest::newRow("program of open") << 0 << QString() << -1;
    QTest::newRow("label") << 1 << "e_Etykieta" << -1;
    QTest::newRow("entry") << 2 << "lv_Lista" << 1;
}

void TestCheck::doubleClickLeadsToTheFix()
{
    QFETCH(int, row);
    QFETCH(QString, focus);
    QFETCH(int, listRow);

    takeFolder("[autorun]\r\nopen=brak.exe\r\nlabel=" + QByteArray(40, 'x')
               + "\r\nshell\\a=Graj\r\nshell\\a\\command=setup.exe\r\n"
                 "shell\\b=&Pomoc\r\nshell\\b\\command=pomoc.exe\r\n");
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);

    DiscCheckWindow *check = form().findChild<DiscCheckWindow *>();
    QVERIFY(check && check->isVisible());
    QCOMPARE(named<QListWidget>(*check, "lb_Wyniki")->count(), 4); // and the image's size
    QVERIFY(QTest::qWaitForWindowExposed(check));
    UserInput::doubleClick(named<QListWidget>(*check, "lb_Wyniki"),
                           named<QListWidget>(*check, "lb_Wyniki")->model()->index(row, 0));

    if (focus.isEmpty()) {
        QVERIFY(form().panelOpen());
        return;
    }
    const auto focused = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    QTRY_COMPARE(focused(), focus);
    if (listRow < 0)
        return;
    QTreeView *list = named<QTreeView>(form(), "lv_Lista");
    QCOMPARE(list->currentIndex().row(), listRow);
    QVERIFY(named<QListWidget>(*check, "lb_Wyniki")
                ->item(row)
                ->text()
                .contains(u"„Pomoc”"_qs)); // as the menu shows it
    const QRect shown(list->viewport()->mapToGlobal(list->visualRect(list->currentIndex()).topLeft()),
                      list->visualRect(list->currentIndex()).size());
    QVERIFY(!check->frameGeometry().intersects(shown)); // the findings window leaves the entry in view
}

// An architecture section is shown where the preview names the program, and the drive's menu
// says it is [autorun]'s; the image's findings lead to the tree.
void TestCheck::sectionsAndTheImage()
{
    QVERIFY(writeTestFile(m_root->filePath("plyta/Readme.txt"), "a") && writeTestFile(m_root->filePath("plyta/README.TXT"), "b"));
    takeFolder("[autorun]\r\nopen=setup.exe\r\n[autorun.amd64]\r\nopen=setup64.exe\r\n");
    QLabel *sections = named<QLabel>(form(), "l_Sekcje");
    QVERIFY(sections->isVisible());
    QCOMPARE(sections->text(), u"Plik ma też sekcje (tylko do odczytu): [autorun.amd64]"_qs);
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);
    DiscCheckWindow *check = form().findChild<DiscCheckWindow *>();
    QVERIFY(check && check->isVisible());
    QListWidget *list = named<QListWidget>(*check, "lb_Wyniki");
    QStringList codes;
    for (int i = 0; i < list->count(); ++i)
        codes << list->item(i)->toolTip();
    QCOMPARE(codes, QStringList({"arch-section", "open-missing", "name-not-on-windows", "disc-size"}));
    QVERIFY(list->item(1)->text().endsWith(u"(sekcja [autorun.amd64])."_qs));
    QVERIFY(QTest::qWaitForWindowExposed(check));

    UserInput::doubleClick(list, list->model()->index(1, 0));
    QVERIFY(!form().panelOpen()); // the section is shown, not edited
    QVERIFY(!check->frameGeometry().intersects(QRect(sections->mapToGlobal(QPoint()), sections->size())));

    UserInput::doubleClick(list, list->model()->index(2, 0));
    FolderTree *tree = form().findChild<FolderTree *>();
    QTRY_COMPARE(QApplication::focusWidget(), tree);
    QCOMPARE(QDir::cleanPath(tree->selectedPath()), QDir::cleanPath(m_root->filePath("plyta")));

    // The drive's menu is [autorun]'s, and says so.
    check->close();
    UserInput::rightClick(named<QLabel>(form(), "Image2"), QPoint(40, 40));
    QMenu *menu = named<QMenu>(form(), "pm_Menu");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().at(0)->text(), u"Menu z sekcji [autorun]"_qs);
    QVERIFY(!menu->actions().at(0)->isEnabled() && menu->actions().at(1)->isSeparator());
    menu->close();
}

void TestCheck::fileWithoutTheSection()
{
    takeFolder("[inne]\r\nopen=setup.exe\r\n");
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);
    DiscCheckWindow *check = form().findChild<DiscCheckWindow *>();
    QVERIFY(check && named<QListWidget>(*check, "lb_Wyniki")->count() == 2);
    QCOMPARE(named<QListWidget>(*check, "lb_Wyniki")->item(0)->toolTip(), QStringLiteral("no-autorun-section"));
}

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
