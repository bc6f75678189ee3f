#include "ExecutableWriter.h"
#include "IconLocations.h"
#include "SpecialFiles.h"
#include "IconFixtures.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead();
    void readGivesNullsForWhatIsAbsent();
    void iconSurvivesReadAndWrite_data();
    void iconSurvivesReadAndWrite();
    void readMissingFile();
    void writeKeepsWhatItDoesNotEdit();
    void writeThroughLinks();
    void writeIntoMissingFolder();
    void writeBadDocument();
    void iniView();
    void fileThatIsNotRead_data();
    void fileThatIsNotRead();
    void iniAtTheSizeLimit();
    void codePageFromEnvironment();
    void versionOfAProgram();
    void scanListsWhatThePanelOffers();
    void icons_data();
    void icons();
    void check_data();
    void check();
    void outputIsWhatQJsonDocumentWrites_data();
    void outputIsWhatQJsonDocumentWrites();
    void iso_data();
    void iso();
    void isoOnAFullDisk();
    void usage_data();
    void usage();
    void writeRefuses_data();
    void writeRefuses();
    void readOutputWritesBack();
};

namespace {

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run cli(const QStringList &args, const QByteArray &input = {}, const QByteArray &codePage = {})
{
    QProcess process;
    if (!codePage.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PELMORA_CODEPAGE"), QString::fromLatin1(codePage));
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(PELMORA_CLI), args);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(30000);
    return {finished, process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

void TestCli::writeThenRead()
{
    QTemporaryDir dir;
    QFile exe(dir.filePath("setup.exe"));
    QVERIFY(exe.open(QIODevice::WriteOnly));
    exe.close();

    const QByteArray doc = QJsonDocument(QJsonObject{
        {"open", "setup.exe"}, {"iconFile", "setup.exe"}, {"iconIndex", 3},
        {"label", u"Płyta"_qs},
        {"items", QJsonArray{QJsonObject{{"label", u"Zainstaluj ąę"_qs}, {"file", "setup.exe"}}}}})
        .toJson();
    const Run written = cli({"write", dir.path()}, doc);
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")),
             QByteArray("[autorun]\r\nOpen=setup.exe\r\nIcon=setup.exe,3\r\nName=P\xB3yta\r\n"
                        "Label=P\xB3yta\r\n\r\nshell\\00000\\command=setup.exe\r\n"
                        "shell\\00000=Zainstaluj \xB9\xEA\r\n\r\n"));

    const Run read = cli({"read", dir.path()});
    QCOMPARE(read.exitCode, 0);
    const QJsonObject out = read.json();
    QCOMPARE(out["open"].toString(), u"setup.exe"_qs);
    QCOMPARE(out["icon"].toObject()["file"].toString(), u"setup.exe"_qs);
    QCOMPARE(out["icon"].toObject()["index"].toInt(), 3);
    QCOMPARE(out["label"].toString(), u"Płyta"_qs);
    QCOMPARE(out["items"].toArray().size(), 1);
    QCOMPARE(out["items"][0]["label"].toString(), u"Zainstaluj ąę"_qs);
    QCOMPARE(out["items"][0]["file"].toString(), u"setup.exe"_qs);
    QCOMPARE(out["items"][0]["verb"].toString(), u"00000"_qs);
}

void TestCli::readGivesNullsForWhatIsAbsent()
{
    QTemporaryDir dir;
    QVERIFY(cli({"write", dir.path()}, "{}").exitCode == 0);
    QJsonObject out = cli({"read", dir.path()}).json();
    QCOMPARE(out["open"].toString(), QString());
    QVERIFY(out["icon"].isNull());
    QVERIFY(out["label"].isNull());
    QVERIFY(out["items"].toArray().isEmpty());

    QVERIFY(cli({"write", dir.path()}, R"({"iconFile": "brak.exe"})").exitCode == 0);
    out = cli({"read", dir.path()}).json();
    QCOMPARE(out["icon"].toObject()["file"].toString(), u"brak.exe"_qs);
    QVERIFY(out["icon"].toObject()["index"].isNull());
}

void TestCli::iconSurvivesReadAndWrite_data()
{
    addIconLocationRows();
}

// A script's read | write keeps the icon the disc shows.
void TestCli::iconSurvivesReadAndWrite()
{
    QFETCH(QByteArray, line);
    QFETCH(int, index);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("autorun.inf"), "[autorun]\r\n" + line + "\r\n"));
    const QJsonObject icon = cli({"read", dir.path()}).json()["icon"].toObject();
    QCOMPARE(icon["index"], index == INT_MIN ? QJsonValue() : QJsonValue(index));
    const QJsonObject doc{{"iconFile", icon["file"]}, {"iconIndex", icon["index"]}};
    QCOMPARE(cli({"write", dir.path()}, QJsonDocument(doc).toJson()).exitCode, 0);
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")).split('\r').value(1).trimmed(), written);
}

void TestCli::readMissingFile()
{
    QTemporaryDir dir;
    const Run run = cli({"read", dir.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.startsWith("no autorun.inf in "));
    QVERIFY(run.out.isEmpty());
}

// Kept lines stay in the code page they were written in, whatever the code page of the run.
void TestCli::writeKeepsWhatItDoesNotEdit()
{
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("AUTORUN.INF"),
                          "[autorun]\r\nopen=stary.exe\r\nshell\\a=A\r\nshell\\a\\command=a.exe\r\nshell\\b=B\r\n"
                          "shell\\b\\command=b.exe\r\nshell=b\r\nUseAutoPlay=1\r\n"
                          "[DeviceInstall]\r\nDriverPath=sterowniki\\\xB3\r\nDriverPath=x64\r\n"));
    // What a write killed midway left goes; one still being written (new) stays.
    QFile stale(dir.filePath(".AUTORUN.INF.pelmora-AbC123"));
    QVERIFY(stale.open(QIODevice::WriteOnly) && stale.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                                                                   QFileDevice::FileModificationTime));
    QVERIFY(writeTestFile(dir.filePath(".AUTORUN.INF.pelmora-XyZ789")));
    const QByteArray doc = R"({"open": "nowy.exe", "items": [{"label": "B", "file": "b.exe", "verb": "b"},
                                                              {"label": "A", "file": "a.exe", "verb": "a"}]})";
    QCOMPARE(cli({"write", dir.path()}, doc, "windows-1252").exitCode, 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files),
             (QStringList{".AUTORUN.INF.pelmora-XyZ789", "AUTORUN.INF"}));
    QCOMPARE(readTestFile(dir.filePath("AUTORUN.INF")),
             QByteArray("[autorun]\r\nOpen=nowy.exe\r\n\r\nshell\\00000\\command=b.exe\r\nshell\\00000=B\r\n\r\n"
                        "shell\\00001\\command=a.exe\r\nshell\\00001=A\r\n\r\nshell=00000\r\nUseAutoPlay=1\r\n\r\n"
                        "[DeviceInstall]\r\nDriverPath=sterowniki\\\xB3\r\nDriverPath=x64\r\n"));
}

// A menu file that is a link out of the folder (from an archive, a download) is never written
// through, dangling or not; a link that stays inside is.
void TestCli::writeThroughLinks()
{
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath(".bashrc"), "keep") && writeTestFile(dir.filePath("disc/menu/real.inf")));
    const QString menu = dir.filePath("disc/autorun.inf");
    for (const char *target : {"../.bashrc", "../brak/nowy.inf"}) {
        QVERIFY(!QFile::exists(menu) || QFile::remove(menu));
        QVERIFY(QFile::link(target, menu));
        const Run run = cli({"write", dir.filePath("disc")}, R"({"label": "Gra"})");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QFileInfo(dir.filePath(QString("disc/") + target)).absoluteFilePath().toUtf8()),
                 run.err.constData());
    }
    QCOMPARE(readTestFile(dir.filePath(".bashrc")), "keep");
    QVERIFY(!QFileInfo::exists(dir.filePath("brak")));
    QVERIFY(QFile::remove(menu) && QFile::link("menu/real.inf", menu));
    QCOMPARE(cli({"write", dir.filePath("disc")}, R"({"label": "Gra"})").exitCode, 0);
    QVERIFY(QFileInfo(menu).isSymLink() && readTestFile(dir.filePath("disc/menu/real.inf")).contains("Name=Gra"));
}

void TestCli::writeIntoMissingFolder()
{
    QTemporaryDir dir;
    const Run run = cli({"write", dir.filePath("brak")}, R"({"open": "a.exe"})");
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!run.err.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("brak")));
}

void TestCli::writeBadDocument()
{
    QTemporaryDir dir;
    // A value that would write lines of its own: refused, naming the field.
    for (const auto &[doc, field] : {std::pair{R"({"label": "Gra\r\n[autorun.amd64]\r\nopen=zly.exe"})", "label"},
                                     {R"({"items": [{"label": "A", "file": "a.exe\u0000"}]})", "items[0].file"}}) {
        const Run run = cli({"write", dir.path()}, doc);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(field), run.err.constData());
    }
    QVERIFY(!QFile::exists(dir.filePath("autorun.inf")));
}

void TestCli::iniView()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("dane.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Wersja]\r\nNumer=\"1.2.0.30\"\r\nnumer=drugi\r\nAdres=http://x/\r\n");
    file.close();

    QJsonObject out = cli({"ini", file.fileName(), "wersja", "NUMER", "brak"}).json();
    QCOMPARE(out["present"].toBool(), true);
    QCOMPARE(out["keys"].toArray(), (QJsonArray{"Numer", "numer", "Adres"}));
    QCOMPARE(out["values"].toObject(),
             (QJsonObject{{"Numer", "1.2.0.30"}, {"numer", "1.2.0.30"}, {"Adres", "http://x/"},
                          {"NUMER", "1.2.0.30"}, {"brak", ""}}));

    out = cli({"ini", file.fileName(), "inna"}).json();
    QCOMPARE(out["present"].toBool(), false);
    QVERIFY(out["keys"].toArray().isEmpty());

    const Run missing = cli({"ini", dir.filePath("brak.ini"), "a"});
    QCOMPARE(missing.exitCode, 0);
    QCOMPARE(missing.json()["present"].toBool(), false);
}

// What stands at the file the command is given, and the one line of error for it; both
// commands answer at once.
void TestCli::fileThatIsNotRead_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("error");
    for (const char *command : {"ini", "read", "icons", "version"}) {
        const auto row = [&](const char *name, const char *kind, const char *error) {
            QTest::addRow("%s, %s", command, name) << command << kind << QByteArray(error);
        };
        row("FIFO", "fifo", "is not a regular file");
        row("socket", "socket", "is not a regular file");
        row("link to /dev/zero", "/dev/zero", "is not a regular file");
        row("link to /dev/null", "/dev/null", "is not a regular file");
        if (QByteArray("ini read").contains(command))
            row("65 MiB", "large", "is larger than 64 MiB");
    }
    QTest::newRow("ini, /dev/zero itself") << "ini" << "device" << QByteArray("is not a regular file");
}

void TestCli::fileThatIsNotRead()
{
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QByteArray, error);
    QTemporaryDir dir;
    QString path = dir.filePath("autorun.inf");
    SpecialFiles special;
    if (kind == "large") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[autorun]\r\nopen=setup.exe\r\n");
        QVERIFY(file.resize(65 * 1024 * 1024));
    } else if (kind == "device") {
        path = "/dev/zero";
    } else {
        QVERIFY(special.make(kind, path));
    }
    QElapsedTimer clock;
    clock.start();
    const Run run = cli(command == "ini"    ? QStringList{"ini", path, "autorun", "open"}
                        : command == "read" ? QStringList{"read", dir.path()}
                                            : QStringList{command, path});
    QVERIFY(run.finished);
    QVERIFY2(clock.elapsed() < 10000, "the command waited on the file");
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.endsWith(error + "\n") && run.err.count('\n') == 1, run.err.constData());
    QVERIFY(run.err.startsWith(path.toLocal8Bit()));
}

void TestCli::iniAtTheSizeLimit()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("autorun.inf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[autorun]\r\nopen=setup.exe\r\n");
    QVERIFY(file.resize(64 * 1024 * 1024));
    file.close();
    const Run run = cli({"ini", file.fileName(), "autorun", "open"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.json()["values"].toObject()["open"].toString(), u"setup.exe"_qs);
    QCOMPARE(run.json()["fileExists"].toBool(), true);
}

void TestCli::codePageFromEnvironment()
{
    QTemporaryDir dir;
    const QByteArray doc = QJsonDocument(QJsonObject{{"label", u"Café ŁĄ"_qs}}).toJson();
    const Run refused = cli({"write", dir.path()}, doc, "windows-1252"); // Ł and Ą are not in it
    QCOMPARE(refused.exitCode, 1);
    QVERIFY(refused.err.contains("ŁĄ") && refused.err.count('\n') == 1);
    QVERIFY(!QFile::exists(dir.filePath("autorun.inf")));
    // Let through, they become question marks, as Windows writes them
    QCOMPARE(cli({"write", dir.path(), "--replace-unwritable"}, doc, "windows-1252").exitCode, 0);
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")),
             QByteArray("[autorun]\r\nName=Caf\xE9 ??\r\nLabel=Caf\xE9 ??\r\n\r\n"));
    QCOMPARE(cli({"read", dir.path()}, {}, "windows-1252").json()["label"].toString(), u"Café ??"_qs);
    QCOMPARE(cli({"read", dir.path()}, {}, "windows-1250").json()["label"].toString(), u"Café ??"_qs);
}

void TestCli::versionOfAProgram()
{
    using namespace ExecutableWriter;
    QTemporaryDir dir;
    VersionContent content;
    content.translations = {{0x0415, 0x04E2}};
    content.tables = {{"041504e2", {{"FileDescription", "Kreator instalacji"}, {"CompanyName", "Quorvale"},
                                 {"LegalTrademarks", "TM"}}}};
    content.type = 3;
    content.subtype = 8;
    content.flags = 0x21;
    QFile file(dir.filePath("setup.exe"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writePe(false, false, {{16, 1, 0x0415, versionBlock(content, true), {}}}));
    file.close();

    const Run run = cli({"version", file.fileName()});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject out = run.json();
    QCOMPARE(out["isExecutable"].toBool(), true);
    QCOMPARE(out["fileDescription"].toString(), QStringLiteral("Kreator instalacji"));
    QCOMPARE(out["companyName"].toString(), QStringLiteral("Quorvale"));
    QCOMPARE(out["legalTrademarks"].toString(), QStringLiteral("TM"));
    QCOMPARE(out["fileType"].toInt(), 13);
    QCOMPARE(out["debug"].toBool(), true);
    QCOMPARE(out["specialBuildFlag"].toBool(), true);
    QCOMPARE(out["preRelease"].toBool(), false);
    for (const char *key : {"typeName", "fileVersion", "internalName", "legalCopyright", "originalFileName",
                            "productName", "productVersion", "comments", "specialBuild", "privateBuild"})
        QVERIFY2(out[key].isString(), key);
    for (const char *key : {"patched", "privateBuildFlag", "infoInferred"})
        QVERIFY2(out[key].isBool(), key);

    const Run missing = cli({"version", dir.filePath("brak.exe")});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(!missing.err.isEmpty());
}

void TestCli::scanListsWhatThePanelOffers()
{
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    for (const char *file : {"art/disc.ico", "setup.exe", "bin/tool.EXE", "bin/lib.dll", "ikony.icl",
                             "czytaj.txt", ".ukryty/x.exe", "Płyta ąę/start.exe"})
        QVERIFY(writeTestFile(root + file));
    const Run run = cli({"scan", root});
    QCOMPARE(run.exitCode, 0);
    const QJsonArray paths = QJsonDocument::fromJson(run.out).array();
    QStringList got;
    for (const QJsonValue &p : paths)
        got << p.toString();
    QCOMPARE(QSet<QString>(got.begin(), got.begin() + 3),
             (QSet<QString>{"setup.exe", "bin\\tool.EXE", u"Płyta ąę\\start.exe"_qs}));
    QCOMPARE(got.mid(3), (QStringList{"bin\\lib.dll", "ikony.icl", "art\\disc.ico"}));
    QCOMPARE(cli({"scan", root + "brak"}).exitCode, 1);
}

void TestCli::icons_data()
{
    using namespace ExecutableWriter;
    using namespace IconFixtures;
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no such file
    QTest::addColumn<QByteArray>("json");

    QTest::newRow(".ico with several images: one icon, its 32 x 32 in the most colours")
        << "dysk.ico"
        << icoFile({bmpImage(16, 32, Qt::red), bmpImage(32, 4, Qt::red), bmpImage(32, 8, Qt::red),
                    bmpImage(48, 32, Qt::red)})
        << QByteArray(R"({"count":1,"icons":[{"bitCount":8,"height":32,"width":32}]})");
    QTest::newRow(".ico of one 256 image, stored as 0") << "duza.ico"
        << icoFile({pngImage(256, Qt::blue)})
        << QByteArray(R"({"count":1,"icons":[{"bitCount":32,"height":256,"width":256}]})");
    const QList<ResourceEntry> two =
        iconResources(icoFile({bmpImage(48, 32, Qt::red)}), 1, 1)
        + iconResources(icoFile({bmpImage(16, 8, Qt::green), bmpImage(32, 4, Qt::green)}), 2, 10);
    const QByteArray twoIcons(
        R"({"count":2,"icons":[{"bitCount":32,"height":48,"width":48},{"bitCount":4,"height":32,"width":32}]})");
    QTest::newRow("program with two groups") << "setup.exe" << writePe(false, false, two) << twoIcons;
    QTest::newRow("the first group in two languages") << "setup.exe"
        << writePe(false, false, two + iconResources(icoFile({bmpImage(16, 1, Qt::gray)}), 1, 20, 0x0415))
        << twoIcons;
    QList<ResourceEntry> damaged = two;
    damaged.removeFirst(); // the only image of the first group
    QTest::newRow("damaged icon") << "setup.exe" << writePe(false, false, damaged)
        << QByteArray(R"({"count":2,"icons":[null,{"bitCount":4,"height":32,"width":32}]})");
    QTest::newRow("text file") << "czytaj.txt" << QByteArray("[autorun]\r\n")
                               << QByteArray(R"({"count":0,"icons":[]})");
    QTest::newRow("missing file") << "brak.exe" << QByteArray() << QByteArray();
}

void TestCli::icons()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, json);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeTestFile(path, bytes));

    const Run run = cli({"icons", path});
    if (json.isEmpty()) {
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        return;
    }
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), json);
}

void TestCli::check_data()
{
    QTest::addColumn<QByteArray>("autorun"); // empty: no autorun.inf
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("findings"); // "code severity key"

    QTest::newRow("sound") << QByteArray("[autorun]\r\nopen=SETUP.EXE\r\nicon=plyta.ico\r\nlabel=Gra\r\n")
                           << 0 << QStringList();
    QTest::newRow("warnings only")
        << QByteArray("[autorun]\r\nopen=setup.exe\r\nshell\\a=Pomoc\r\nshell\\a\\command=pomoc.exe\r\n")
        << 0 << QStringList{"item-missing warning shell\\00000"};
    QTest::newRow("errors") << QByteArray("[autorun]\r\nopen=..\\setup.exe\r\nicon=plyta.ico,1\r\n")
                            << 1 << QStringList{"outside-disc error open", "icon-index error icon"};
    QTest::newRow("shellexecute") << QByteArray("[autorun]\r\nshellexecute=instrukcja.pdf\r\n")
                                  << 1 << QStringList{"shellexecute-missing error shellexecute"};
    QTest::newRow("[autorun] without a key") << QByteArray("[autorun]\r\n[autorun.amd64]\r\nopen=setup.exe\r\n")
                                             << 1 << QStringList{"no-autorun-section error ", "arch-section warning "};
    QTest::newRow("no autorun.inf") << QByteArray() << 2 << QStringList();
}

void TestCli::check()
{
    QFETCH(QByteArray, autorun);
    QFETCH(int, exitCode);
    QFETCH(QStringList, findings);

    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("setup.exe"), ExecutableWriter::writePe(false, false, {})));
    QVERIFY(writeTestFile(dir.filePath("plyta.ico"), IconFixtures::icoFile({IconFixtures::square(32, Qt::red)})));
    if (!autorun.isEmpty())
        QVERIFY(writeTestFile(dir.filePath("autorun.inf"), autorun));
    const Run run = cli({"check", dir.path()});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 2)
        return;
    QStringList found;
    for (const QJsonValue &v : QJsonDocument::fromJson(run.out).array()) {
        const QJsonObject f = v.toObject();
        QVERIFY(!f["message"].toString().isEmpty());
        QVERIFY(f["section"].isString());
        found << f["code"].toString() + ' ' + f["severity"].toString() + ' ' + f["key"].toString();
    }
    // The image's size closes every check, as information: it never makes the exit status 1.
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.takeLast(), u"disc-size info "_qs);
    QCOMPARE(found, findings);
}

void TestCli::outputIsWhatQJsonDocumentWrites_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("read") << "read";
    QTest::newRow("check") << "check";
    QTest::newRow("scan") << "scan";
    QTest::newRow("ini, keys out of order") << "ini";
}

// The outputs written as they are made are the bytes QJsonDocument makes of the same values:
// texts with quotes, backslashes, control characters, letters outside ASCII, characters
// outside the BMP and surrogates without their partners.
void TestCli::outputIsWhatQJsonDocumentWrites()
{
    QFETCH(QString, command);
    QTemporaryDir dir;
    QString odd = u"\"a\\b\t\x01\x1f\x7fŁą€😀"_qs;
    odd += QChar(0xD800);
    odd += u"x"_qs;
    odd += QChar(0xDC00);
    const QString menu = "[autorun]\r\nopen=" + odd + "\r\nicon=" + odd + ",-3\r\nlabel=" + odd + "\r\nshell\\a="
        + odd + "\r\nshell\\a\\command=" + odd + " /s\r\nZeta=1\r\nalfa=2\r\nALFA=3\r\nżółw=4\r\n" + odd + "=5\r\n";
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : menu)
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    QVERIFY(writeTestFile(dir.filePath("autorun.inf"), utf16));
    for (const char *name : {"a\"b\\c.exe", "ąę żółw.EXE", "tab\t.dll", "x.ico"})
        QVERIFY(writeTestFile(dir.filePath(QString::fromUtf8(name))));
    const Run run = command == "ini" ? cli({"ini", dir.filePath("autorun.inf"), "autorun", "brak", "Open"})
                                     : cli({command, dir.path()});
    QVERIFY(run.finished);
    QVERIFY(run.out.size() > 10);
    QCOMPARE(run.out, QJsonDocument::fromJson(run.out).toJson(QJsonDocument::Compact) + '\n');
}

void TestCli::iso_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("volumeId");
    QTest::addColumn<QString>("jolietVolumeId");
    QTest::addColumn<QByteArray>("menu"); // the bytes of autorun.inf; its name after "|"
    const QByteArray named = "AUTORUN.INF|[autorun]\r\nLabel=Etykieta\r\nName=P\xb3yta \xa3\xf3" "d\x9f\r\n";
    QTest::newRow("label given") << QStringList{"--label", u"Płyta ąę"_qs} << "obraz.iso" << 0
                                 << "PLYTA_AE" << u"Płyta ąę"_qs << named;
    QTest::newRow("the menu's Name, in any letter case") << QStringList() << "obraz.iso" << 0 << "PLYTA_LODZ"
                                                         << u"Płyta Łódź"_qs << named;
    QTest::newRow("the menu's Label") << QStringList() << "obraz.iso" << 0 << "ETYKIETA" << "Etykieta"
                                      << QByteArray("autorun.inf|[autorun]\r\nLabel=Etykieta\r\n");
    QTest::newRow("the folder's name") << QStringList() << "obraz.iso" << 0 << "DANE" << "dane"
                                       << QByteArray("autorun.inf|[autorun]\r\n");
    QTest::newRow("image inside the folder") << QStringList() << "dane/obraz.iso" << 1 << "" << ""
                                             << QByteArray("autorun.inf|[autorun]\r\n");
}

void TestCli::iso()
{
    QFETCH(QStringList, extra);
    QFETCH(QString, image);
    QFETCH(int, exitCode);
    QFETCH(QString, volumeId);
    QFETCH(QString, jolietVolumeId);
    QFETCH(QByteArray, menu);
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath(u"dane/żółw.txt"_qs), "abc"));
    const qsizetype bar = menu.indexOf('|');
    QVERIFY(writeTestFile(dir.filePath("dane/" + menu.left(bar)), menu.mid(bar + 1)));
    QVERIFY(writeTestFile(dir.filePath("poza.txt"), "poza")
            && QFile::link(dir.filePath("poza.txt"), dir.filePath("dane/poza")));
    const Run run = cli(QStringList{"iso", dir.filePath("dane"), dir.filePath(image)} + extra);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(QFileInfo::exists(dir.filePath(image)), exitCode == 0);
    if (exitCode != 0) {
        QCOMPARE(run.err.count('\n'), 1);
        return;
    }
    QVERIFY(run.err.isEmpty()); // no progress when stderr is not a terminal
    const QJsonObject out = run.json();
    QCOMPARE(out["path"].toString(), dir.filePath(image));
    QCOMPARE(out["bytes"].toInteger(), QFileInfo(dir.filePath(image)).size());
    QCOMPARE(out["files"].toInt(), 2);
    QCOMPARE(out["volumeId"].toString(), volumeId);
    QCOMPARE(out["jolietVolumeId"].toString(), jolietVolumeId);
    QCOMPARE(out["skipped"].toArray(), QJsonArray{"poza"});
}

void TestCli::isoOnAFullDisk()
{
    // A small file system of the run's own, in a mount namespace of its own.
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("dane/duzy.bin"), QByteArray(1024 * 1024, 'x'))
            && QDir().mkdir(dir.filePath("maly")));
    QProcess sh;
    sh.start("unshare",
             {"-rm", "sh", "-c",
              R"(mount -t tmpfs -o size=256k tmpfs "$1" || exit 1; "$0" iso "$2" "$1/o.iso"; ls -A "$1")",
              PELMORA_CLI, dir.filePath("maly"), dir.filePath("dane")});
    if (!sh.waitForFinished(30000) || sh.exitCode() != 0)
        QSKIP("no mount namespace to be had here");
    QCOMPARE(sh.readAllStandardOutput(), QByteArray()); // nothing left there
    QCOMPARE(sh.readAllStandardError(),
             "the disk is full: no room for the image in " + QFile::encodeName(dir.filePath("maly")) + '\n');
}

void TestCli::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out"); // the first line on stdout; empty: nothing there
    QTest::addColumn<QByteArray>("err"); // the first line on stderr; the usage follows a usage error
    const QByteArray usage = "usage: pelmora-cli read FOLDER";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QByteArray();
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QByteArray();
    QTest::newRow("help") << QStringList{"help"} << 0 << usage << QByteArray();
    QTest::newRow("a command's help") << QStringList{"read", "--help"} << 0 << usage << QByteArray();
    QTest::newRow("iso -h") << QStringList{"iso", "-h"} << 0
                            << QByteArray("usage: pelmora-cli iso FOLDER OUT.iso [--label TEXT]") << QByteArray();
    QTest::newRow("nothing") << QStringList() << 2 << QByteArray() << QByteArray("pelmora-cli: no command given");
    QTest::newRow("unknown command") << QStringList{"burn", "x"} << 2 << QByteArray()
                                     << QByteArray("pelmora-cli: unknown command burn");
    QTest::newRow("unknown option") << QStringList{"--verbose"} << 2 << QByteArray()
                                    << QByteArray("pelmora-cli: unknown option --verbose");
    QTest::newRow("read without folder") << QStringList{"read"} << 2 << QByteArray()
                                         << QByteArray("pelmora-cli: read needs FOLDER");
    QTest::newRow("ini without section") << QStringList{"ini", "a.ini"} << 2 << QByteArray()
                                         << QByteArray("pelmora-cli: ini needs SECTION");
    QTest::newRow("iso without image") << QStringList{"iso", "."} << 2 << QByteArray()
                                       << QByteArray("pelmora-cli: iso needs OUT.iso");
    QTest::newRow("iso label without text") << QStringList{"iso", ".", "a.iso", "--label"} << 2 << QByteArray()
                                            << QByteArray("pelmora-cli: --label needs a TEXT");
    QTest::newRow("an option the command lacks") << QStringList{"check", ".", "--fast"} << 2 << QByteArray()
                                                 << QByteArray("pelmora-cli: check takes no option --fast");
    QTest::newRow("one argument too many") << QStringList{"read", "a", "b"} << 2 << QByteArray()
                                           << QByteArray("pelmora-cli: read takes no argument b");
    QTest::newRow("read of a missing folder") << QStringList{"read", "/nie/ma/takiego"} << 1 << QByteArray()
                                              << QByteArray("no folder /nie/ma/takiego");
    QTest::newRow("check of a file") << QStringList{"check", PELMORA_CLI} << 1 << QByteArray()
                                     << QByteArray(PELMORA_CLI " is not a folder");
}

// As a script meets it: help on stdout with exit 0; a usage error says what was wrong in one
// line, then the usage, on stderr.
void TestCli::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Run run = cli(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out.split('\n').first(), out);
    QCOMPARE(run.err.split('\n').first(), err);
    if (exitCode == 2)
        QVERIFY(run.err.split('\n').value(1).startsWith("usage: pelmora-cli "));
}

void TestCli::writeRefuses_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("a misspelt key") << QByteArray(R"({"opne":"setup.exe"})")
        << QByteArray("unknown field opne (write takes open, icon, iconFile, iconIndex, label, items)");
    QTest::newRow("a number for a text") << QByteArray(R"({"open":5})") << QByteArray("open is not a string");
    QTest::newRow("items not a list") << QByteArray(R"({"items":"x"})") << QByteArray("items is not an array");
    QTest::newRow("an entry's misspelt key") << QByteArray(R"({"items":[{"label":"a","file":"b"},{"lable":"c"}]})")
        << QByteArray("unknown field items[1].lable (write takes label, file, verb)");
    QTest::newRow("an entry not an object") << QByteArray(R"({"items":[1]})") << QByteArray("items[0] is not an object");
    QTest::newRow("a fraction for the icon's number") << QByteArray(R"({"iconFile":"a.dll","iconIndex":1.5})")
        << QByteArray("iconIndex is neither a whole number nor null");
    QTest::newRow("the icon twice") << QByteArray(R"({"icon":{"file":"a.ico","index":null},"iconFile":"b.ico"})")
        << QByteArray("icon and iconFile/iconIndex given both");
    QTest::newRow("an array") << QByteArray("[1,2]") << QByteArray("the document is not a JSON object");
    QTest::newRow("not JSON") << QByteArray("{\"open\": ") << QByteArray("the document is not JSON: ");
}

// A document that is not what write takes writes nothing: the file stays as it was.
void TestCli::writeRefuses()
{
    QFETCH(QByteArray, document);
    QFETCH(QByteArray, err);
    QTemporaryDir dir;
    const QByteArray before = "[autorun]\r\nopen=setup.exe\r\n";
    QVERIFY(writeTestFile(dir.filePath("autorun.inf"), before));
    const Run run = cli({"write", dir.path()}, document);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(err) && run.err.count('\n') == 1, run.err.constData());
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")), before);
    QVERIFY(!QFile::exists(dir.filePath("pusty")));
    QCOMPARE(cli({"write", dir.filePath("pusty")}, document).exitCode, 2); // refused before the folder is asked for
    QVERIFY(!QFile::exists(dir.filePath("pusty")));
}

// What read prints, write takes: the menu comes back the same, icon and null label too (the
// entries renumbered, as every write numbers them).
void TestCli::readOutputWritesBack()
{
    const auto withoutVerbs = [](const QByteArray &json) {
        QJsonObject menu = QJsonDocument::fromJson(json).object();
        QJsonArray items;
        for (const QJsonValue &item : menu["items"].toArray()) {
            QJsonObject entry = item.toObject();
            entry.remove("verb");
            items.append(entry);
        }
        menu["items"] = items;
        return menu;
    };
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("autorun.inf"),
                          "[autorun]\r\nopen=setup.exe\r\nicon=ikony.dll,2\r\nshell\\a=Graj\r\nshell\\a\\command=setup.exe\r\n"));
    const Run read = cli({"read", dir.path()});
    QCOMPARE(read.exitCode, 0);
    const Run write = cli({"write", dir.path()}, read.out);
    QVERIFY2(write.exitCode == 0, write.err.constData());
    QCOMPARE(withoutVerbs(cli({"read", dir.path()}).out), withoutVerbs(read.out));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
