#include "core/RegionData.h"

#include <QtTest>

class TestRegionData : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void noOutline();
    void unsoundData_data();
    void unsoundData();
};

void TestRegionData::roundTrip()
{
    const QList<QRect> rects{QRect(QPoint(8, 0), QPoint(529, 0)), QRect(QPoint(0, 8), QPoint(536, 265))};
    const QByteArray stored = RegionData::write(rects);
    QCOMPARE(stored.size(), 4 + 32 + 16 * 2);
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData()), 64);           // n
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 4 + 8), 2);    // nCount
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 4 + 16), 0);   // rcBound.left
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 4 + 24), 537); // rcBound.right, exclusive
    QCOMPARE(RegionData::read(stored), rects);
}

void TestRegionData::noOutline()
{
    QCOMPARE(RegionData::write({}), QByteArray(4, '\0'));
    QVERIFY(RegionData::read(QByteArray(4, '\0')).isEmpty());
}

void TestRegionData::unsoundData_data()
{
    QTest::addColumn<QByteArray>("stored");
    const QByteArray good = RegionData::write({QRect(0, 0, 10, 10)});
    QByteArray longer = good;
    longer[0] = char(200); // n beyond the data
    QByteArray many = good;
    qToLittleEndian<qint32>(1000000, many.data() + 4 + 8); // more rectangles than bytes
    QByteArray negative = good;
    qToLittleEndian<qint32>(-5, negative.data());
    QByteArray wrongType = good;
    wrongType[4 + 4] = 2;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("short count") << QByteArray(3, '\1');
    QTest::newRow("count past the end") << longer;
    QTest::newRow("too many rectangles") << many;
    QTest::newRow("negative count") << negative;
    QTest::newRow("not rectangles") << wrongType;
    QTest::newRow("cut short") << good.left(good.size() - 1);
}

void TestRegionData::unsoundData()
{
    QFETCH(QByteArray, stored);
    QVERIFY(RegionData::read(stored).isEmpty());
}

QTEST_GUILESS_MAIN(TestRegionData)
#include "tst_regiondata.moc"
