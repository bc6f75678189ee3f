#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/KeptLines.h"
#include "core/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(QList<MenuItem>)

class TestAutorunWriter : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void numbering();
    void writesIntoTheFolder();
    void overwritesAnExistingFileInAnyCase();
    void failedWriteLeavesNothingBehind_data();
    void failedWriteLeavesNothingBehind();
    void failedWriteKeepsTheOldFile();
    void fileThatCannotBeReadIsLeftAlone();
    void keepsWhatItDoesNotEdit_data();
    void keepsWhatItDoesNotEdit();
};

namespace {

MenuDocument exampleDocument()
{
    MenuDocument doc;
    doc.autoStartProgram = QStringLiteral("setup.exe");
    doc.iconFile = QStringLiteral("setup.exe");
    doc.iconIndex = 0;
    doc.discLabel = QStringLiteral("MOJA PLYTA");
    doc.items = {{QStringLiteral("Zainstaluj program"), QStringLiteral("setup.exe")},
                 {QStringLiteral("Przeglądarka"), QStringLiteral("narzedzia\\view.exe")}};
    return doc;
}

MenuDocument documentOf(const QByteArray &bytes)
{
    const AutorunContent content = readAutorun(ProfileFile::fromBytes(bytes));
    MenuDocument doc;
    doc.autoStartProgram = content.open;
    doc.iconFile = content.icon ? content.icon->file : QString();
    doc.iconIndex = content.icon ? content.icon->index : std::nullopt;
    doc.discLabel = content.label.value_or(QString());
    doc.items = content.items;
    return doc;
}

QByteArray utf16(const QString &text)
{
    return "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

} // namespace

void TestAutorunWriter::bytes_data()
{
    QTest::addColumn<MenuDocument>("doc");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("full example") << exampleDocument()
        << QByteArray("[autorun]\r\n"
                      "Open=setup.exe\r\n"
                      "Icon=setup.exe,0\r\n"
                      "Name=MOJA PLYTA\r\n"
                      "Label=MOJA PLYTA\r\n"
                      "\r\n"
                      "shell\\00000\\command=setup.exe\r\n"
                      "shell\\00000=Zainstaluj program\r\n"
                      "\r\n"
                      "shell\\00001\\command=narzedzia\\view.exe\r\n"
                      "shell\\00001=Przegl\xB9" "darka\r\n"
                      "\r\n");

    MenuDocument empty;
    QTest::newRow("nothing") << empty << QByteArray("[autorun]\r\n\r\n");

    MenuDocument label;
    label.discLabel = QStringLiteral("Płyta z bardzo długą etykietą");
    QTest::newRow("only a label, kept whole") << label
        << QByteArray("[autorun]\r\nName=P\xB3yta z bardzo d\xB3ug\xB9 etykiet\xB9\r\n"
                      "Label=P\xB3yta z bardzo d\xB3ug\xB9 etykiet\xB9\r\n\r\n");

    MenuDocument noNumber;
    noNumber.iconFile = QStringLiteral("ikony,stare.dll"); // Windows would cut the name at the comma
    QTest::newRow("a comma in the name needs the number")
        << noNumber << QByteArray("[autorun]\r\nIcon=ikony,stare.dll,0\r\n\r\n");

    MenuDocument percent; // the user's text is never a format
    percent.iconFile = QStringLiteral("ik%1on.ico");
    percent.iconIndex = 2;
    percent.discLabel = QStringLiteral("50%2");
    QTest::newRow("percent signs in names") << percent
        << QByteArray("[autorun]\r\nIcon=ik%1on.ico,2\r\nName=50%2\r\nLabel=50%2\r\n\r\n");

    MenuDocument items;
    items.items = {{QStringLiteral("a=b \"c\""), QStringLiteral("bin\\setup.exe /s \"C:\\x y\"")}};
    QTest::newRow("verbatim label and command") << items
        << QByteArray("[autorun]\r\n\r\n"
                      "shell\\00000\\command=bin\\setup.exe /s \"C:\\x y\"\r\n"
                      "shell\\00000=a=b \"c\"\r\n\r\n");
}

void TestAutorunWriter::bytes()
{
    QFETCH(MenuDocument, doc);
    QFETCH(QByteArray, expected);
    QCOMPARE(autorunBytes(doc), expected);
}

void TestAutorunWriter::numbering()
{
    MenuDocument doc;
    for (int i = 0; i <= 100000; ++i)
        doc.items.append({QStringLiteral("x"), QStringLiteral("x.exe")});
    const QStringList lines = autorunLines(doc);
    QCOMPARE(lines.size(), 2 + 3 * doc.items.size());
    QCOMPARE(lines[2 + 3 * 99], QStringLiteral("shell\\00099\\command=x.exe"));
    QCOMPARE(lines[2 + 3 * 99999 + 1], QStringLiteral("shell\\99999=x"));
    QCOMPARE(lines[2 + 3 * 100000], QStringLiteral("shell\\100000\\command=x.exe"));
}

void TestAutorunWriter::writesIntoTheFolder()
{
    QTemporaryDir dir;
    MenuDocument doc = exampleDocument();
    doc.dataFolder = dir.path() + QLatin1Char('/');
    QString error;
    QVERIFY(writeAutorunFile(doc, &error));
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")), autorunBytes(doc));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"autorun.inf"});
}

void TestAutorunWriter::overwritesAnExistingFileInAnyCase()
{
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("AUTORUN.INF"), QByteArray(5000, 'x')));
    MenuDocument doc = exampleDocument();
    doc.dataFolder = dir.path() + QLatin1Char('/');
    QVERIFY(writeAutorunFile(doc));
    QCOMPARE(readTestFile(dir.filePath("AUTORUN.INF")), autorunBytes(doc));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"AUTORUN.INF"});
}

void TestAutorunWriter::failedWriteLeavesNothingBehind_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("blockWithFolder");
    QTest::newRow("missing folder") << "brak/" << false;
    QTest::newRow("a folder named autorun.inf") << "" << true;
}

void TestAutorunWriter::failedWriteLeavesNothingBehind()
{
    QFETCH(QString, subfolder);
    QFETCH(bool, blockWithFolder);
    QTemporaryDir dir;
    if (blockWithFolder)
        QVERIFY(QDir(dir.path()).mkdir("autorun.inf"));
    MenuDocument doc = exampleDocument();
    doc.dataFolder = dir.path() + QLatin1Char('/') + subfolder;
    QString error;
    QVERIFY(!writeAutorunFile(doc, &error));
    QVERIFY(!error.isEmpty());
    const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden
                                                        | QDir::NoDotAndDotDot);
    QCOMPARE(left, blockWithFolder ? QStringList{"autorun.inf"} : QStringList());
    QVERIFY(!blockWithFolder || QFileInfo(dir.filePath("autorun.inf")).isDir());
}

void TestAutorunWriter::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QByteArray old("[autorun]\r\nOpen=stary.exe\r\n\r\n");
    QVERIFY(writeTestFile(dir.filePath("autorun.inf"), old));
    MenuDocument doc = exampleDocument();
    doc.dataFolder = dir.path() + QLatin1Char('/');
    {
        const FileSizeLimit limit(16); // the new text is longer: the disc is "full"
        QVERIFY(!writeAutorunFile(doc));
    }
    QCOMPARE(readTestFile(dir.filePath("autorun.inf")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"autorun.inf"});
}

// Replacing it would lose what Save keeps of it; the FIFO is not waited on either.
void TestAutorunWriter::fileThatCannotBeReadIsLeftAlone()
{
    QTemporaryDir dir;
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("autorun.inf")).constData(), 0600) == 0);
    MenuDocument doc = exampleDocument();
    doc.dataFolder = dir.path() + QLatin1Char('/');
    QString error;
    QVERIFY(!writeAutorunFile(doc, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo(dir.filePath("autorun.inf")).isFile());
}

// The file is read, its entries edited (items, with the verbs they were read under) and saved.
void TestAutorunWriter::keepsWhatItDoesNotEdit_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QList<MenuItem>>("items");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("driver disc with LF line ends") << QByteArray(
        "[autorun]\nopen=setup.exe\nlabel=Sterowniki\naction=Zainstaluj sterowniki\nUseAutoPlay=1\n"
        "defaulticon=disc.ico\n\n[DeviceInstall]\nDriverPath=drivers\\x86\nDriverPath=drivers\\amd64\n")
        << QList<MenuItem>() << QByteArray(
        "[autorun]\r\nOpen=setup.exe\r\nName=Sterowniki\r\nLabel=Sterowniki\r\n\r\n"
        "action=Zainstaluj sterowniki\r\nUseAutoPlay=1\r\ndefaulticon=disc.ico\r\n\r\n"
        "[DeviceInstall]\r\nDriverPath=drivers\\x86\r\nDriverPath=drivers\\amd64\r\n");

    const QByteArray polish(
        "; p\xB3yta z programami\r\njunk\r\n[autorun]\r\nOPEN=setup.exe\r\n; wpisy\r\n"
        "shell\\install=Zainstaluj\r\nshell\\install\\command=setup.exe\r\n"
        "shell\\tools=Narz\xEA" "dzia\r\nshell\\tools\\command=tools.exe\r\nShell = \"TOOLS\"\r\n"
        "Shell\\Czytaj=Przeczytaj\r\nShell\\Czytaj\\command=notepad readme.txt\r\nshellexecute=index.htm\r\n"
        "[autorun.amd64]\r\n; 64 bity\r\nopen=setup64.exe\r\nopen=drugi.exe\r\n[Content]\r\nMusicFiles=false\r\n"
        "[autorun]\r\nopen=nieczytany.exe\r\n");
    const QByteArray keptPolish(
        "Shell\\Czytaj=Przeczytaj\r\nShell\\Czytaj\\command=notepad readme.txt\r\nshellexecute=index.htm\r\n\r\n"
        "[autorun.amd64]\r\n; 64 bity\r\nopen=setup64.exe\r\nopen=drugi.exe\r\n[Content]\r\nMusicFiles=false\r\n"
        "[autorun]\r\nopen=nieczytany.exe\r\n");
    const MenuItem tools{u"Narzędzia"_qs, "tools.exe", "tools"};
    QTest::newRow("Windows-1250, comments, platform sections, upper-case verbs") << polish
        << QList<MenuItem>{{"Zainstaluj", "setup.exe", "install"}, tools}
        << "; p\xB3yta z programami\r\n[autorun]\r\nOpen=setup.exe\r\n\r\n"
           "shell\\00000\\command=setup.exe\r\nshell\\00000=Zainstaluj\r\n\r\n"
           "shell\\00001\\command=tools.exe\r\nshell\\00001=Narz\xEA" "dzia\r\n\r\n"
           "; wpisy\r\nShell =00001\r\n" + keptPolish;
    QTest::newRow("the default verb follows its entry") << polish << QList<MenuItem>{tools}
        << "; p\xB3yta z programami\r\n[autorun]\r\nOpen=setup.exe\r\n\r\n"
           "shell\\00000\\command=tools.exe\r\nshell\\00000=Narz\xEA" "dzia\r\n\r\n"
           "; wpisy\r\nShell =00000\r\n" + keptPolish;
    QTest::newRow("new entries take no verb a kept key uses; the default verb follows its entry")
        << QByteArray("[autorun]\r\nicon=ikony.dll, 3\r\nshell\\a=A\r\nshell\\a\\command=a.exe\r\nshell\\b=B\r\n"
                      "shell\\b\\command=b.exe\r\n; bez polecenia\r\nshell\\00001=Pomoc\r\nSHELL\\00002\\x=y\r\n"
                      "shell/00003=z\r\nshell='b'\r\n")
        << QList<MenuItem>{{"Nowe B", "nowe.exe /s", "B"}, {"A", "a.exe", "a"}, {"Nowa", "nowa.exe"}}
        << QByteArray("[autorun]\r\nIcon=ikony.dll,3\r\n\r\nshell\\00000\\command=nowe.exe /s\r\n"
                      "shell\\00000=Nowe B\r\n\r\nshell\\00004\\command=a.exe\r\nshell\\00004=A\r\n\r\n"
                      "shell\\00005\\command=nowa.exe\r\nshell\\00005=Nowa\r\n\r\n; bez polecenia\r\n"
                      "shell\\00001=Pomoc\r\nSHELL\\00002\\x=y\r\nshell/00003=z\r\nshell=00000\r\n\r\n");
    QTest::newRow("the default verb of a deleted entry goes")
        << QByteArray("[autorun]\r\nshell\\a=A\r\nshell\\a\\command=a.exe\r\nshell=a\r\n") << QList<MenuItem>()
        << QByteArray("[autorun]\r\n\r\n");
    QTest::newRow("UTF-16 stays UTF-16") << utf16(u"[autorun]\r\nopen=a.exe\r\naction=Uruchom ł\r\n"_qs)
        << QList<MenuItem>() << utf16(u"[autorun]\r\nOpen=a.exe\r\n\r\naction=Uruchom ł\r\n\r\n"_qs);
}

void TestAutorunWriter::keepsWhatItDoesNotEdit()
{
    QFETCH(QByteArray, existing);
    QFETCH(QList<MenuItem>, items);
    QFETCH(QByteArray, expected);
    MenuDocument doc = documentOf(existing);
    doc.items = items;
    QStringList verbs;
    const QByteArray written = autorunBytesKeeping(doc, existing, &verbs);
    QCOMPARE(written, expected);
    const MenuDocument read = documentOf(written);
    QCOMPARE(read.autoStartProgram, doc.autoStartProgram);
    QCOMPARE(read.iconFile, doc.iconFile);
    QCOMPARE(read.iconIndex, doc.iconIndex);
    QCOMPARE(read.discLabel, doc.discLabel);
    QCOMPARE(read.items, doc.items);
    QCOMPARE(verbs.size(), read.items.size()); // the window takes the verbs on
    for (qsizetype i = 0; i < verbs.size(); ++i)
        QCOMPARE(verbs[i], read.items[i].verb);
    QCOMPARE(autorunBytesKeeping(read, written), written); // saving again changes nothing
}

QTEST_GUILESS_MAIN(TestAutorunWriter)
#include "tst_autorunwriter.moc"
