#include "IconFixtures.h"
#include "TestFiles.h"
#include "core/AutorunReader.h"
#include "core/DiscCheck.h"
#include "core/PolishText.h"
#include "os/Volume.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QTemporaryDir>
#include <QtTest>

using namespace ExecutableWriter;
using namespace IconFixtures;

// The check of a menu against the folder burned onto the disc, on real files.
class TestDiscCheck : public QObject
{
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void keysOfTheFile_data();
    void keysOfTheFile();
    void theImage_data();
    void theImage();
    void removableDrive_data();
    void removableDrive();
    void pluralForms();
};

Q_DECLARE_METATYPE(QList<MenuItem>)

namespace {

QByteArray withMachine(QByteArray pe, quint16 machine);

// The data folder every case checks against: programs, an icon file, a library of two icons,
// a program without icons and a text file.
void writeDisc(const QString &folder)
{
    const QByteArray ico = icoFile({square(32, Qt::red)});
    const QList<ResourceEntry> twoIcons = iconResources(ico, 1, 1) + iconResources(ico, 2, 2);
    QVERIFY(writeTestFile(folder + "Setup.exe", writePe(false, false, {})));
    QVERIFY(writeTestFile(folder + "Moje programy/Start gry.exe", writePe(false, false, {})));
    QVERIFY(writeTestFile(folder + "plyta.ico", ico));
    QVERIFY(writeTestFile(folder + "ikony.dll", writePe(false, true, twoIcons)));
    QVERIFY(writeTestFile(folder + "czytaj.txt", "tekst"));
    QVERIFY(writeTestFile(folder + "dos/stary.exe", writeDosProgram()));
    QVERIFY(writeTestFile(folder + "win31.exe", writeNe(false, {})));
    QVERIFY(writeTestFile(folder + "../poza.exe", writePe(false, false, {})));
    QVERIFY(writeTestFile(folder + "x64.exe", writePe(true, false, {})));
    QVERIFY(writeTestFile(folder + "arm.exe", withMachine(writePe(true, false, {}), 0xAA64)));
    QVERIFY(writeTestFile(folder + "itanium.exe", withMachine(writePe(true, false, {}), 0x200)));
    QVERIFY(writeTestFile(folder + "alpha.exe", withMachine(writePe(false, false, {}), 0x184)));
    QVERIFY(writeTestFile(folder + "pytanie?.exe", writePe(false, false, {})));
    QVERIFY(writeTestFile(folder + QString(110, 'd') + ".exe", writePe(false, false, {})));
    QVERIFY(writeTestFile(folder + "male.ico", icoFile({square(16, Qt::red), square(48, Qt::red)})));
    QVERIFY(writeTestFile(folder + "stare.ico", icoFile(QList<IcoImage>{bmpImage(32, 4, Qt::red)})));
}

// A PE file built for another processor.
QByteArray withMachine(QByteArray pe, quint16 machine)
{
    const quint32 header = quint8(pe[0x3C]) | quint8(pe[0x3D]) << 8;
    pe[header + 4] = char(machine & 0xFF);
    pe[header + 5] = char(machine >> 8);
    return pe;
}

MenuItem item(const QString &caption, const QString &command)
{
    return {caption, command};
}

} // namespace

void TestDiscCheck::findings_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("iconFile");
    QTest::addColumn<int>("iconIndex"); // INT_MIN: the file alone
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<MenuItem>>("items");
    QTest::addColumn<QString>("shellExecute");
    QTest::addColumn<bool>("section"); // whether [autorun] holds a key
    QTest::addColumn<QStringList>("expected"); // "code key", in order

    const QList<MenuItem> none;
    QTest::newRow("sound menu, letter case and separators as Windows reads them")
        << "SETUP.EXE /auto" << "IKONY.DLL" << 1 << u"Płyta ąęśćż"_qs
        << QList<MenuItem>{item("Graj", "\\moje programy/start gry.exe -pełny"),
                           item("Czytaj", "\"czytaj.txt\""), item("Instaluj", "setup.exe")}
        << "" << true << QStringList();
    QTest::newRow("open-missing") << "instaluj.exe" << "" << -1 << "" << none
                                  << "" << true << QStringList{"open-missing open"};
    QTest::newRow("not-program") << "czytaj.txt" << "" << -1 << "" << none
                                 << "" << true << QStringList{"not-program open"};
    QTest::newRow("open-missing and not-program") << "opis.doc" << "" << -1 << "" << none << "" << true
                                                  << QStringList{"open-missing open", "not-program open"};
    QTest::newRow("icon-missing") << "" << "brak.ico" << 0 << "" << none
                                  << "" << true << QStringList{"icon-missing icon"};
    QTest::newRow("icon-index past the last icon") << "" << "ikony.dll" << 2 << "" << none
                                                   << "" << true << QStringList{"icon-index icon"};
    QTest::newRow("icon-index of an .ico file") << "" << "plyta.ico" << 1 << "" << none
                                                << "" << true << QStringList{"icon-index icon"};
    QTest::newRow("icon-index negative") << "" << "plyta.ico" << -1 << "" << none
                                         << "" << true << QStringList{"icon-index icon"};
    QTest::newRow("no number: the first icon") << "" << "ikony.dll" << INT_MIN << "" << none << "" << true
                                               << QStringList();
    QTest::newRow("no number, no icon") << "" << "setup.exe" << INT_MIN << "" << none << "" << true
                                        << QStringList{"icon-index icon"};
    QTest::newRow("icon-index of a program without icons") << "" << "setup.exe" << 0 << "" << none
                                                           << "" << true << QStringList{"icon-index icon"};
    QTest::newRow("icon-index of a text file") << "" << "czytaj.txt" << 0 << "" << none
                                               << "" << true << QStringList{"icon-index icon"};
    QTest::newRow("item-missing") << "" << "" << -1 << ""
                                  << QList<MenuItem>{item("Graj", "setup.exe"), item("Pomoc", "pomoc.exe /?")}
                                  << "" << true << QStringList{"item-missing shell\\00001"};
    QTest::newRow("item-missing: quoted program with a blank") << "" << "" << -1 << ""
        << QList<MenuItem>{item("Graj", "\"Moje programy\\Start.exe\" gry.exe")}
        << "" << true << QStringList{"item-missing shell\\00000"};
    QTest::newRow("outside-disc: above the root") << "..\\poza.exe" << "" << -1 << "" << none
                                                 << "" << true << QStringList{"outside-disc open"};
    QTest::newRow("outside-disc: drive") << "" << "C:\\Windows\\ikona.ico" << 0 << ""
        << QList<MenuItem>{item("Notatnik", "C:\\Windows\\notepad.exe plik.txt")}
        << "" << true << QStringList{"outside-disc icon", "outside-disc shell\\00000"};
    QTest::newRow("inside after a climb") << "Moje programy\\..\\setup.exe" << "" << -1 << "" << none
                                          << "" << true << QStringList();
    QTest::newRow("codepage") << "" << "" << -1 << u"Диск"_qs
        << QList<MenuItem>{item(u"Игра"_qs, "setup.exe"), item("Start", u"setup.exe Ω"_qs)}
        << "" << true << QStringList{"codepage label", "codepage shell\\00000", "codepage shell\\00001"};
    QTest::newRow("line-break") << "" << "" << -1 << "Gra\r\n[autorun.amd64]" << none
                                << "" << true << QStringList{"line-break label"};
    QTest::newRow("line-break in an entry") << "" << "" << -1 << ""
        << QList<MenuItem>{item("Graj", "setup.exe"), item("Gr\naj", "setup.exe")}
        << "" << true << QStringList{"line-break shell\\00001"};
    QTest::newRow("label-long") << "" << "" << -1 << QString(33, 'x') << none
                                << "" << true << QStringList{"label-long label"};
    QTest::newRow("label of 32 characters") << "" << "" << -1 << QString(32, u'ż') << none
                                            << "" << true << QStringList();
    QTest::newRow("duplicate-caption") << "" << "" << -1 << ""
        << QList<MenuItem>{item("&Graj", "setup.exe"), item("Instaluj", "setup.exe"),
                           item("gr&aj", "setup.exe"), item("GRAJ", "setup.exe")}
        << "" << true << QStringList{"duplicate-caption shell\\00002", "duplicate-caption shell\\00003"};
    QTest::newRow("system-program") << "RunDll32.exe url.dll,FileProtocolHandler http://www.example.com" << ""
        << -1 << "" << QList<MenuItem>{item("Czytaj", "notepad czytaj.txt"), item("Strona", "CMD /c start index.htm")}
        << "" << true
        << QStringList{"system-program open", "system-program shell\\00000", "system-program shell\\00001"};
    QTest::newRow("programs without .exe") << "setup /auto" << "" << -1 << ""
        << QList<MenuItem>{item("Graj", "moje programy\\start gry -pełny"), item("Instaluj", "\"SETUP\" /s")}
        << "" << true << QStringList();
    QTest::newRow("shellexecute-missing, never not-program") << "" << "" << -1 << "" << none << "opis.doc" << true
                                                             << QStringList{"shellexecute-missing shellexecute"};
    QTest::newRow("shellexecute of an address") << "" << "" << -1 << "" << none << "http://www.example.com/" << true
                                                << QStringList();
    QTest::newRow("program-16-bit: DOS and NE, each program read once")
        << "DOS\\stary.exe" << "" << -1 << ""
        << QList<MenuItem>{item("Stary", "win31"), item("Nowy", "setup.exe"), item("Znowu", "win31.exe /a")}
        << "" << true
        << QStringList{"program-16-bit open", "program-16-bit shell\\00000", "program-16-bit shell\\00002"};
    QTest::newRow("access-key-twice, \"&&\" no key, letter case aside")
        << "" << "" << -1 << ""
        << QList<MenuItem>{item("&Instaluj", "setup.exe"), item("Tom && Jerry", "setup.exe"),
                           item("&info", "setup.exe"), item("Ko&niec", "setup.exe"), item("&Nowa", "setup.exe")}
        << "" << true << QStringList{"access-key-twice shell\\00002", "access-key-twice shell\\00004"};
    QTest::newRow("program-64-bit, -arm64, -machine: who runs them")
        << "x64.exe" << "" << -1 << ""
        << QList<MenuItem>{item("ARM", "arm"), item("Itanium", "itanium.exe"), item("Alpha", "alpha.exe")}
        << "" << true
        << QStringList{"program-64-bit open", "program-arm64 shell\\00000", "program-machine shell\\00001",
                       "program-machine shell\\00002"};
    QTest::newRow("name-changes-on-disc: a character Joliet has not, a name cut")
        << "PYTANIE?.EXE" << "" << -1 << ""
        << QList<MenuItem>{item("Długa", QString(110, 'D') + ".exe /s")} << "" << true
        << QStringList{"name-changes-on-disc open", "name-changes-on-disc shell\\00000"};
    QTest::newRow("icon-sizes: no 32 x 32") << "" << "male.ico" << INT_MIN << "" << none << "" << true
                                          << QStringList{"icon-sizes icon"};
    QTest::newRow("icon-sizes: 16 colours only") << "" << "stare.ico" << INT_MIN << "" << none << "" << true
                                               << QStringList{"icon-sizes icon"};
    QTest::newRow("no-autorun-section") << "" << "" << -1 << "" << none << "" << false
                                        << QStringList{"no-autorun-section "};
}

void TestDiscCheck::findings()
{
    QFETCH(QString, open);
    QFETCH(QString, iconFile);
    QFETCH(int, iconIndex);
    QFETCH(QString, label);
    QFETCH(QList<MenuItem>, items);
    QFETCH(QString, shellExecute);
    QFETCH(bool, section);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    const QString folder = dir.filePath("plyta/");
    writeDisc(folder);
    MenuDocument doc;
    doc.dataFolder = folder;
    doc.autoStartProgram = open;
    doc.iconFile = iconFile;
    if (iconIndex != INT_MIN)
        doc.iconIndex = iconIndex;
    doc.discLabel = label;
    doc.items = items;
    doc.shellExecute = shellExecute;
    doc.autorunSection = section;

    QStringList found;
    for (const DiscFinding &f : checkDisc(doc, folder)) {
        found << f.code + ' ' + f.key;
        QVERIFY(!f.message.isEmpty());
        const bool error = f.severity == DiscFinding::Severity::Error;
        QCOMPARE(error, QStringList({"open-missing", "icon-missing", "icon-index", "outside-disc",
                                     "shellexecute-missing", "no-autorun-section", "line-break",
                                     "program-16-bit", "name-changes-on-disc"}).contains(f.code));
        QVERIFY(f.severity != DiscFinding::Severity::Info); // the folder lies on no removable drive
    }
    QCOMPARE(found, expected);
}

void TestDiscCheck::keysOfTheFile_data()
{
    QTest::addColumn<QByteArray>("lines"); // of [autorun], after "open=Setup.exe"
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("UseAutoPlay=1") << QByteArray("UseAutoPlay=1") << QStringList{"autoplay-setting useautoplay"};
    QTest::newRow("UseAutoPlay=0") << QByteArray("useautoplay = 0") << QStringList{"autoplay-setting useautoplay"};
    QTest::newRow("defaulticon, its file missing") << QByteArray("icon=plyta.ico\r\ndefaulticon=brak.ico,0")
        << QStringList{"defaulticon-wins defaulticon", "icon-missing defaulticon"};
    QTest::newRow("shell= names an entry") << QByteArray("shell=graj\r\nshell\\Graj=Graj\r\nshell\\Graj\\command=setup.exe")
        << QStringList();
    QTest::newRow("default-verb-missing") << QByteArray("shell=nothere\r\nshell\\a=Graj\r\nshell\\a\\command=setup.exe")
        << QStringList{"default-verb-missing shell"};
    QTest::newRow("all at once") << QByteArray("UseAutoPlay=1\r\ndefaulticon=missing.ico\r\nshell=nothere\r\n"
                                               "shell\\a=&Instaluj\r\nshell\\a\\command=setup.exe\r\n"
                                               "shell\\b=&Info\r\nshell\\b\\command=czytaj.txt")
        << QStringList{"access-key-twice shell\\00001", "autoplay-setting useautoplay", "defaulticon-wins defaulticon",
                       "icon-missing defaulticon", "default-verb-missing shell"};
    // Windows of the architecture reads its section alone, which is checked as [autorun] is.
    QTest::newRow("arch-section, its program missing")
        << QByteArray("[autorun.amd64]\r\nopen=setup64.exe") << QStringList{"arch-section  autorun.amd64",
                                                                 "open-missing open autorun.amd64"};
    QTest::newRow("arch-section: its icon, entries and default entry")
        << QByteArray("[AutoRun.PPC]\r\nicon=ikony.dll,5\r\nshell=nic\r\nshell\\x=&X\r\nshell\\x\\command=brak.exe\r\n"
                      "shell\\y=&Y\r\nshell\\y\\command=alpha.exe")
        << QStringList{"arch-section  autorun.ppc", "icon-index icon autorun.ppc", "item-missing shell\\x autorun.ppc",
                       "program-machine shell\\y autorun.ppc", "default-verb-missing shell autorun.ppc"};
    QTest::newRow("a program for the section's processor")
        << QByteArray("[autorun.alpha]\r\nopen=alpha.exe") << QStringList{"arch-section  autorun.alpha"};
    QTest::newRow("program-64-bit only without [autorun.amd64]")
        << QByteArray("shell\\a=64\r\nshell\\a\\command=x64.exe\r\n[autorun.amd64]\r\nopen=x64.exe")
        << QStringList{"arch-section  autorun.amd64"};
}

// The keys of a real autorun.inf that no control edits, as the reader hands them to the check.
void TestDiscCheck::keysOfTheFile()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath("plyta/");
    writeDisc(folder);
    QVERIFY(writeTestFile(folder + "autorun.inf", "[autorun]\r\nopen=Setup.exe\r\n" + lines + "\r\n"));
    const AutorunContent content = readAutorun(folder + "autorun.inf");
    MenuDocument doc;
    doc.dataFolder = folder;
    doc.autoStartProgram = content.open;
    doc.items = content.items;
    doc.kept = content.kept;
    doc.iconFile = content.icon ? content.icon->file : QString();
    QStringList found;
    for (const DiscFinding &f : checkDisc(doc, folder)) {
        found << f.code + ' ' + f.key + (f.section.isEmpty() ? QString() : ' ' + f.section);
        QCOMPARE(f.message.contains("[" + f.section + "]"), !f.section.isEmpty());
    }
    QCOMPARE(found, expected);
}

void TestDiscCheck::theImage_data()
{
    QTest::addColumn<QStringList>("files"); // "path" or "path=size" (sparse, nothing written)
    QTest::addColumn<QStringList>("expected"); // "code key severity"
    QTest::newRow("a CD, names Windows reads well") << QStringList{"setup.exe", "Dane/opis.txt", "Dane/Żółw.ico"}
                                                    << QStringList{"disc-size  info"};
    QTest::newRow("name-not-on-windows: case twins, characters, a trailing dot, per folder")
        << QStringList{"Readme.txt", "README.TXT", "inne.txt", "Dane/a|b.txt", "Dane/plik.", "Dane/a<b.txt",
                       "Dane/dobry.txt"}
        << QStringList{"name-not-on-windows  warning", "name-not-on-windows Dane warning", "disc-size  info"};
    QTest::newRow("file-over-4gib, and the DVD it fits")
        << QStringList{"Wideo/film.mkv=4294967296", "setup.exe"}
        << QStringList{"file-over-4gib Wideo\\film.mkv warning", "disc-size  info"};
    QTest::newRow("disc-size: fits no disc")
        << QStringList{"a.bin=4000000000", "b.bin=4000000000", "c.bin=4000000000", "d.bin=4000000000",
                       "e.bin=4000000000", "f.bin=4000000000", "g.bin=4000000000"}
        << QStringList{"disc-size  warning"};
}

// The findings of the image a folder makes, laid out by the image's own code.
void TestDiscCheck::theImage()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath("plyta/");
    for (const QString &file : files) {
        const QStringList parts = file.split('=');
        QVERIFY(writeTestFile(folder + parts[0], "x"));
        if (parts.size() > 1)
            QVERIFY(QFile::resize(folder + parts[0], parts[1].toLongLong()));
    }
    QStringList found;
    const char *severities[] = {"error", "warning", "info"};
    for (const DiscFinding &f : checkDiscImage(folder, QString())) {
        found << f.code + ' ' + f.key + ' ' + severities[int(f.severity)];
        if (f.code == "disc-size" && f.severity == DiscFinding::Severity::Info)
            QVERIFY2(f.message.contains(files.size() == 2 ? "DVD 4,7 GB" : "CD 650 MB"), qPrintable(f.message));
        if (f.code == "name-not-on-windows")
            QVERIFY2(f.message.contains(f.key.isEmpty() ? "README.TXT, Readme.txt" : "a|b.txt, plik., a<b.txt")
                         || f.message.contains(f.key.isEmpty() ? "Readme.txt, README.TXT" : "a<b.txt"),
                     qPrintable(f.message));
    }
    QCOMPARE(found, expected);
}

void TestDiscCheck::removableDrive_data()
{
    QTest::addColumn<QString>("disk"); // under devices/, the disk of the partition
    QTest::addColumn<QString>("removable");
    QTest::addColumn<bool>("expected");
    QTest::newRow("a card reader's card") << "platform/mmc0/block/mmcblk0" << "1" << true;
    QTest::newRow("a USB stick that calls itself fixed") << "pci0000:00/usb2/2-1/host6/block/sdb" << "0" << true;
    QTest::newRow("a fixed disk") << "pci0000:00/ata1/host0/block/sda" << "0" << false;
}

// The system's device tree as Linux lays it out, made in a temporary folder.
void TestDiscCheck::removableDrive()
{
    QFETCH(QString, disk);
    QFETCH(QString, removable);
    QFETCH(bool, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath("plik.txt");
    QVERIFY(writeTestFile(file, "x"));
    const QString sys = dir.filePath("sys");
    const QString partition = sys + "/devices/" + disk + "/" + disk.section('/', -1) + "1";
    QVERIFY(writeTestFile(partition + "/partition", "1\n"));
    QVERIFY(writeTestFile(sys + "/devices/" + disk + "/removable", removable.toLatin1() + "\n"));
    struct stat status;
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &status), 0);
    QVERIFY(QDir().mkpath(sys + "/dev/block"));
    const QString device = QString("%1/dev/block/%2:%3").arg(sys).arg(major(status.st_dev)).arg(minor(status.st_dev));
    QVERIFY(QFile::link(partition, device));
    QCOMPARE(onRemovableDrive(QFile::encodeName(file), QFile::encodeName(sys)), expected);
    QVERIFY(!onRemovableDrive(QFile::encodeName(file), QFile::encodeName(dir.filePath("brak"))));
}

// The noun after a number in the messages.
void TestDiscCheck::pluralForms()
{
    QStringList found;
    for (const qint64 n : {1, 2, 4, 5, 11, 12, 14, 21, 22, 34, 112, 0, -3})
        found << QString::number(n) + ' ' + polishPlural(n, u"znak"_qs, u"znaki"_qs, u"znaków"_qs);
    QCOMPARE(found, QStringList({"1 znak", "2 znaki", "4 znaki", "5 znaków", "11 znaków", "12 znaków", "14 znaków",
                                 "21 znaków", "22 znaki", "34 znaki", "112 znaków", "0 znaków", "-3 znaki"}));
    QStringList numbers;
    for (const qint64 n : {0LL, 999LL, 4689LL, 4689920LL, 2097481728LL, -12345LL})
        numbers << polishNumber(n).replace(QChar(0x00A0), ' ');
    QCOMPARE(numbers, QStringList({"0", "999", "4 689", "4 689 920", "2 097 481 728", "-12 345"}));
}

QTEST_GUILESS_MAIN(TestDiscCheck)
#include "tst_disccheck.moc"
