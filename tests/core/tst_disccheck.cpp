#include "IconFixtures.h"
#include "TestFiles.h"
#include "core/AutorunReader.h"
#include "core/DiscCheck.h"
#include "core/PolishText.h"

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
    void pluralForms();
};

Q_DECLARE_METATYPE(QList<MenuItem>)

namespace {

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
                                     "program-16-bit"}).contains(f.code));
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
    QStringList found;
    for (const DiscFinding &f : checkDisc(doc, folder))
        found << f.code + ' ' + f.key;
    QCOMPARE(found, expected);
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
