#include "core/RegionData.h"

#include <QtTest>

#include <limits>

class TestRegionData : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void noOutline();
    void unsoundData_data();
    void unsoundData();
    void edgesOfInt_data();
    void edgesOfInt();
};

namespace {

using Edges = QList<qint32>; // left, top, right, bottom; right and bottom exclusive

constexpr qint32 intMin = std::numeric_limits<qint32>::min();
constexpr qint32 intMax = std::numeric_limits<qint32>::max();

// Corners, not a size: QRect(x, y, width, height) itself overflows at these edges.
QRect corners(qint32 left, qint32 top, qint32 right, qint32 bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The stored rectangles, bounding rectangle first; none for no outline.
QList<Edges> storedEdges(const QByteArray &stored)
{
    QList<Edges> rects;
    const qint32 count = qFromLittleEndian<qint32>(stored.constData()) > 0
                             ? qFromLittleEndian<qint32>(stored.constData() + 4 + 8) : -1;
    for (qint32 i = 0; i <= count; ++i) {
        const char *at = stored.constData() + 4 + 16 + 16 * i;
        rects << Edges{qFromLittleEndian<qint32>(at), qFromLittleEndian<qint32>(at + 4),
                       qFromLittleEndian<qint32>(at + 8), qFromLittleEndian<qint32>(at + 12)};
    }
    return rects;
}

} // namespace

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

// Rectangles at the ends of int (the test build stops at any signed overflow): an exclusive
// edge past int is clamped, what is left empty is left out, the rest is written as it is.
void TestRegionData::edgesOfInt_data()
{
    QTest::addColumn<QList<QRect>>("rects");
    QTest::addColumn<QList<Edges>>("stored");
    QTest::newRow("x = INT_MAX - 1, to the end of int")
        << QList<QRect>{corners(intMax - 1, 0, intMax, 9)}
        << QList<Edges>{{intMax - 1, 0, intMax, 10}, {intMax - 1, 0, intMax, 10}};
    QTest::newRow("x = INT_MAX - 1, width 10 wrapped round")
        << QList<QRect>{corners(intMax - 1, 0, intMin + 7, 9)} << QList<Edges>{};
    QTest::newRow("one column at INT_MAX")
        << QList<QRect>{corners(intMax, intMax, intMax, intMax)} << QList<Edges>{};
    QTest::newRow("negative extremes")
        << QList<QRect>{corners(intMin, intMin, intMin + 9, intMin)}
        << QList<Edges>{{intMin, intMin, intMin + 10, intMin + 1}, {intMin, intMin, intMin + 10, intMin + 1}};
    QTest::newRow("the whole of int")
        << QList<QRect>{corners(intMin, intMin, intMax, intMax)}
        << QList<Edges>{{intMin, intMin, intMax, intMax}, {intMin, intMin, intMax, intMax}};
    QTest::newRow("both ends, bounded together")
        << QList<QRect>{corners(intMin, 0, intMin, 0), QRect(), corners(intMax - 5, -3, intMax, -1)}
        << QList<Edges>{{intMin, -3, intMax, 1}, {intMin, 0, intMin + 1, 1}, {intMax - 5, -3, intMax, 0}};
}

void TestRegionData::edgesOfInt()
{
    QFETCH(QList<QRect>, rects);
    QFETCH(QList<Edges>, stored);
    const QByteArray written = RegionData::write(rects);
    QCOMPARE(storedEdges(written), stored);
    QCOMPARE(RegionData::read(written).size(), qMax(qsizetype(0), stored.size() - 1));
}

QTEST_GUILESS_MAIN(TestRegionData)
#include "tst_regiondata.moc"
