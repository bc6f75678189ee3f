#include "widgets/OwnPictures.h"

#include <QDirIterator>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

class TestOwnPictures : public QObject
{
    Q_OBJECT
private slots:
    void pixelsAreThePngs();
    void brokenFileGivesNoPicture_data();
    void brokenFileGivesNoPicture();
};

// The pixels built into the program are those of the drawings: a PNG drawn again without its
// .pam written again shows here.
void TestOwnPictures::pixelsAreThePngs()
{
    int compared = 0;
    QDirIterator it(QStringLiteral(":/pictures"), {QStringLiteral("*.pam")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pam = it.next();
        const QString png = QStringLiteral(PELMORA_ASSETS) + pam.mid(1).chopped(4) + QStringLiteral(".png");
        const QImage drawn(png);
        QVERIFY2(!drawn.isNull(), qPrintable(png));
        // As the window draws them: pixmaps, their colours premultiplied by their opacity.
        QCOMPARE(ownPicture(pam).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 QPixmap::fromImage(drawn).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
        ++compared;
    }
    QCOMPARE(compared, 11);
}

void TestOwnPictures::brokenFileGivesNoPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray header = "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    QTest::newRow("pixels cut short") << header + QByteArray(15, '\xff');
    QTest::newRow("no end of header") << QByteArray("P7\nWIDTH 2\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\n");
    QTest::newRow("16-bit") << QByteArray(header).replace("MAXVAL 255", "MAXVAL 65535") + QByteArray(32, '\xff');
    QTest::newRow("grey") << QByteArray(header).replace("DEPTH 4", "DEPTH 1") + QByteArray(4, '\xff');
    QTest::newRow("no width") << QByteArray(header).replace("WIDTH 2", "WIDTH x") + QByteArray(16, '\xff');
    QTest::newRow("too wide to hold") << QByteArray(header).replace("WIDTH 2", "WIDTH 2147483647") + QByteArray(16, '\xff');
    QTest::newRow("another format") << QByteArray("P6\n2 2\n255\n") + QByteArray(12, '\xff');
    QTest::newRow("empty") << QByteArray();
}

void TestOwnPictures::brokenFileGivesNoPicture()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("broken.pam")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QVERIFY(ownPicture(file.fileName()).isNull());
}

QTEST_MAIN(TestOwnPictures)
#include "tst_ownpictures.moc"
