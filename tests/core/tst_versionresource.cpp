#include "ExecutableWriter.h"
#include "core/ExecutableImage.h"
#include "core/VersionResource.h"

#include <QtEndian>
#include <QtTest>

using namespace ExecutableWriter;

class TestVersionResource : public QObject
{
    Q_OBJECT

private slots:
    void strings_data();
    void strings();
    void fromExecutables_data();
    void fromExecutables();
    void fixedInfo_data();
    void fixedInfo();
    void fileType_data();
    void fileType();
    void hostile_data();
    void hostile();
    void truncated_data();
    void truncated();
};

namespace {

using Strings = QList<QPair<QString, QString>>;
using Translations = QList<QPair<quint16, quint16>>;

const Translations polish{{0x0415, 0x04E2}};
const Strings polishStrings{
    {"CompanyName", u"Wydawnictwo \u017B\u00F3\u0142w"_qs},
    {"FileDescription", u"Menu p\u0142yty"_qs},
    {"LegalCopyright", "(c) 2003"},
    {"Comments", ""},
};

VersionContent content(const Translations &translations,
                 const QList<QPair<QString, Strings>> &tables)
{
    VersionContent s;
    s.translations = translations;
    s.tables = tables;
    return s;
}

QString describe(const Translations &translations)
{
    QStringList list;
    for (const auto &[language, codePage] : translations)
        list << QString::asprintf("%04x:%04x", language, codePage);
    return list.join(u' ');
}

QByteArray set16(QByteArray b, qint64 at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
    return b;
}

// Where the first child of the root starts: after the header, the key and the fixed info.
qint64 firstChild(bool wide)
{
    const qint64 key = wide ? 6 + 2 * 16 : 4 + 16; // "VS_VERSION_INFO" and its NUL
    return (key + 3) / 4 * 4 + 52;
}

} // namespace

void TestVersionResource::strings_data()
{
    QTest::addColumn<bool>("wide");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("translations");

    for (const bool wide : {true, false}) {
        const char *w = wide ? "wide, " : "8-bit, ";
        const auto row = [&](const char *name, const VersionContent &s, const QString &key,
                             const QString &value) {
            QTest::addRow("%s%s", w, name) << wide << versionBlock(s, wide) << key << value
                                           << describe(s.translations);
        };
        const VersionContent plain = content(polish, {{"041504e2", polishStrings}});
        row("file description", plain, "FileDescription", u"Menu p\u0142yty"_qs);
        row("key in lower case", plain, "companyname", u"Wydawnictwo \u017B\u00F3\u0142w"_qs);
        row("key in other case", plain, "LegalCopyRight", "(c) 2003");
        row("empty value", plain, "Comments", "");
        row("absent key", plain, "ProductName", "");
        row("key prefix is not the key", plain, "Company", "");
        row("table name in upper case", content(polish, {{"041504E2", polishStrings}}),
            "FileDescription", u"Menu p\u0142yty"_qs);
        row("no translation", content({}, {{"041504e2", polishStrings}}), "FileDescription", "");
        row("strings only under the second translation",
            content({{0x0409, 0x04B0}, {0x0415, 0x04E2}}, {{"041504e2", polishStrings}}),
            "FileDescription", "");
        row("first translation's table, listed second",
            content({{0x0409, 0x04B0}, {0x0415, 0x04E2}},
                 {{"041504e2", polishStrings}, {"040904b0", {{"FileDescription", "Disc menu"}}}}),
            "FileDescription", "Disc menu");
        row("no such key in the first translation's table",
            content({{0x0409, 0x04B0}, {0x0415, 0x04E2}},
                 {{"040904b0", {{"ProductName", "x"}}}, {"041504e2", polishStrings}}),
            "FileDescription", "");
        row("of two keys differing in case the first counts",
            content(polish, {{"041504e2", {{"ProductName", "first"}, {"PRODUCTNAME", "second"}}}}),
            "productname", "first");
        row("of two tables differing in case the first counts",
            content(polish, {{"041504E2", {{"ProductName", "first"}}},
                          {"041504e2", {{"ProductName", "second"}}}}),
            "ProductName", "first");
        VersionContent withoutFixed = plain;
        withoutFixed.withFixed = false;
        row("no fixed info", withoutFixed, "FileDescription", u"Menu p\u0142yty"_qs);
    }
}

void TestVersionResource::strings()
{
    QFETCH(bool, wide);
    QFETCH(QByteArray, block);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, translations);

    const VersionResource version = parseVersionResource(block, wide);
    QCOMPARE(versionString(version, key), value);
    QCOMPARE(describe(version.translations), translations);
}

// The block as an executable carries it, found and parsed the way the file says.
void TestVersionResource::fromExecutables_data()
{
    QTest::addColumn<QByteArray>("file");

    const VersionContent s = content(polish, {{"041504e2", polishStrings}});
    const QList<ResourceEntry> pe{{16, 1, 0x0415, versionBlock(s, true), {}}};
    const QList<ResourceEntry> ne{{16, 1, 0, versionBlock(s, false), {}}};
    QTest::newRow("pe32") << writePe(false, false, pe);
    QTest::newRow("pe32+") << writePe(true, true, pe);
    QTest::newRow("ne") << writeNe(true, ne);
}

void TestVersionResource::fromExecutables()
{
    QFETCH(QByteArray, file);

    const ExecutableImage image = ExecutableImage::fromBytes(file);
    const VersionResource version =
        parseVersionResource(image.versionResource(), image.versionIsWide());
    QCOMPARE(versionString(version, "FileDescription"), u"Menu p\u0142yty"_qs);
    QVERIFY(version.fixed);
    QCOMPARE(version.fixed->fileVersionMS, 0x00010002u);
}

void TestVersionResource::fixedInfo_data()
{
    QTest::addColumn<bool>("wide");
    QTest::addColumn<quint32>("flagsMask");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<quint32>("bit");
    QTest::addColumn<bool>("set");

    for (const bool wide : {true, false}) {
        const char *w = wide ? "wide, " : "8-bit, ";
        QTest::addRow("%sdebug", w) << wide << 0x3Fu << 0x01u << 0x01u << true;
        QTest::addRow("%sdebug outside the mask", w) << wide << 0x3Eu << 0x01u << 0x01u << false;
        QTest::addRow("%sdebug in the mask only", w) << wide << 0x3Fu << 0x00u << 0x01u << false;
        QTest::addRow("%sprerelease", w) << wide << 0x3Fu << 0x02u << 0x02u << true;
        QTest::addRow("%spatched", w) << wide << 0x3Fu << 0x06u << 0x04u << true;
        QTest::addRow("%sprivate build", w) << wide << 0x08u << 0x08u << 0x08u << true;
        QTest::addRow("%sinfo inferred", w) << wide << 0x3Fu << 0x10u << 0x10u << true;
        QTest::addRow("%sspecial build", w) << wide << 0x3Fu << 0x20u << 0x20u << true;
        QTest::addRow("%sspecial build outside the mask", w) << wide << 0x1Fu << 0x3Fu << 0x20u
                                                             << false;
        QTest::addRow("%sother bit", w) << wide << 0x3Fu << 0x01u << 0x02u << false;
    }
}

void TestVersionResource::fixedInfo()
{
    QFETCH(bool, wide);
    QFETCH(quint32, flagsMask);
    QFETCH(quint32, flags);
    QFETCH(quint32, bit);
    QFETCH(bool, set);

    VersionContent s = content(polish, {});
    s.fileVersionMS = 0x00020003;
    s.fileVersionLS = 0x00040005;
    s.flagsMask = flagsMask;
    s.flags = flags;
    s.type = 3;
    s.subtype = 8;
    const QByteArray block = versionBlock(s, wide);

    const VersionResource version = parseVersionResource(block, wide);
    QVERIFY(version.fixed);
    QCOMPARE(version.fixed->signature, 0xFEEF04BDu);
    QCOMPARE(version.fixed->fileVersionMS, 0x00020003u);
    QCOMPARE(version.fixed->fileVersionLS, 0x00040005u);
    QCOMPARE(version.fixed->type, 3u);
    QCOMPARE(version.fixed->subtype, 8u);
    QCOMPARE(fixedFlag(*version.fixed, bit), set);

    // Without the signature the value is something else and is not taken for fixed info.
    const qint64 value = firstChild(wide) - 52;
    QVERIFY(!parseVersionResource(set16(block, value, 0x04BE), wide).fixed);
}

void TestVersionResource::fileType_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("subtype");
    QTest::addColumn<int>("value");

    QTest::newRow("unknown") << 0u << 0u << 0;
    QTest::newRow("unknown with a subtype") << 0u << 7u << 0;
    QTest::newRow("application") << 1u << 0u << 1;
    QTest::newRow("dll") << 2u << 0u << 2;
    QTest::newRow("static library") << 7u << 0u << 3;
    QTest::newRow("driver, unknown") << 3u << 0u << 4;
    QTest::newRow("driver, communications") << 3u << 10u << 5;
    QTest::newRow("driver, printer") << 3u << 1u << 6;
    QTest::newRow("driver, keyboard") << 3u << 2u << 7;
    QTest::newRow("driver, language") << 3u << 3u << 8;
    QTest::newRow("driver, display") << 3u << 4u << 9;
    QTest::newRow("driver, mouse") << 3u << 5u << 10;
    QTest::newRow("driver, network") << 3u << 6u << 11;
    QTest::newRow("driver, system") << 3u << 7u << 12;
    QTest::newRow("driver, installable") << 3u << 8u << 13;
    QTest::newRow("driver, sound") << 3u << 9u << 14;
    QTest::newRow("driver, input method") << 3u << 11u << 0;
    QTest::newRow("driver, versioned printer") << 3u << 12u << 0;
    QTest::newRow("font, unknown") << 4u << 0u << 15;
    QTest::newRow("font, raster") << 4u << 1u << 16;
    QTest::newRow("font, vector") << 4u << 2u << 17;
    QTest::newRow("font, truetype") << 4u << 3u << 18;
    QTest::newRow("font, subtype 4") << 4u << 4u << 0;
    QTest::newRow("virtual device") << 5u << 0u << 19;
    QTest::newRow("virtual device with its id") << 5u << 0x0028u << 19;
    QTest::newRow("type 6") << 6u << 0u << 0;
    QTest::newRow("type 8") << 8u << 0u << 0;
    QTest::newRow("type 0x10003") << 0x10003u << 8u << 0;
}

void TestVersionResource::fileType()
{
    QFETCH(quint32, type);
    QFETCH(quint32, subtype);
    QFETCH(int, value);

    QCOMPARE(fileTypeValue(type, subtype), value);
}

// Damaged blocks: whatever stands before the damage is read, the rest is not, and the parser
// neither crashes nor loops.
void TestVersionResource::hostile_data()
{
    QTest::addColumn<bool>("wide");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("translations");
    QTest::addColumn<bool>("fixed");

    const VersionContent s = content(polish, {{"041504e2", polishStrings}});
    const QString description = u"Menu p\u0142yty"_qs;
    for (const bool wide : {true, false}) {
        const char *w = wide ? "wide, " : "8-bit, ";
        const QByteArray block = versionBlock(s, wide);
        const qint64 child = firstChild(wide); // StringFileInfo

        QTest::addRow("%sintact", w) << wide << block << description << 1 << true;
        QTest::addRow("%sroot of length 0", w) << wide << set16(block, 0, 0) << "" << 0 << false;
        QTest::addRow("%sroot shorter than its header", w)
            << wide << set16(block, 0, 3) << "" << 0 << false;
        QTest::addRow("%sroot longer than the data", w)
            << wide << set16(block, 0, 0xFFFF) << description << 1 << true;
        QTest::addRow("%schild of length 0", w)
            << wide << set16(block, child, 0) << "" << 0 << true;
        QTest::addRow("%schild longer than the root", w)
            << wide << set16(block, child, 0xFFFF) << "" << 0 << true;
        QTest::addRow("%schild value past the root", w)
            << wide << set16(block, child + 2, 0xFFFF) << "" << 1 << true;
        if (wide)
            QTest::addRow("%sroot marked as text", w)
                << wide << set16(block, 4, 1) << description << 1 << true;
        QTest::addRow("%sfixed info longer than the root", w)
            << wide << set16(block, 2, 0xFFFF) << "" << 0 << true;
        QTest::addRow("%sfixed info cut short", w)
            << wide << set16(block, 2, 48) << "" << 0 << false;
        QTest::addRow("%sodd size", w) << wide << block + '\x01' << description << 1 << true;
        QTest::addRow("%sempty", w) << wide << QByteArray() << "" << 0 << false;
        QTest::addRow("%stwo bytes", w) << wide << QByteArray("\x06\x00", 2) << "" << 0 << false;

        // Nodes nested ten thousand deep, each the first child of the one before.
        QByteArray deep;
        for (int i = 0; i < 10000; ++i)
            deep += wide ? QByteArray("\0\0\0\0\0\0a\0\0\0\0\0", 12)
                         : QByteArray("\0\0\0\0a\0\0\0", 8);
        const qint64 node = wide ? 12 : 8;
        for (qint64 i = 0; i < 10000; ++i)
            deep = set16(deep, i * node, quint16(std::min<qint64>(0xFFFF, deep.size() - i * node)));
        QTest::addRow("%sdeep nesting", w) << wide << deep << "" << 0 << false;

        // Thousands of empty siblings under the root.
        QByteArray siblings(wide ? 12 : 8, '\0');
        siblings[wide ? 6 : 4] = 'x';
        for (int i = 0; i < 8000; ++i)
            siblings += wide ? QByteArray("\x0A\0\0\0\0\0y\0\0\0\0\0", 12)
                             : QByteArray("\x06\0\0\0y\0\0\0", 8);
        QTest::addRow("%smany siblings", w)
            << wide << set16(siblings, 0, 0xFFFF) << "" << 0 << false;
    }
}

void TestVersionResource::hostile()
{
    QFETCH(bool, wide);
    QFETCH(QByteArray, block);
    QFETCH(QString, description);
    QFETCH(int, translations);
    QFETCH(bool, fixed);

    const VersionResource version = parseVersionResource(block, wide);
    QCOMPARE(versionString(version, "FileDescription"), description);
    QCOMPARE(version.translations.size(), translations);
    QCOMPARE(version.fixed.has_value(), fixed);
}

void TestVersionResource::truncated_data()
{
    QTest::addColumn<bool>("wide");
    QTest::newRow("wide") << true;
    QTest::newRow("8-bit") << false;
}

// Every prefix of a block gives parts of the whole: its fixed info whole or not at all, a
// first part of the translations, and values that begin the whole values.
void TestVersionResource::truncated()
{
    QFETCH(bool, wide);

    const VersionContent s = content({{0x0415, 0x04E2}, {0x0409, 0x04B0}},
                               {{"041504e2", polishStrings},
                                {"040904b0", {{"FileDescription", "Disc menu"}}}});
    const QByteArray block = versionBlock(s, wide);
    const VersionResource whole = parseVersionResource(block, wide);
    QCOMPARE(whole.tables.size(), 2);

    for (qsizetype length = 0; length <= block.size(); ++length) {
        const QString at = QString::number(length);
        const VersionResource part = parseVersionResource(block.left(length), wide);
        QVERIFY2(!part.fixed || part.fixed->fileVersionLS == whole.fixed->fileVersionLS,
                 qPrintable(at));
        QVERIFY2(whole.translations.mid(0, part.translations.size()) == part.translations,
                 qPrintable(at));
        for (auto table = part.tables.cbegin(); table != part.tables.cend(); ++table) {
            QVERIFY2(whole.tables.contains(table.key()), qPrintable(at + u' ' + table.key()));
            const auto &wholeTable = whole.tables[table.key()];
            for (auto value = table->cbegin(); value != table->cend(); ++value) {
                QVERIFY2(wholeTable.contains(value.key()), qPrintable(at + u' ' + value.key()));
                QVERIFY2(wholeTable[value.key()].startsWith(value.value()),
                         qPrintable(at + u' ' + value.key()));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestVersionResource)
#include "tst_versionresource.moc"
