#include "ExecutableWriter.h"
#include "TestFiles.h"
#include "core/ExecutableImage.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace ExecutableWriter;

class TestExecutableImage : public QObject
{
    Q_OBJECT

private slots:
    void kind_data();
    void kind();
    void fromFile();
    void resources_data();
    void resources();
    void resourceData_data();
    void resourceData();
    void firstLanguages_data();
    void firstLanguages();
    void largeFilesAreReadInPart_data();
    void largeFilesAreReadInPart();
    void hostile_data();
    void hostile();
    void truncated_data();
    void truncated();
    void overlappingDataIsNotCopiedBeyondTheFileSize();
    void resourceCountIsCapped();
    void largeTreeReadFromAFile();
};

namespace {

using Kind = ExecutableImage::Kind;

constexpr quint16 icon = 3;
constexpr quint16 groupIcon = 14;
constexpr quint16 version = 16;

// NE files keep resource lengths in 16-byte units here, so every sample fills 16 bytes and
// reads back the same from both formats.
QByteArray d(const char *text)
{
    return QByteArray(text).leftJustified(16, '.');
}

// Given out of order on purpose: the PE writer sorts as a linker does.
QList<ResourceEntry> sampleResources()
{
    return {
        {icon, 2, 0x0409, d("icon two"), {}},
        {version, 1, 0x0409, d("version"), {}},
        {icon, 1, 0x0415, d("icon one pl"), {}},
        {icon, 1, 0x0409, d("icon one en"), {}},
        {groupIcon, 5, 0x0409, d("group five"), {}},
        {groupIcon, 0, 0x0409, d("group main"), QStringLiteral("MAINICON")},
        {icon, 0, 0x0409, d("named icon"), QStringLiteral("Extra")},
    };
}

QString describe(const ExecutableImage::ResourceName &name)
{
    return name.numeric ? QString::number(name.id) : u'"' + name.name + u'"';
}

// "name/language=data" for every resource, which also shows their order.
QStringList describe(const QList<ExecutableImage::Resource> &resources)
{
    QStringList list;
    for (const auto &r : resources)
        list << describe(r.name) + u'/' + QString::number(r.language, 16) + u'='
                    + QString::fromLatin1(r.data).remove(u'.');
    return list;
}

quint32 get32(const QByteArray &b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

QByteArray set16(QByteArray b, qint64 at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
    return b;
}

QByteArray set32(QByteArray b, qint64 at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
    return b;
}

// Offsets (from the directory root) of the parts that lead to the first icon, found by
// following the tree: the icon type is the first id entry of the root.
struct IconPath
{
    qint64 root = PeLayout::resourceFileOffset;
    qint64 typeDirectory;
    qint64 firstNameDirectory;
    qint64 firstDataEntry;
};

IconPath iconPath(const QByteArray &pe)
{
    IconPath p;
    p.typeDirectory = get32(pe, p.root + 16 + 4) & 0x7FFFFFFF;
    p.firstNameDirectory = get32(pe, p.root + p.typeDirectory + 16 + 4) & 0x7FFFFFFF;
    p.firstDataEntry = get32(pe, p.root + p.firstNameDirectory + 16 + 4);
    return p;
}

const QStringList peIcons{
    "\"Extra\"/409=named icon", "1/409=icon one en", "1/415=icon one pl", "2/409=icon two"};
const QStringList neIcons{
    "2/0=icon two", "1/0=icon one pl", "1/0=icon one en", "\"Extra\"/0=named icon"};

} // namespace

void TestExecutableImage::kind_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("dll");
    QTest::addColumn<bool>("shellExecutable");

    const QList<ResourceEntry> none;
    QTest::newRow("pe32 program") << writePe(false, false, sampleResources()) << Kind::Pe32
                                  << false << true;
    QTest::newRow("pe32 dll") << writePe(false, true, sampleResources()) << Kind::Pe32 << true
                              << false;
    QTest::newRow("pe32+ program") << writePe(true, false, none) << Kind::Pe64 << false << true;
    QTest::newRow("pe32+ dll") << writePe(true, true, none) << Kind::Pe64 << true << false;
    QTest::newRow("ne program") << writeNe(false, sampleResources()) << Kind::Ne << false << true;
    QTest::newRow("ne library") << writeNe(true, none) << Kind::Ne << true << true;
    QTest::newRow("dos, e_lfanew 0") << writeDosProgram(0) << Kind::Dos << false << true;
    QTest::newRow("dos, e_lfanew into its code") << writeDosProgram(0x40) << Kind::Dos << false
                                                 << true;
    QTest::newRow("dos, e_lfanew past the end") << writeDosProgram(0xFFFFFFFE) << Kind::Dos
                                                << false << true;
    QTest::newRow("text file") << QByteArray("[autorun]\r\nopen=setup.exe\r\n")
                               << Kind::NotExecutable << false << false;
    QTest::newRow("text starting with MZ") << QByteArray("MZ is a monogram\n")
                                           << Kind::NotExecutable << false << false;
    QTest::newRow("empty file") << QByteArray() << Kind::NotExecutable << false << false;
    QTest::newRow("MZ only") << QByteArray("MZ") << Kind::NotExecutable << false << false;
    QTest::newRow("DOS header only") << writeDosProgram().left(64) << Kind::Dos << false << true;

    // A new header that is not whole leaves a DOS program.
    const QByteArray pe = writePe(false, true, none);
    QTest::newRow("pe, unknown optional magic")
        << set16(pe, PeLayout::optionalHeader, 0x107) << Kind::Dos << false << true;
    QTest::newRow("pe, cut before the optional magic")
        << pe.left(PeLayout::optionalHeader + 1) << Kind::Dos << false << true;
    QTest::newRow("pe, cut after the optional magic")
        << pe.left(PeLayout::optionalHeader + 2) << Kind::Pe32 << true << false;
    QTest::newRow("ne, header cut short") << writeNe(true, none).left(NeLayout::newHeader + 0x3F)
                                          << Kind::Dos << false << true;
}

void TestExecutableImage::kind()
{
    QFETCH(QByteArray, file);
    QFETCH(Kind, kind);
    QFETCH(bool, dll);
    QFETCH(bool, shellExecutable);

    const ExecutableImage image = ExecutableImage::fromBytes(file);
    QCOMPARE(image.kind(), kind);
    QCOMPARE(image.isDll(), dll);
    QCOMPARE(image.isShellExecutable(), shellExecutable);
}

void TestExecutableImage::fromFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("program.exe");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writePe(true, false, sampleResources()));
    file.close();

    const ExecutableImage image = ExecutableImage::fromFile(path);
    QCOMPARE(image.kind(), Kind::Pe64);
    QCOMPARE(describe(image.resources(icon)), peIcons);

    QCOMPARE(ExecutableImage::fromFile(dir.filePath("missing.exe")).kind(), Kind::NotExecutable);
    QCOMPARE(ExecutableImage::fromFile(dir.path()).kind(), Kind::NotExecutable);

    // An installer with a payload appended after its sections reads as the program it is:
    // only the part the sections reach is read. Sparse, so the size costs no disc space.
    const QString huge = dir.filePath("huge.exe");
    QFile big(huge);
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(writePe(false, false, sampleResources()));
    QVERIFY(big.resize(ExecutableImage::maxFileSize + 1));
    big.close();
    const ExecutableImage installer = ExecutableImage::fromFile(huge);
    QCOMPARE(installer.kind(), Kind::Pe32);
    QVERIFY(!installer.versionResource().isEmpty());

    // A 16-bit module has no sections to go by: beyond the limit it is not read at all.
    const QString hugeNe = dir.filePath("huge16.exe");
    QFile bigNe(hugeNe);
    QVERIFY(bigNe.open(QIODevice::WriteOnly));
    bigNe.write(writeNe(false, sampleResources()));
    QVERIFY(bigNe.resize(ExecutableImage::maxFileSize + 1));
    bigNe.close();
    QCOMPARE(ExecutableImage::fromFile(hugeNe).kind(), Kind::NotExecutable);
}

void TestExecutableImage::resources_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("expected");

    const QList<ResourceEntry> all = sampleResources();
    // PE directories list string names first, then ids ascending, languages ascending.
    QTest::newRow("pe32 icons") << writePe(false, false, all) << int(icon) << peIcons;
    QTest::newRow("pe32+ icons") << writePe(true, true, all) << int(icon) << peIcons;
    QTest::newRow("pe32 groups") << writePe(false, false, all) << int(groupIcon)
                                 << QStringList{"\"MAINICON\"/409=group main", "5/409=group five"};
    QTest::newRow("pe32 versions") << writePe(false, false, all) << int(version)
                                   << QStringList{"1/409=version"};
    QTest::newRow("pe32 absent type") << writePe(false, false, all) << 24 << QStringList();
    QTest::newRow("pe32 without resources") << writePe(false, false, {}) << int(icon)
                                            << QStringList();
    QTest::newRow("pe32 type 0x10003 is not an icon")
        << writePe(false, false, {{icon, 1, 0, "icon", {}}}) << int(icon + 0x100)
        << QStringList();

    // NE resource tables keep the order they were written in and have no languages.
    QTest::newRow("ne icons") << writeNe(false, all) << int(icon) << neIcons;
    QTest::newRow("ne groups") << writeNe(true, all) << int(groupIcon)
                               << QStringList{"5/0=group five", "\"MAINICON\"/0=group main"};
    QTest::newRow("ne absent type") << writeNe(false, all) << 24 << QStringList();
    QTest::newRow("ne without resources") << writeNe(false, {}) << int(icon) << QStringList();

    QTest::newRow("dos program") << writeDosProgram() << int(icon) << QStringList();
}

void TestExecutableImage::resources()
{
    QFETCH(QByteArray, file);
    QFETCH(int, type);
    QFETCH(QStringList, expected);

    const ExecutableImage image = ExecutableImage::fromBytes(file);
    const auto found = image.resources(quint16(type));
    QCOMPARE(describe(found), expected);
    for (const auto &r : found)
        QVERIFY(r.type.numeric && r.type.id == type);
}

void TestExecutableImage::resourceData_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("wide");

    const QList<ResourceEntry> all = sampleResources();
    const QByteArray pe = writePe(false, false, all);
    const QByteArray ne = writeNe(false, all);
    QTest::newRow("pe, first language") << pe << int(icon) << 1 << d("icon one en")
                                        << d("version") << true;
    QTest::newRow("pe, other id") << pe << int(icon) << 2 << d("icon two")
                                  << d("version") << true;
    QTest::newRow("pe, absent id") << pe << int(icon) << 7 << QByteArray() << d("version")
                                   << true;
    QTest::newRow("pe, a named resource has no id 0") << pe << int(groupIcon) << 0 << QByteArray()
                                                      << d("version") << true;
    QTest::newRow("ne, first of one id") << ne << int(icon) << 1 << d("icon one pl")
                                         << d("version") << false;
    QTest::newRow("ne, a named resource has no id 0") << ne << int(icon) << 0 << QByteArray()
                                                      << d("version") << false;
    QTest::newRow("pe without version") << writePe(true, false, {{icon, 1, 0, d("i"), {}}})
                                        << int(icon) << 1 << d("i") << QByteArray()
                                        << true;
    QTest::newRow("dos program") << writeDosProgram() << int(icon) << 1 << QByteArray()
                                 << QByteArray() << false;
}

void TestExecutableImage::resourceData()
{
    QFETCH(QByteArray, file);
    QFETCH(int, type);
    QFETCH(int, id);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, version);
    QFETCH(bool, wide);

    const ExecutableImage image = ExecutableImage::fromBytes(file);
    QCOMPARE(image.resourceData(quint16(type), quint16(id)), data);
    QCOMPARE(image.versionResource(), version);
    QCOMPARE(image.versionIsWide(), wide);
}

// One resource per name, in its first language; a damaged first language keeps the name's
// place with no data, so later names keep their numbers.
void TestExecutableImage::firstLanguages_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    const QByteArray pe = writePe(false, false, sampleResources());
    const IconPath p = iconPath(pe);
    // Data entries follow the directory order: "Extra"/409, 1/409, 1/415, 2/409.
    const qint64 oneEnglish = p.root + p.firstDataEntry + 16;
    QTest::newRow("pe") << pe
                        << QStringList{"\"Extra\"/409=named icon", "1/409=icon one en", "2/409=icon two"};
    QTest::newRow("pe, first language past the file")
        << set32(pe, oneEnglish + 4, 0xFFFFFFFF)
        << QStringList{"\"Extra\"/409=named icon", "1/409=", "2/409=icon two"};
    QTest::newRow("pe, first language leads to a directory")
        << set32(pe, p.root + p.firstNameDirectory + 16 + 4, 0x80000000 | quint32(p.firstDataEntry))
        << QStringList{"\"Extra\"/409=", "1/409=icon one en", "2/409=icon two"};
    QTest::newRow("ne: no languages, every resource") << writeNe(false, sampleResources()) << neIcons;
    QTest::newRow("ne, data past the file")
        << set16(writeNe(false, sampleResources()), NeLayout::resourceTable + 2 + 8, 0xFFFF)
        << QStringList{"2/0=", "1/0=icon one pl", "1/0=icon one en", "\"Extra\"/0=named icon"};
}

void TestExecutableImage::firstLanguages()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(ExecutableImage::fromBytes(file).firstLanguages(icon)), expected);
}

void TestExecutableImage::largeFilesAreReadInPart_data()
{
    QTest::addColumn<qint64>("payloadSection");
    QTest::addColumn<qint64>("appended");
    constexpr qint64 megabyte = 1024 * 1024;
    QTest::newRow("300 MB section between code and resources") << 300 * megabyte << qint64(0);
    QTest::newRow("300 MB after the last section") << qint64(0) << 300 * megabyte;
}

// An installer carries its payload in a section or after them, hundreds of megabytes: only the
// headers and the resources are read. Sparse files, so the size costs no disc space.
void TestExecutableImage::largeFilesAreReadInPart()
{
    QFETCH(qint64, payloadSection);
    QFETCH(qint64, appended);
    QTemporaryDir dir;
    const QString path = dir.filePath("setup.exe");
    QVERIFY(writePeWithPayload(path, quint32(payloadSection), sampleResources()));
    if (appended) {
        QFile file(path);
        QVERIFY(file.resize(file.size() + appended));
    }

    const ExecutableImage image = ExecutableImage::fromFile(path);
    QCOMPARE(image.kind(), Kind::Pe32);
    QCOMPARE(describe(image.resources(icon)), peIcons);
    QCOMPARE(image.versionResource(), d("version"));
    QVERIFY2(image.bytesRead() < 16 * 1024, qPrintable(QString::number(image.bytesRead())));
}

// Damaged files read without a crash or a hang and give only what is intact.
void TestExecutableImage::hostile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("icons");

    const QByteArray pe = writePe(false, false, sampleResources());
    const IconPath p = iconPath(pe);
    const qint64 root = p.root;
    const qint64 sections = PeLayout::optionalHeader + 224;
    const qint64 rsrcSection = sections + 40;
    const QStringList withoutFirst = peIcons.mid(1);

    QTest::newRow("intact") << pe << Kind::Pe32 << peIcons;
    QTest::newRow("type directory is the root")
        << set32(pe, root + 16 + 4, 0x80000000) << Kind::Pe32 << QStringList();
    QTest::newRow("name directory is the type directory")
        << set32(pe, root + p.typeDirectory + 16 + 4, 0x80000000 | quint32(p.typeDirectory))
        << Kind::Pe32 << withoutFirst;
    QTest::newRow("two names share one directory")
        << set32(pe, root + p.typeDirectory + 16 + 8 + 4,
                 0x80000000 | quint32(p.firstNameDirectory))
        << Kind::Pe32 << QStringList{peIcons[0], peIcons[3]};
    QTest::newRow("language entry leads to a directory")
        << set32(pe, root + p.firstNameDirectory + 16 + 4, 0x80000000 | quint32(p.firstDataEntry))
        << Kind::Pe32 << withoutFirst;
    QTest::newRow("type directory past the end")
        << set32(pe, root + 16 + 4, 0xFFFFFFF0) << Kind::Pe32 << QStringList();
    QTest::newRow("data entry past the end")
        << set32(pe, root + p.firstNameDirectory + 16 + 4, 0x7FFFFFF0) << Kind::Pe32
        << withoutFirst;
    QTest::newRow("name string past the end")
        << set32(pe, root + p.typeDirectory + 16, 0xFFFFFFF0) << Kind::Pe32 << withoutFirst;
    QTest::newRow("data rva past the image")
        << set32(pe, root + p.firstDataEntry, 0xFFFFFF00) << Kind::Pe32 << withoutFirst;
    QTest::newRow("data size past the file")
        << set32(pe, root + p.firstDataEntry + 4, 0xFFFFFFFF) << Kind::Pe32 << withoutFirst;
    QTest::newRow("data size of the whole section")
        << set32(pe, root + p.firstDataEntry + 4, get32(pe, rsrcSection + 16)) << Kind::Pe32
        << withoutFirst;
    // .text: rva 0x1000, six bytes of code in 0x200 file bytes, the resources after them. Its
    // file bytes past the six are not part of the image.
    const auto inText = [&](quint32 size) {
        return set32(set32(pe, root + p.firstDataEntry, 0x1000), root + p.firstDataEntry + 4, size);
    };
    const QString code =
        "\"Extra\"/409=" + QString::fromLatin1(QByteArray("\xB8\x01\0\0\0\xC3", 6));
    QTest::newRow("data in another section") << inText(6) << Kind::Pe32
                                             << QStringList{code} + withoutFirst;
    QTest::newRow("data past the virtual size of its section") << inText(7) << Kind::Pe32
                                                               << withoutFirst;
    QTest::newRow("data runs from its section into the next") << inText(0x300) << Kind::Pe32
                                                              << withoutFirst;
    QTest::newRow("65535 types in the root")
        << set16(pe, root + 14, 0xFFFF) << Kind::Pe32 << peIcons;
    QTest::newRow("65535 sections") << set16(pe, PeLayout::fileHeader + 2, 0xFFFF) << Kind::Pe32
                                    << peIcons;
    QTest::newRow("optional header past the end")
        << set16(pe, PeLayout::fileHeader + 16, 0xFFFF) << Kind::Pe32 << QStringList();
    QTest::newRow("no resource directory slot")
        << set32(pe, PeLayout::optionalHeader + 92, 2) << Kind::Pe32 << QStringList();
    QTest::newRow("resources outside every section")
        << set32(pe, PeLayout::optionalHeader + 96 + 16, 0x9000) << Kind::Pe32 << QStringList();
    QTest::newRow("resource section past the end")
        << set32(pe, rsrcSection + 20, 0xFFFFFE00) << Kind::Pe32 << QStringList();
    QTest::newRow("raw size past the end, virtual size still holds")
        << set32(pe, rsrcSection + 16, 0xFFFFFE00) << Kind::Pe32 << peIcons;
    QTest::newRow("raw and virtual size past the end")
        << set32(set32(pe, rsrcSection + 16, 0xFFFFFE00), rsrcSection + 8, 0xFFFFFE00)
        << Kind::Pe32 << peIcons;
    QTest::newRow("e_lfanew past the end") << set32(pe, 0x3C, 0xFFFFFFFC) << Kind::Dos
                                           << QStringList();

    // NE: the shift, counts and offsets of the resource table.
    const QByteArray ne = writeNe(false, sampleResources());
    const qint64 table = NeLayout::resourceTable;
    const qint64 firstIconInfo = table + 2 + 8; // icons are the lowest type
    QTest::newRow("ne intact") << ne << Kind::Ne << neIcons;
    QTest::newRow("ne shift 31") << set16(ne, table, 31) << Kind::Ne << QStringList();
    QTest::newRow("ne shift 17") << set16(ne, table, 17) << Kind::Ne << QStringList();
    QTest::newRow("ne shift 65535") << set16(ne, table, 0xFFFF) << Kind::Ne << QStringList();
    QTest::newRow("ne 65535 icons") << set16(ne, table + 2 + 2, 0xFFFF) << Kind::Ne
                                    << neIcons;
    QTest::newRow("ne resource table past the end")
        << set16(ne, NeLayout::newHeader + 0x24, 0xFFF0) << Kind::Ne << QStringList();
    QTest::newRow("ne data offset past the end")
        << set16(ne, firstIconInfo, 0xFFFF) << Kind::Ne << neIcons.mid(1);
    QTest::newRow("ne data length past the end")
        << set16(ne, firstIconInfo + 2, 0xFFFF) << Kind::Ne << neIcons.mid(1);
    QTest::newRow("ne name past the end")
        << set16(ne, firstIconInfo + 3 * 12 + 6, 0x7FFF) << Kind::Ne << neIcons.mid(0, 3);
}

void TestExecutableImage::hostile()
{
    QFETCH(QByteArray, file);
    QFETCH(Kind, kind);
    QFETCH(QStringList, icons);

    const ExecutableImage image = ExecutableImage::fromBytes(file);
    QCOMPARE(image.kind(), kind);
    QCOMPARE(describe(image.resources(icon)), icons);
    // The other types walk the same tree and must survive it as well.
    (void)image.resources(groupIcon);
    (void)image.versionResource();

    // Read from a file in parts, the same file gives the same.
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("damaged.exe"), file));
    const ExecutableImage read = ExecutableImage::fromFile(dir.filePath("damaged.exe"));
    QCOMPARE(read.kind(), kind);
    QCOMPARE(describe(read.resources(icon)), icons);
    QCOMPARE(read.versionResource(), image.versionResource());
    QCOMPARE(describe(read.firstLanguages(groupIcon)), describe(image.firstLanguages(groupIcon)));
}

void TestExecutableImage::truncated_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Kind>("kind");

    QTest::newRow("pe32") << writePe(false, false, sampleResources()) << Kind::Pe32;
    QTest::newRow("pe32+") << writePe(true, true, sampleResources()) << Kind::Pe64;
    QTest::newRow("ne") << writeNe(false, sampleResources()) << Kind::Ne;
}

// Every prefix of a file gives the whole answer or part of it, never something else.
void TestExecutableImage::truncated()
{
    QFETCH(QByteArray, file);
    QFETCH(Kind, kind);

    const ExecutableImage whole = ExecutableImage::fromBytes(file);
    const QStringList icons = describe(whole.resources(icon));
    const QByteArray versionData = whole.versionResource();
    QVERIFY(!icons.isEmpty());
    QVERIFY(!versionData.isEmpty());

    for (qsizetype length = 0; length < file.size(); ++length) {
        const ExecutableImage image = ExecutableImage::fromBytes(file.left(length));
        QVERIFY2(image.kind() == kind || image.kind() == Kind::Dos
                     || image.kind() == Kind::NotExecutable,
                 qPrintable(QString::number(length)));
        for (const QString &found : describe(image.resources(icon)))
            QVERIFY2(icons.contains(found), qPrintable(QString::number(length) + u' ' + found));
        const QByteArray v = image.versionResource();
        QVERIFY2(v.isEmpty() || v == versionData, qPrintable(QString::number(length)));
    }
}

// Entries may all point at the same or overlapping bytes; what is copied out stays within
// the size of the file, and entries of the same bytes share them.
void TestExecutableImage::overlappingDataIsNotCopiedBeyondTheFileSize()
{
    QList<ResourceEntry> many;
    for (quint16 id = 1; id <= 40; ++id)
        many.append({icon, id, 0, QByteArray(64, char('a' + id % 26)), {}});
    QByteArray pe = writePe(false, false, many);
    const IconPath p = iconPath(pe);
    const quint32 firstData = get32(pe, p.root + p.firstDataEntry);
    const qint64 sectionEnd = p.root + get32(pe, PeLayout::optionalHeader + 224 + 40 + 8);
    const quint32 span = quint32(sectionEnd - (firstData - PeLayout::resourceRva) - p.root);

    // All forty entries cover from the first data to the end of the section, one byte less
    // each time; the first two point at the very same bytes.
    qint64 entry = p.firstDataEntry;
    for (int i = 0; i < 40; ++i, entry += 16) {
        pe = set32(pe, p.root + entry, firstData);
        pe = set32(pe, p.root + entry + 4, span - quint32(std::max(0, i - 1)));
    }

    const auto found = ExecutableImage::fromBytes(pe).resources(icon);
    QVERIFY(found.size() >= 2);
    QVERIFY(found.size() < 40);
    QCOMPARE(found[0].data.constData(), found[1].data.constData()); // one copy
    qint64 copied = 0;
    for (qsizetype i = 1; i < found.size(); ++i)
        copied += found[i].data.size();
    QVERIFY(copied <= pe.size());
}

// Two language directories of 65535 entries each, all leading to the same data: the list
// stops at 65536, more than a real file holds.
void TestExecutableImage::resourceCountIsCapped()
{
    constexpr qint64 entries = 0xFFFF;
    constexpr qint64 directorySize = 16 + entries * 8;
    const QByteArray room(2 * directorySize, '\0');
    QByteArray pe = writePe(false, false,
                            {{icon, 1, 0, d("one"), {}}, {icon, 2, 0, d("two"), {}},
                             {10, 1, 0, room, {}}});
    const IconPath p = iconPath(pe);
    // The room is the data of the second type, followed down its tree.
    const qint64 rcdataDirectory = get32(pe, p.root + 16 + 8 + 4) & 0x7FFFFFFF;
    const qint64 rcdataName = get32(pe, p.root + rcdataDirectory + 16 + 4) & 0x7FFFFFFF;
    const qint64 rcdataEntry = get32(pe, p.root + rcdataName + 16 + 4);
    const qint64 roomAt = get32(pe, p.root + rcdataEntry) - PeLayout::resourceRva;

    for (qint64 directory = roomAt; directory < roomAt + 2 * directorySize;
         directory += directorySize) {
        qToLittleEndian<quint16>(quint16(entries), pe.data() + p.root + directory + 14);
        for (qint64 i = 0; i < entries; ++i) {
            char *entry = pe.data() + p.root + directory + 16 + 8 * i;
            qToLittleEndian<quint32>(quint32(i), entry);
            qToLittleEndian<quint32>(quint32(p.firstDataEntry), entry + 4);
        }
    }
    pe = set32(pe, p.root + p.typeDirectory + 16 + 4, 0x80000000 | quint32(roomAt));
    pe = set32(pe, p.root + p.typeDirectory + 16 + 8 + 4,
               0x80000000 | quint32(roomAt + directorySize));

    const auto found = ExecutableImage::fromBytes(pe).resources(icon);
    QCOMPARE(found.size(), 65536);
    QCOMPARE(found.last().data, d("one"));
}

// A file's resource tree is read from a first part of its section, more while a structure
// lies past it: a tree of a few hundred kilobytes, named and numbered, reads as the same bytes
// in memory do; without the icons' images, the places of the icons are the same.
void TestExecutableImage::largeTreeReadFromAFile()
{
    QList<ResourceEntry> entries;
    for (quint16 i = 1; i <= 3000; ++i) {
        entries.append({3, i, 0x415, QByteArray(40, char(i))});
        entries.append({14, i, 0x415, QByteArray(20, char(i)), i % 3 == 0 ? QStringLiteral("GRUPA%1").arg(i) : QString()});
    }
    entries.append({16, 1, 0x415, "wersja"});
    const QByteArray bytes = writePe(false, true, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath("ikony.dll");
    QVERIFY(writeTestFile(path, bytes));
    const ExecutableImage inMemory = ExecutableImage::fromBytes(bytes);
    const ExecutableImage file = ExecutableImage::fromFile(path);
    const ExecutableImage withoutImages = ExecutableImage::withoutIconImages(path);
    QCOMPARE(inMemory.resources(3).size(), 3000);
    for (const quint16 type : {quint16(3), quint16(14), quint16(16)}) {
        const auto described = [](const QList<ExecutableImage::Resource> &list) {
            QStringList text;
            for (const ExecutableImage::Resource &r : list)
                text << (r.name.numeric ? QString::number(r.name.id) : r.name.name) + ':' + QString::number(r.language)
                        + ':' + QString::fromLatin1(r.data.toHex());
            return text;
        };
        QCOMPARE(described(file.resources(type)), described(inMemory.resources(type)));
    }
    const auto placed = [](const ExecutableImage &image) {
        QList<qint64> where;
        for (const ExecutableImage::Place &place : image.places(3))
            where << place.offset << place.size;
        return where;
    };
    QCOMPARE(placed(withoutImages), placed(file));
    QCOMPARE(withoutImages.versionResource(), QByteArray("wersja"));
    QVERIFY(withoutImages.bytesRead() <= file.bytesRead());
}

QTEST_GUILESS_MAIN(TestExecutableImage)
#include "tst_executableimage.moc"
