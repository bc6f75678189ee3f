#include "SpecialFiles.h"
#include "core/CodePage.h"
#include "core/ProfileFile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void everyKeyIsListed();
    void valueIsCutTo2047Characters();
    void unreadableFileHasNoSections();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void sizeLimit_data();
    void sizeLimit();
};

namespace {

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

void row(const char *name, const QByteArray &file, const QString &section, const QString &key,
         const QString &value, const QStringList &keys)
{
    QTest::newRow(name) << file << section << key << value << keys;
}

} // namespace

// One row per rule of the profile functions: the file, the section and key asked for, the
// value that comes back and the key list of the section (present means that list is not empty).
void TestProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("keys");

    const QStringList k{"k"};

    // Encoding
    row("utf-16le with mark", utf16le(u"[autorun]\r\nopen=\u017B\u00F3\u0142w.exe\r\n"_qs),
        "autorun", "open", u"\u017B\u00F3\u0142w.exe"_qs, {"open"});
    row("utf-8 with mark", "\xEF\xBB\xBF[autorun]\nopen=\xC5\xBB\xC3\xB3\xC5\x82w.exe",
        "autorun", "open", u"\u017B\u00F3\u0142w.exe"_qs, {"open"});
    row("ansi code page", "[autorun]\nopen=\xAF\xF3\xB3w.exe", "autorun", "open",
        u"\u017B\u00F3\u0142w.exe"_qs, {"open"});
    row("utf-8 without mark is ansi", "[a]\nk=\xC5\xBC", "a", "k", u"\u0139\u013D"_qs, k);

    // Line ends
    row("cr, lf and crlf mixed", "[a]\rk=1\nj=2\r\ni=3", "a", "j", "2", {"k", "j", "i"});
    row("cr cr lf is two line ends", "[a]\r\nk=1\r\r\nj=2", "a", "k", "1", {"k", "j"});
    row("last line without end", "[a]\nk=last", "a", "k", "last", k);
    row("0x1a is an ordinary byte", "[a]\nk=a\x1A" "b\nj=2", "a", "k", "a\x1A" "b", {"k", "j"});

    // Headers
    row("blanks inside the brackets", "[ autorun ]\nk=1", "autorun", "k", "1", k);
    row("blanks before the bracket", " \t[autorun]\nk=1", "autorun", "k", "1", k);
    row("name runs to the last bracket", "[autorun] ; see [docs]\nk=1",
        "autorun] ; see [docs", "k", "1", k);
    row("not the first bracket", "[autorun] ; see [docs]\nk=1", "autorun", "k", "", {});
    row("double brackets", "[[autorun]]\nk=1", "[autorun]", "k", "1", k);
    row("text after the bracket", "[autorun]x=y\nk=1", "autorun", "k", "1", k);
    row("no closing bracket is no header", "[a]\nx=1\n[autorun\nk=2", "a", "k", "2", {"x", "k"});
    row("no closing bracket is no key", "[a]\n[b=2\nk=1", "a", "b", "", k);

    // Sections
    row("lines before the first header", "k=1\n[a]\nj=2", "", "k", "1", k);
    row("only the first copy of a section", "[a]\nk=1\n[A]\nk=2\nj=3", "a", "k", "1", k);
    row("first copy counts even when empty", "[a]\n[b]\nx=1\n[A]\nk=1", "a", "k", "", {});

    // Key lines
    row("split at the first equals sign", "[a]\nopen=a=b", "a", "open", "a=b", {"open"});
    row("value starting with equals", "[a]\nicon==x.ico", "a", "icon", "=x.ico", {"icon"});
    row("blanks trimmed", "[a]\n \tkey \v\f= \t val \f", "a", "key", "val", {"key"});
    row("no-break space kept", "[a]\nk=\xA0v\xA0", "a", "k", u"\u00A0v\u00A0"_qs, k);
    row("nul ends the value", QByteArray("[a]\nk=ab\0cd", 11), "a", "k", "ab", k);
    row("nul ends the key", QByteArray("[a]\nke\0y=v", 10), "a", "ke", "v", {"ke"});
    row("nul on both sides", QByteArray("[a]\nk\0x=ab \0cd", 14), "a", "k", "ab ", {"k"});
    row("line without equals ignored", "[a]\njunk\nk=1", "a", "k", "1", k);

    // Comments
    row("semicolon line", "[a]\n; j=1\nk=1", "a", "j", "", k);
    row("semicolon after blanks", "[a]\n \t;j=1\nk=1", "a", "j", "", k);
    row("hash starts no comment", "[a]\n#k=1", "a", "#k", "1", {"#k"});
    row("no comment after a value", "[a]\nopen=setup.exe ; x", "a", "open", "setup.exe ; x",
        {"open"});

    // Quotes
    row("double quotes", "[a]\nk=\"My Disc\"", "a", "k", "My Disc", k);
    row("single quotes", "[a]\nk='My Disc'", "a", "k", "My Disc", k);
    row("blanks inside quotes kept", "[a]\nk=\" spaced \"", "a", "k", " spaced ", k);
    row("outer pair only", "[a]\nk=\"a\" \"b\"", "a", "k", "a\" \"b", k);
    row("four quotes", "[a]\nk=\"\"\"\"", "a", "k", "\"\"", k);
    row("two quotes", "[a]\nk=\"\"", "a", "k", "", k);
    row("one quote", "[a]\nk=\"", "a", "k", "\"", k);
    row("unbalanced", "[a]\nk=\"unbalanced", "a", "k", "\"unbalanced", k);
    row("quotes inside", "[a]\nk=x\"y\"", "a", "k", "x\"y\"", k);
    row("mixed quotes", "[a]\nk=\"x'", "a", "k", "\"x'", k);
    row("keys keep quotes", "[a]\n\"q\"=1", "a", "\"q\"", "1", {"\"q\""});

    // Names
    row("letter case of section and key", "[AutoRun]\nOPEN=x", "autorun", "open", "x", {"OPEN"});
    row("polish letters fold", "[\xAF\xD3\xA3W]\nklucz=1", u"\u017C\u00F3\u0142w"_qs, "KLUCZ", "1",
        {"klucz"});
    row("blanks inside a name count", "[a]\nmy key=1", "a", "mykey", "", {"my key"});
    row("queried name is trimmed", "[a]\nmy key=1", " a ", " my key\t", "1", {"my key"});
    row("backslash is ordinary", "[a]\nSHELL\\00000\\COMMAND=x", "a", "shell\\00000\\command", "x",
        {"SHELL\\00000\\COMMAND"});

    // Duplicates, empty names and values
    row("duplicate keys", "[a]\nk=1\nK=2", "a", "K", "1", {"k", "K"});
    row("empty name not listed", "[a]\n=v\nk=1", "a", "", "", k);
    row("only an empty name", "[a]\n=v", "a", "k", "", {});
    row("empty value", "[a]\nk=", "a", "k", "", k);
    row("absent key", "[a]\nk=1", "a", "j", "", k);
    row("empty file", "", "a", "k", "", {});
    row("comments only", "[a]\n;k=1", "a", "k", "", {});
}

void TestProfileFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, keys);

    const ProfileFile profile = ProfileFile::fromBytes(file, CodePage("windows-1250"));
    QCOMPARE(profile.keys(section), keys);
    QCOMPARE(profile.hasSection(section), !keys.isEmpty());
    QCOMPARE(profile.value(section, key), value);
    QCOMPARE(profile.hasKey(section, key),
             keys.contains(key.trimmed(), Qt::CaseInsensitive) && !key.trimmed().isEmpty());
}

void TestProfileFile::everyKeyIsListed()
{
    QByteArray file("[a]\r\n");
    for (int i = 0; i < 5000; ++i)
        file += "shell\\" + QByteArray::number(i).rightJustified(5, '0') + "=Pozycja\r\n";
    const QStringList keys = ProfileFile::fromBytes(file).keys(u"A");
    QCOMPARE(keys.size(), 5000);
    QCOMPARE(keys.last(), QStringLiteral("shell\\04999"));
}

void TestProfileFile::valueIsCutTo2047Characters()
{
    const QByteArray x2047(2047, 'x');
    const ProfileFile profile = ProfileFile::fromBytes(
        "[a]\nlong=" + QByteArray(3000, 'x') + "\nquoted=\"" + x2047 + "\"\nover=\"" + x2047
        + "yz\"\nexact=" + x2047);
    QCOMPARE(profile.value(u"a", u"long"), QString(x2047));
    QCOMPARE(profile.value(u"a", u"quoted"), QString(x2047));
    QCOMPARE(profile.value(u"a", u"over"), QString(x2047));
    QCOMPARE(profile.value(u"a", u"exact"), QString(x2047));
}

void TestProfileFile::unreadableFileHasNoSections()
{
    QTemporaryDir dir;
    QVERIFY(!ProfileFile::fromFile(dir.filePath("missing.ini")).hasSection(u""));
    QVERIFY(!ProfileFile::fromFile(dir.path()).hasSection(u"")); // a folder
}

Q_DECLARE_METATYPE(FileReadError)

// What stands at autorun.inf, and why nothing was read from it.
void TestProfileFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<FileReadError>("error");
    QTest::newRow("FIFO") << "fifo" << FileReadError::NotRegularFile;
    QTest::newRow("socket") << "socket" << FileReadError::NotRegularFile;
    QTest::newRow("link to /dev/zero") << "/dev/zero" << FileReadError::NotRegularFile;
    QTest::newRow("link to /dev/null") << "/dev/null" << FileReadError::NotRegularFile;
    QTest::newRow("folder") << "folder" << FileReadError::NotRegularFile;
    QTest::newRow("dangling link") << "/nonexistent-pelmora/autorun.inf" << FileReadError::Missing;
}

void TestProfileFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QFETCH(FileReadError, error);
    QTemporaryDir dir;
    SpecialFiles special;
    const QString path = dir.filePath("autorun.inf");
    QVERIFY(special.make(kind, path));
    const ProfileFile profile = returnsAtOnce([&] { return ProfileFile::fromFile(path); });
    QCOMPARE(profile.error(), error);
    QVERIFY(!profile.hasSection(u""));
    QVERIFY(!profile.hasSection(u"autorun"));
}

// A key at the start of a sparse file of the given size: at the limit it is read, past it
// nothing is.
void TestProfileFile::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<FileReadError>("error");
    QTest::addColumn<QString>("open");
    const qint64 limit = ProfileFile::maxFileSize;
    QTest::newRow("64 MiB") << limit << FileReadError::None << "setup.exe";
    QTest::newRow("64 MiB and a byte") << limit + 1 << FileReadError::TooLarge << "";
    QTest::newRow("65 MiB") << limit + 1024 * 1024 << FileReadError::TooLarge << "";
}

void TestProfileFile::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(FileReadError, error);
    QFETCH(QString, open);
    QTemporaryDir dir;
    QFile file(dir.filePath("autorun.inf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[autorun]\r\nopen=setup.exe\r\n");
    QVERIFY(file.resize(size));
    file.close();
    const ProfileFile profile = ProfileFile::fromFile(file.fileName());
    QCOMPARE(profile.error(), error);
    QCOMPARE(profile.value(u"autorun", u"open"), open);
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
