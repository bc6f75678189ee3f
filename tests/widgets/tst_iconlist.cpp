#include "IconFixtures.h"
#include "widgets/IconList.h"

#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace ExecutableWriter;
using namespace IconFixtures;

class TestIconListBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loads_data();
    void loads();
    void iconsAreReadWhenDrawn();
    void sameNameDoesNothingReloadDoes();
    void otherLetterCaseLoadsAgain();
    void missingFileDisables();
    void bestImageIsTheLargeOne();
    void drawnImage_data();
    void drawnImage();
    void rowsInTheLayoutSize_data();
    void rowsInTheLayoutSize();
    void damagedIconsShowNothing();
    void cells();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
    QString m_program; // three icons: red, green, blue
};

QString TestIconListBox::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

void TestIconListBox::initTestCase()
{
    QList<ResourceEntry> resources;
    resources += iconResources(icoFile({square(32, Qt::red)}), 1, 1);
    resources += iconResources(icoFile({square(32, Qt::green)}), 2, 2);
    resources += iconResources(icoFile({square(32, Qt::blue)}), 3, 3);
    m_program = write("setup.exe", writePe(false, false, resources));
}

void TestIconListBox::loads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("icons");
    QList<ResourceEntry> two = iconResources(icoFile({square(32, Qt::red)}), 7, 10)
        + iconResources(icoFile({square(32, Qt::green)}), 9, 20);
    QTest::newRow("64-bit library") << writePe(true, true, two) << "ikony.dll" << 2;
    QTest::newRow("16-bit icon library") << writeNe(true, two) << "ikony.icl" << 2;
    QTest::newRow("icon file: one icon") << icoFile({square(16, Qt::red), square(32, Qt::red)}) << "dysk.ico" << 1;
    QTest::newRow("program without icons") << writePe(false, false, {}) << "bez.exe" << 0;
    QTest::newRow("not a program") << QByteArray("tekst") << "czytaj.txt" << 0;
}

void TestIconListBox::loads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(int, icons);
    IconList box;
    QSignalSpy changed(&box, &IconList::fileChanged);
    box.setFileName(write(name, bytes));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.iconCount(), icons);
    QCOMPARE(box.count(), icons);
    QCOMPARE(box.currentRow(), icons > 0 ? 0 : -1);
    QVERIFY(box.isEnabled()); // an existing file, with or without icons
    for (int i = 0; i < icons; ++i) {
        QCOMPARE(box.text(i), QString::number(i));
        QCOMPARE(box.iconAt(i).size(), QSize(32, 32));
    }
}

void TestIconListBox::iconsAreReadWhenDrawn()
{
    IconList box;
    box.setFileName(m_program);
    QCOMPARE(box.iconCount(), 3);
    QVERIFY(!box.model()->index(2, 0).data(Qt::DecorationRole).isValid()); // not read yet
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(box.iconAt(i).toImage().pixelColor(16, 16), colours[i]);

    IconList eager;
    eager.setCachingEnabled(false);
    eager.setFileName(m_program);
    QVERIFY(eager.model()->index(2, 0).data(Qt::DecorationRole).isValid()); // read with the file
}

void TestIconListBox::sameNameDoesNothingReloadDoes()
{
    IconList box;
    box.setFileName(m_program);
    box.clearIcons();
    QCOMPARE(box.count(), 0);
    QCOMPARE(box.iconCount(), 3);
    QSignalSpy changed(&box, &IconList::fileChanged);
    box.setFileName(m_program);
    QCOMPARE(box.count(), 0);
    QCOMPARE(changed.count(), 0);
    box.reload();
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.currentRow(), 0);
}

void TestIconListBox::otherLetterCaseLoadsAgain()
{
    IconList box;
    box.setFileName(m_program);
    box.clearIcons();
    box.setFileName(m_dir.filePath("SETUP.EXE")); // another name: loaded (and missing here)
    QCOMPARE(box.iconCount(), -1);
    box.setFileName(m_program);
    QCOMPARE(box.count(), 3);
}

void TestIconListBox::missingFileDisables()
{
    IconList box;
    QCOMPARE(box.iconCount(), -1);
    QVERIFY(!box.isEnabled()); // no file yet
    box.setFileName(m_program);
    QVERIFY(box.isEnabled());
    box.setFileName(m_dir.filePath("brak.exe"));
    QVERIFY(!box.isEnabled());
    QCOMPARE(box.iconCount(), -1);
    QCOMPARE(box.count(), 0);
    box.setAutoDisable(false);
    QVERIFY(box.isEnabled());
}

void TestIconListBox::bestImageIsTheLargeOne()
{
    const QString path =
        write("wiele.ico", icoFile({square(16, Qt::red), square(32, Qt::green), square(48, Qt::blue)}));
    IconList box;
    box.setFileName(path);
    const QPixmap icon = box.iconAt(0);
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(icon.toImage().pixelColor(16, 16), QColor(Qt::green));

    const QString big = write("duza.ico", icoFile({square(64, Qt::blue)}));
    box.setFileName(big);
    QCOMPARE(box.iconAt(0).size(), QSize(32, 32)); // scaled to the large size
}

void TestIconListBox::drawnImage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    const QList<IcoImage> images = {bmpImage(32, 4, Qt::red), bmpImage(32, 8, Qt::green),
                                    bmpImage(32, 32, Qt::blue), bmpImage(48, 32, Qt::cyan),
                                    bmpImage(16, 32, Qt::yellow)};
    QTest::newRow("icon file, 16 colours first") << icoFile(images) << "wiele.ico" << QColor(Qt::blue);
    QTest::newRow("program, 16 colours first")
        << writePe(false, false, iconResources(icoFile(images), 1, 1)) << "wiele.exe" << QColor(Qt::blue);
}

void TestIconListBox::drawnImage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    IconList box;
    box.setFileName(write(name, bytes));
    const QPixmap icon = box.iconAt(0);
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(icon.toImage().pixelColor(16, 16), colour);
}

void TestIconListBox::rowsInTheLayoutSize_data()
{
    QTest::addColumn<int>("icons");
    QTest::addColumn<bool>("twoRows");
    QTest::newRow("3 icons") << 3 << true;
    QTest::newRow("24 icons: two full rows") << 24 << true;
    QTest::newRow("30 icons: one row over a scroll bar") << 30 << false;
}

void TestIconListBox::rowsInTheLayoutSize()
{
    QFETCH(int, icons);
    QFETCH(bool, twoRows);
    QList<ResourceEntry> resources;
    for (int i = 0; i < icons; ++i)
        resources += iconResources(icoFile({square(32, QColor::fromHsv(i * 10, 255, 255))}), quint16(i + 1),
                                   quint16(i + 1));
    IconList box;
    box.resize(460, 77); // as the main window lays it out
    box.setFileName(write("ikony.dll", writePe(false, true, resources)));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QRect first = box.visualRect(box.model()->index(0, 0));
    const QRect second = box.visualRect(box.model()->index(1, 0));
    QCOMPARE(second.left() == first.left() && second.top() > first.bottom(), twoRows);
    QVERIFY(box.viewport()->rect().contains(second));
    QCOMPARE(box.horizontalScrollBar()->isVisible(), !twoRows);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(box.currentRow(), 1);
    QTest::keyClick(&box, Qt::Key_End);
    QCOMPARE(box.currentRow(), icons - 1);
    const QRect last = box.visualRect(box.model()->index(icons - 1, 0));
    QVERIFY(box.viewport()->rect().contains(last.center())); // scrolled to it
}

void TestIconListBox::damagedIconsShowNothing()
{
    // A group that names an image the file does not hold, and one cut short.
    QList<ResourceEntry> resources = iconResources(icoFile({square(32, Qt::red)}), 1, 1);
    resources.removeFirst(); // the image
    QByteArray cut = iconResources(icoFile({square(32, Qt::red)}), 2, 5).last().data;
    cut.chop(4);
    resources.append({14, 2, 0, cut, {}});
    IconList box;
    box.setFileName(write("zepsuty.exe", writePe(false, false, resources)));
    QCOMPARE(box.iconCount(), 2);
    QVERIFY(box.iconAt(0).isNull());
    QVERIFY(box.iconAt(1).isNull());
    QVERIFY(!box.grab().isNull()); // drawing the empty cells is fine
}

void TestIconListBox::cells()
{
    IconList box;
    QCOMPARE(box.cellSize(), QSize(37, 37));
    box.setMargin(9);
    QCOMPARE(box.gridSize(), QSize(41, 41));
    QCOMPARE(box.flow(), QListView::TopToBottom);
}

QTEST_MAIN(TestIconListBox)
#include "tst_iconlist.moc"
