#include "Controls.h"
#include "IconFixtures.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

using namespace ExecutableWriter;
using namespace IconFixtures;
using namespace UserInput;

// One menu from an empty window to the file on disk, with nothing but clicks and keys.
class TestRoad : public QObject
{
    Q_OBJECT

private slots:
    void fromFolderToFile();
};

void TestRoad::fromFolderToFile()
{
    WindowFixture fixture;
    MainWindow &f = *fixture.start().main;
    QTemporaryDir root;
    const QString folder = root.path() + "/Płyta/";
    QVERIFY(writeTestFile(folder + "setup.exe",
                          writePe(false, false, iconResources(icoFile({square(32, Qt::red)}), 1, 1))));
    QVERIFY(writeTestFile(folder + "bin/view.exe", writePe(false, false, {})));
    QList<ResourceEntry> three;
    for (quint16 i = 0; i < 3; ++i)
        three += iconResources(icoFile({square(32, QColor::fromHsv(i * 100, 255, 255))}), i + 1, i + 1);
    QVERIFY(writeTestFile(folder + "art/ikony.dll", writePe(false, true, three)));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    typeOver(named<FolderEdit>(f, "de_Folder"), folder.chopped(1));
    QCOMPARE(f.dataFolder(), QString()); // typing alone takes nothing
    press(Qt::Key_Return);
    QCOMPARE(f.dataFolder(), folder);
    typeOver(named<QLineEdit>(f, "e_Etykieta"), u"Moja płyta źź"_qs);

    QTest::mouseClick(named<QToolButton>(f, "sb_AutoRun"), Qt::LeftButton);
    clickRow(named<ChoiceList>(f, "lb_Programy"), 0);
    QCOMPARE(named<ChoiceList>(f, "lb_Programy")->text(0), QStringLiteral("setup.exe"));
    clickTab(named<QTabWidget>(f, "PageControl1"), 1);
    clickRow(named<ChoiceList>(f, "lb_Ikony"), rowOf(named<ChoiceList>(f, "lb_Ikony"), "art\\ikony.dll"));
    clickRow(named<IconList>(f, "dfsIconListBox1"), 2);
    QTest::mouseClick(named<QPushButton>(f, "sb_Auto_OK"), Qt::LeftButton);
    QVERIFY(!named<QFrame>(f, "p_Autorun")->isVisible());

    QVERIFY(clickPath(named<FolderTree>(f, "dfsSystemTreeView1"), folder + "bin/view.exe"));
    QTest::mouseClick(named<QPushButton>(f, "sb_Dodaj"), Qt::LeftButton);
    QCOMPARE(named<QComboBox>(f, "cb_NazwaPozycji")->currentText(), QStringLiteral("Zainstaluj view"));
    QTest::mouseClick(named<QPushButton>(f, "sb_Add_OK"), Qt::LeftButton);

    clickListRow(named<QTreeView>(f, "lv_Lista"), 0);
    QTest::keyClick(named<QTreeView>(f, "lv_Lista"), Qt::Key_F2);
    auto *editor = named<QTreeView>(f, "lv_Lista")->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, u"Przeglądarka"_qs);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(UserInput::rowText(named<QTreeView>(f, "lv_Lista"), 0, 0), u"Przeglądarka"_qs);

    fixture.messages.answers = {Messages::Answer::Ok};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QCOMPARE(fixture.messages.shown.size(), 1); // only the success
    QCOMPARE(readTestFile(folder + "autorun.inf"),
             QByteArray("[autorun]\r\nOpen=setup.exe\r\nIcon=art\\ikony.dll,2\r\n"
                        "Name=Moja p\xB3yta \x9F\x9F\r\nLabel=Moja p\xB3yta \x9F\x9F\r\n\r\n"
                        "shell\\00000\\command=bin\\view.exe\r\nshell\\00000=Przegl\xB9" "darka\r\n\r\n"));
}

QTEST_MAIN(TestRoad)
#include "tst_road.moc"
