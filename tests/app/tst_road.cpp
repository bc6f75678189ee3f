#include "IconFixtures.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/TForm1.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
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
    TForm1 &f = *fixture.start().main;
    QTemporaryDir root;
    const QString folder = root.path() + "/Płyta/";
    QVERIFY(writeTestFile(folder + "setup.exe", writePe(false, false, iconResources(icoFile({square(32, Qt::red)}), 1, 1))));
    QVERIFY(writeTestFile(folder + "bin/view.exe", writePe(false, false, {})));
    QList<ResourceEntry> three;
    for (quint16 i = 0; i < 3; ++i)
        three += iconResources(icoFile({square(32, QColor::fromHsv(i * 100, 255, 255))}), i + 1, i + 1);
    QVERIFY(writeTestFile(folder + "art/ikony.dll", writePe(false, true, three)));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    typeOver(f.de_Folder, folder.chopped(1));
    QCOMPARE(f.dataFolder(), QString()); // typing alone takes nothing
    press(Qt::Key_Return);
    QCOMPARE(f.dataFolder(), folder);
    typeOver(f.e_Etykieta, u"Moja płyta źź"_qs);

    QTest::mouseClick(f.sb_AutoRun, Qt::LeftButton);
    clickRow(f.lb_Programy, 0);
    QCOMPARE(f.lb_Programy->item(0)->text(), QStringLiteral("setup.exe"));
    clickTab(f.PageControl1, 1);
    clickRow(f.lb_Ikony, rowOf(f.lb_Ikony, "art\\ikony.dll"));
    clickRow(f.dfsIconListBox1, 2);
    QTest::mouseClick(f.sb_Auto_OK, Qt::LeftButton);
    QVERIFY(!f.p_Autorun->isVisible());

    QVERIFY(clickPath(f.dfsSystemTreeView1, folder + "bin/view.exe"));
    QTest::mouseClick(f.sb_Dodaj, Qt::LeftButton);
    QCOMPARE(f.cb_NazwaPozycji->currentText(), QStringLiteral("Zainstaluj view"));
    QTest::mouseClick(f.sb_Add_OK, Qt::LeftButton);

    clickItem(f.lv_Lista, f.lv_Lista->topLevelItem(0));
    QTest::keyClick(f.lv_Lista, Qt::Key_F2);
    auto *editor = f.lv_Lista->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, u"Przeglądarka"_qs);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(f.lv_Lista->topLevelItem(0)->text(0), u"Przeglądarka"_qs);

    fixture.messages.answers = {Messages::Answer::Ok};
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
    QCOMPARE(fixture.messages.shown.size(), 1); // only the success
    QCOMPARE(readTestFile(folder + "autorun.inf"),
             QByteArray("[autorun]\r\nOpen=setup.exe\r\nIcon=art\\ikony.dll,2\r\n"
                        "Name=Moja p\xB3yta \x9F\x9F\r\nLabel=Moja p\xB3yta \x9F\x9F\r\n\r\n"
                        "shell\\00000\\command=bin\\view.exe\r\nshell\\00000=Przegl\xB9" "darka\r\n\r\n"));
}

QTEST_MAIN(TestRoad)
#include "tst_road.moc"
