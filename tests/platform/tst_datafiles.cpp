#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Finding the help and tips files from the build folder and from an installed prefix, on real folders.
class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
};

namespace {

void writeFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

void TestDataFiles::find_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QStringList>("present");  // files written under the prefix folder
    QTest::addColumn<QString>("expected");     // under the prefix folder

    QTest::newRow("build folder: beside the program")
        << "porady.dat" << QStringList{"bin/porady.dat"} << "bin/porady.dat";
    QTest::newRow("installed: share/pelmora")
        << "porady.dat" << QStringList{"share/pelmora/porady.dat"} << "share/pelmora/porady.dat";
    QTest::newRow("installed help page in its folder")
        << "help/pelmora.html" << QStringList{"share/pelmora/help/pelmora.html"}
        << "share/pelmora/help/pelmora.html";
    QTest::newRow("a copy beside the program wins")
        << "porady.dat" << QStringList{"bin/porady.dat", "share/pelmora/porady.dat"} << "bin/porady.dat";
    QTest::newRow("missing everywhere: named beside the program")
        << "porady.dat" << QStringList{} << "bin/porady.dat";
    QTest::newRow("a folder of that name is not the file")
        << "porady.dat" << QStringList{"bin/porady.dat/x"} << "bin/porady.dat";
    QTest::newRow("another program's share folder is not ours")
        << "porady.dat" << QStringList{"share/other/porady.dat"} << "bin/porady.dat";
}

void TestDataFiles::find()
{
    QFETCH(QString, relative);
    QFETCH(QStringList, present);
    QFETCH(QString, expected);

    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    writeFile(prefix.filePath(QStringLiteral("bin/pelmora")));
    for (const QString &file : present)
        writeFile(prefix.filePath(file));

    QCOMPARE(dataFile(prefix.filePath(QStringLiteral("bin/pelmora")), relative),
             QDir(prefix.path()).filePath(expected));
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
