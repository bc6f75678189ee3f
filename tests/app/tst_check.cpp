#include "Controls.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "dialogs/DiscCheckWindow.h"
#include "widgets/FolderEdit.h"

#include <QApplication>
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
    QCOMPARE(m_fixture->messages.texts(), QStringList{"Nie znaleziono problemów."});
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
    QCOMPARE(named<QListWidget>(*check, "lb_Wyniki")->count(), 3);
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

void TestCheck::fileWithoutTheSection()
{
    takeFolder("[inne]\r\nopen=setup.exe\r\n");
    QAction *entry = openCheckEntry();
    QVERIFY(entry);
    UserInput::clickEntry(named<QMenu>(form(), "pm_Nowe"), entry);
    DiscCheckWindow *check = form().findChild<DiscCheckWindow *>();
    QVERIFY(check && named<QListWidget>(*check, "lb_Wyniki")->count() == 1);
    QCOMPARE(named<QListWidget>(*check, "lb_Wyniki")->item(0)->toolTip(), QStringLiteral("no-autorun-section"));
}

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
