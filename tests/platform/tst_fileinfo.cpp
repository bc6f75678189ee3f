#include "ExecutableWriter.h"
#include "SpecialFiles.h"
#include "platform/FileInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ExecutableWriter;

// The file information of real program files written to disk.
class TestFileInfo : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void displayName_data();
    void displayName();
    void flags_data();
    void flags();
    void ownVersion();
    void specialFilesAreNotOpened_data();
    void specialFilesAreNotOpened();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

namespace {

VersionContent polishSetup()
{
    VersionContent content;
    content.translations = {{0x0415, 0x04E2}};
    content.tables = {{"041504e2", {{"CompanyName", "Quorvale"}, {"FileDescription", "Kreator instalacji"},
                                 {"LegalCopyright", u"© 2026"_qs}, {"ProductVersion", "1.2"}}}};
    return content;
}

QByteArray peWith(const VersionContent &content, bool dll = false, bool pe64 = false)
{
    return writePe(pe64, dll, {{16, 1, 0x0415, versionBlock(content, true), {}}});
}

} // namespace

QString TestFileInfo::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

void TestFileInfo::read_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("company");
    QTest::addColumn<int>("fileType");

    QTest::newRow("program, first translation") << "setup.exe" << peWith(polishSetup()) << true
                                                << "Kreator instalacji" << "Quorvale" << 1;
    QTest::newRow("64-bit program") << "setup64.exe" << peWith(polishSetup(), false, true) << true
                                    << "Kreator instalacji" << "Quorvale" << 1;
    VersionContent second = polishSetup();
    second.translations = {{0x0409, 0x04B0}, {0x0415, 0x04E2}};
    QTest::newRow("strings only under a second translation") << "second.exe" << peWith(second) << true
                                                             << "" << "" << 1;
    QTest::newRow("no version resource") << "plain.exe" << writePe(false, false, {}) << true << "" << "" << 0;
    QTest::newRow("library is no program") << "lib.dll" << peWith(polishSetup(), true) << false << "" << "" << 0;
    VersionContent installable = polishSetup();
    installable.type = 3;    // driver
    installable.subtype = 8; // installable
    QTest::newRow("installable driver program") << "drv.exe" << peWith(installable) << true
                                                << "Kreator instalacji" << "Quorvale" << 13;
    VersionContent system = installable;
    system.subtype = 7;
    QTest::newRow("system driver program") << "sys.exe" << peWith(system) << true
                                           << "Kreator instalacji" << "Quorvale" << 12;
    QTest::newRow("16-bit program") << "old.exe"
                                    << writeNe(false, {{16, 1, 0, versionBlock(polishSetup(), false), {}}})
                                    << true << "Kreator instalacji"
                                    << "Quorvale" << 1;
    QTest::newRow("dos program") << "dos.exe" << writeDosProgram() << true << "" << "" << 0;
    QTest::newRow("text file") << "czytaj.txt" << QByteArray("MZ? no, just text") << false << "" << "" << 0;
    QByteArray truncated = peWith(polishSetup());
    truncated.truncate(truncated.size() / 2);
    QTest::newRow("truncated program") << "cut.exe" << truncated << true << "" << "" << 0;
}

void TestFileInfo::read()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, executable);
    QFETCH(QString, description);
    QFETCH(QString, company);
    QFETCH(int, fileType);

    const QString path = write(name, bytes);
    QVERIFY(!path.isEmpty());
    FileVersionInfo info;
    info.comments = "left over";
    const FileInfo file(path);
    file.readVersionInfo(info);
    QCOMPARE(info.isExecutable, executable);
    QCOMPARE(info.fileDescription, description);
    QCOMPARE(info.companyName, company);
    QCOMPARE(info.fileType, fileType);
    QVERIFY(info.comments.isEmpty()); // the record is emptied first
    QVERIFY(!info.typeName.isEmpty()); // every existing file has a type name
}

void TestFileInfo::displayName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("program") << "setup.exe" << "setup";
    QTest::newRow("other case") << "SETUP.EXE" << "SETUP";
    QTest::newRow("only the last extension") << "dane.tar.gz" << "dane.tar";
    QTest::newRow("unknown extension") << "dane.qqzz" << "dane.qqzz";
    QTest::newRow("no extension") << "czytaj" << "czytaj";
    QTest::newRow("name starting with a dot") << ".exe" << ".exe";
}

void TestFileInfo::displayName()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QCOMPARE(FileInfo("/nie/istnieje/" + name).displayName(), shown);
}

void TestFileInfo::flags_data()
{
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QList<bool>>("expected"); // debug, prerelease, patched, private, inferred, special
    QTest::newRow("all set, all valid")
        << quint32(0x3F) << quint32(0x3F) << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("set but masked out")
        << quint32(0x00) << quint32(0x3F) << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("debug and special")
        << quint32(0x3F) << quint32(0x21) << QList<bool>{true, false, false, false, false, true};
    QTest::newRow("prerelease outside the mask")
        << quint32(0x3D) << quint32(0x06) << QList<bool>{false, false, true, false, false, false};
}

void TestFileInfo::flags()
{
    QFETCH(quint32, mask);
    QFETCH(quint32, flags);
    QFETCH(QList<bool>, expected);
    VersionContent content = polishSetup();
    content.flagsMask = mask;
    content.flags = flags;
    FileVersionInfo info;
    FileInfo(write("flags.exe", peWith(content))).readVersionInfo(info);
    QCOMPARE((QList<bool>{info.debug, info.preRelease, info.patched, info.privateBuildFlag, info.infoInferred,
                          info.specialBuildFlag}),
             expected);
}

void TestFileInfo::ownVersion()
{
    QCOMPARE(ownVersionText(), QStringLiteral("1.2.0.28"));
}

// A program's name on something that is no file: it is not opened, and it is no program.
void TestFileInfo::specialFilesAreNotOpened_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("link to /dev/zero") << "/dev/zero";
    QTest::newRow("folder") << "folder";
}

void TestFileInfo::specialFilesAreNotOpened()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    SpecialFiles special;
    const QString path = dir.filePath("setup.exe");
    QVERIFY(special.make(kind, path));
    const FileVersionInfo info = returnsAtOnce([&] {
        FileVersionInfo read;
        read.comments = "left over";
        FileInfo(path).readVersionInfo(read);
        return read;
    });
    QVERIFY(!info.isExecutable);
    QVERIFY(info.comments.isEmpty());
}

QTEST_MAIN(TestFileInfo)
#include "tst_fileinfo.moc"
