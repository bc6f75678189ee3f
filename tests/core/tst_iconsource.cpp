#include "IconFixtures.h"
#include "TestFiles.h"
#include "core/ExecutableImage.h"
#include "core/IconDirectory.h"
#include "core/IconSource.h"

#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ExecutableWriter;
using namespace IconFixtures;

// Icon numbers as Windows counts them: one per icon group, whatever its languages.
class TestIconSource : public QObject
{
    Q_OBJECT

private slots:
    void iconNumbers_data();
    void iconNumbers();
    void oneSizeReadAlone_data();
    void oneSizeReadAlone();
    void pipesAreNotOpened_data();
    void pipesAreNotOpened();
};

namespace {

const QList<QColor> groupColours{Qt::red, Qt::green, Qt::blue, Qt::yellow};
// In ascending order, as the directory keeps them; later languages are drawn grey.
const QList<quint16> languages{0x0405, 0x0409, 0x0415};

// A program whose group i (id i + 1) exists in languageCounts[i] languages; its first language
// is drawn in the group's colour. The languages are given last first: the directory sorts them.
QList<ResourceEntry> groups(const QList<int> &languageCounts)
{
    QList<ResourceEntry> resources;
    for (qsizetype g = 0; g < languageCounts.size(); ++g) {
        for (int l = languageCounts[g] - 1; l >= 0; --l) {
            const QColor colour = l == 0 ? groupColours[g] : QColor(Qt::gray);
            resources += iconResources(icoFile({square(32, colour)}), quint16(g + 1),
                                       quint16(10 * g + l + 1), languages[l]);
        }
    }
    return resources;
}

QColor drawn(const QByteArray &ico)
{
    return QImage::fromData(ico, "ICO").pixelColor(16, 16);
}

} // namespace

void TestIconSource::iconNumbers_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QColor>>("icons");

    const QList<QColor> rgb{Qt::red, Qt::green, Qt::blue};
    QTest::newRow("one group, one language") << writePe(false, false, groups({1}))
                                             << QList<QColor>{Qt::red};
    QTest::newRow("three groups, one language each") << writePe(false, false, groups({1, 1, 1}))
                                                     << rgb;
    QTest::newRow("first of two groups in two languages")
        << writePe(false, false, groups({2, 1})) << QList<QColor>{Qt::red, Qt::green};
    QTest::newRow("one, two and three languages") << writePe(false, false, groups({1, 2, 3}))
                                                  << rgb;
    QTest::newRow("three, one and two languages") << writePe(false, true, groups({3, 1, 2}))
                                                  << rgb;
    QTest::newRow("64-bit, every group in three languages")
        << writePe(true, true, groups({3, 3, 3, 3})) << groupColours;
    // 16-bit files have no languages: the resource table's order is the icons' order.
    QList<ResourceEntry> table = iconResources(icoFile({square(32, Qt::red)}), 9, 1)
                                 + iconResources(icoFile({square(32, Qt::green)}), 2, 2)
                                 + iconResources(icoFile({square(32, Qt::blue)}), 5, 3);
    QTest::newRow("16-bit library, ids out of order") << writeNe(true, table) << rgb;
}

void TestIconSource::iconNumbers()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QColor>, icons);
    QTemporaryDir dir;
    const QString path = dir.filePath("ikony.exe");
    QVERIFY(writeTestFile(path, file));

    const IconSource source(path);
    QCOMPARE(source.count(), icons.size());
    for (int i = 0; i < icons.size(); ++i)
        QCOMPARE(drawn(source.icoFile(i)), icons[i]);
    QVERIFY(source.icoFile(int(icons.size())).isEmpty());
}

void TestIconSource::pipesAreNotOpened_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("program") << "x.exe";
    QTest::newRow("icon file") << "x.ico";
}

// Opening a pipe for reading waits for a writer: the readers must not open one at all.
void TestIconSource::pipesAreNotOpened()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

    auto read = std::async(std::launch::async, [path] {
        return IconSource(path).count() == 0
               && ExecutableImage::fromFile(path).kind() == ExecutableImage::Kind::NotExecutable;
    });
    if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Opening the other end lets a waiting reader go, so that the test ends.
        do {
            const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        } while (read.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
        QFAIL("a reader waited on the pipe");
    }
    QVERIFY(read.get());
}

void TestIconSource::oneSizeReadAlone_data()
{
    QTest::addColumn<QList<IcoImage>>("images");
    QTest::addColumn<int>("size");
    const QColor c = Qt::darkGreen;
    QTest::newRow("32 px of several depths") << QList<IcoImage>{bmpImage(16, 8, c), bmpImage(32, 4, c), bmpImage(32, 32, c),
                                                               bmpImage(48, 32, c), pngImage(256, c)} << 32;
    QTest::newRow("no 32 px: the nearest") << QList<IcoImage>{bmpImage(16, 32, c), bmpImage(48, 8, c), pngImage(256, c)} << 32;
    QTest::newRow("48 px, as the preview draws") << QList<IcoImage>{bmpImage(32, 32, c), bmpImage(48, 32, c)} << 48;
    IcoImage noBits = bmpImage(24, 32, c);
    noBits.bitCount = 0; // old files leave it to the image's own header
    QTest::newRow("a bit count left 0") << QList<IcoImage>{bmpImage(24, 8, c), noBits} << 32;
}

// The image a list draws at one size, read alone from a library, is the one chosen from the
// whole icon: the same entry, the same bytes.
void TestIconSource::oneSizeReadAlone()
{
    QFETCH(QList<IcoImage>, images);
    QFETCH(int, size);
    QTemporaryDir dir;
    const QByteArray ico = icoFile(images);
    const QString path = dir.filePath("ikony.dll");
    QVERIFY(writeTestFile(path, writePe(false, true, iconResources(ico, 1, 1) + iconResources(ico, 2, 20))));
    const IconSource source(path);
    QCOMPARE(source.count(), 2);
    for (int index = 0; index < 2; ++index) {
        const QByteArray whole = source.icoFile(index);
        const QByteArray alone = source.icoFile(index, size);
        const std::optional<IconImageInfo> chosen = bestIconImage(whole, size);
        QVERIFY(chosen);
        const QList<IconImageInfo> read = iconImages(alone);
        QCOMPARE(read.size(), 1);
        QCOMPARE(QList<int>({read[0].width, read[0].height, read[0].bitCount}),
                 QList<int>({chosen->width, chosen->height, chosen->bitCount}));
        QCOMPARE(alone.mid(iconDirHeaderSize + 16), whole.mid(qFromLittleEndian<quint32>(whole.constData() + iconDirHeaderSize + 16 * chosen->index + 12),
                                                      qFromLittleEndian<quint32>(whole.constData() + iconDirHeaderSize + 16 * chosen->index + 8)));
    }
}

QTEST_MAIN(TestIconSource)
#include "tst_iconsource.moc"
