#include "IconFixtures.h"
#include "core/IconDirectory.h"

#include <QtEndian>
#include <QtTest>

using namespace IconFixtures;

// Which image of an icon file is drawn at 32 × 32, judged from the file's own directory.
class TestIconDirectory : public QObject
{
    Q_OBJECT

private slots:
    void drawnImage_data();
    void drawnImage();
    void hostile_data();
    void hostile();
};

namespace {

IcoImage withoutBitCount(IcoImage image)
{
    image.bitCount = 0;
    image.colourCount = 0;
    return image;
}

QByteArray patched32(QByteArray bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

} // namespace

void TestIconDirectory::drawnImage_data()
{
    QTest::addColumn<QByteArray>("ico");
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bitCount");
    const IcoImage red4 = bmpImage(32, 4, Qt::red);
    QTest::newRow("16 colours first, then 256, true colour, 48 and 16")
        << icoFile({red4, bmpImage(32, 8, Qt::green), bmpImage(32, 32, Qt::blue), bmpImage(48, 32, Qt::cyan),
                    bmpImage(16, 32, Qt::yellow)})
        << 2 << QSize(32, 32) << 32;
    QTest::newRow("256 colours over 16") << icoFile({red4, bmpImage(32, 8, Qt::green)}) << 1 << QSize(32, 32) << 8;
    QTest::newRow("the size before the colours") << icoFile({bmpImage(48, 32, Qt::cyan), bmpImage(32, 1, Qt::red)})
                                                 << 1 << QSize(32, 32) << 1;
    QTest::newRow("no 32: the nearest size") << icoFile({bmpImage(16, 32, Qt::red), bmpImage(40, 8, Qt::green)})
                                             << 1 << QSize(40, 40) << 8;
    QTest::newRow("as near: the most colours") << icoFile({bmpImage(16, 8, Qt::red), bmpImage(48, 32, Qt::green)})
                                               << 1 << QSize(48, 48) << 32;
    QTest::newRow("equals: the first") << icoFile({bmpImage(32, 32, Qt::red), bmpImage(32, 32, Qt::green)}) << 0
                                       << QSize(32, 32) << 32;
    QTest::newRow("entry without bit count: the bitmap's own")
        << icoFile({red4, withoutBitCount(bmpImage(32, 8, Qt::green))}) << 1 << QSize(32, 32) << 8;
    QTest::newRow("PNG without bit count: its depth") << icoFile({bmpImage(32, 24, Qt::red), pngImage(32, Qt::green)})
                                                      << 1 << QSize(32, 32) << 32;
    QTest::newRow("256 stored as 0") << icoFile({pngImage(256, Qt::red)}) << 0 << QSize(256, 256) << 32;
    // The best entry's data lies past the end of the file: the next best is drawn.
    const QByteArray two = icoFile({red4, bmpImage(32, 32, Qt::blue)});
    QTest::newRow("damaged best entry") << patched32(two, 6 + 16 + 12, quint32(two.size())) << 0 << QSize(32, 32)
                                        << 4;
}

void TestIconDirectory::drawnImage()
{
    QFETCH(QByteArray, ico);
    QFETCH(int, index);
    QFETCH(QSize, size);
    QFETCH(int, bitCount);
    const std::optional<IconImageInfo> drawn = drawnImageOf(ico);
    QVERIFY(drawn);
    QCOMPARE(drawn->index, index);
    QCOMPARE(QSize(drawn->width, drawn->height), size);
    QCOMPARE(drawn->bitCount, bitCount);
}

void TestIconDirectory::hostile_data()
{
    QTest::addColumn<QByteArray>("ico");
    const QByteArray one = icoFile({bmpImage(32, 8, Qt::red)});
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("zero entries") << icoFile(QList<IcoImage>{});
    QTest::newRow("header cut") << one.left(5);
    QTest::newRow("directory cut") << one.left(6 + 10);
    QTest::newRow("count larger than the data") << one.left(4) + QByteArray("\xFF\x00", 2) + one.mid(6);
    QTest::newRow("a cursor file") << one.left(2) + QByteArray("\x02\x00", 2) + one.mid(4);
    QTest::newRow("image cut") << one.left(one.size() - 1);
    QTest::newRow("offset past the end") << patched32(one, 6 + 12, 0xFFFFFFF0);
    QTest::newRow("size past the end") << patched32(one, 6 + 8, 0xFFFFFFFF);
    QTest::newRow("data neither BMP nor PNG") << patched32(one, 22, 0x12345678);
}

void TestIconDirectory::hostile()
{
    QFETCH(QByteArray, ico);
    QVERIFY(!drawnImageOf(ico));
    QVERIFY(iconImages(ico).isEmpty());
}

QTEST_MAIN(TestIconDirectory)
#include "tst_icondirectory.moc"
