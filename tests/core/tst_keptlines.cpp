#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/KeptLines.h"
#include "core/ProfileFile.h"

#include <QStringEncoder>
#include <QtTest>

class TestKeptLines : public QObject
{
    Q_OBJECT

private slots:
    void keeps_data();
    void keeps();
};

namespace {

MenuDocument documentOf(const QByteArray &bytes)
{
    const AutorunContent content = readAutorun(ProfileFile::fromBytes(bytes), QStringLiteral("/brak-pelmora/"));
    MenuDocument doc;
    doc.autoStartProgram = content.open;
    doc.discLabel = content.label.value_or(QString());
    doc.items = content.items;
    return doc;
}

QByteArray utf16(const QString &text)
{
    return "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

} // namespace

void TestKeptLines::keeps_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<bool>("deleteFirstItem");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("driver disc with LF line ends") << QByteArray(
        "[autorun]\nopen=setup.exe\nlabel=Sterowniki\naction=Zainstaluj sterowniki\nUseAutoPlay=1\n"
        "defaulticon=disc.ico\n\n[DeviceInstall]\nDriverPath=drivers\\x86\nDriverPath=drivers\\amd64\n")
        << false << QByteArray(
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
    QTest::newRow("Windows-1250, comments, platform sections, upper-case verbs") << polish << false
        << "; p\xB3yta z programami\r\n[autorun]\r\nOpen=setup.exe\r\n\r\n"
           "shell\\00000\\command=setup.exe\r\nshell\\00000=Zainstaluj\r\n\r\n"
           "shell\\00001\\command=tools.exe\r\nshell\\00001=Narz\xEA" "dzia\r\n\r\nShell =00001\r\n" + keptPolish;
    QTest::newRow("the default verb follows its entry") << polish << true
        << "; p\xB3yta z programami\r\n[autorun]\r\nOpen=setup.exe\r\n\r\n"
           "shell\\00000\\command=tools.exe\r\nshell\\00000=Narz\xEA" "dzia\r\n\r\nShell =00000\r\n" + keptPolish;
    QTest::newRow("the default verb of a deleted entry goes")
        << QByteArray("[autorun]\r\nshell\\a=A\r\nshell\\a\\command=a.exe\r\nshell=a\r\n") << true
        << QByteArray("[autorun]\r\n\r\n");
    QTest::newRow("UTF-16 stays UTF-16") << utf16(u"[autorun]\r\nopen=a.exe\r\naction=Uruchom ł\r\n"_qs) << false
        << utf16(u"[autorun]\r\nOpen=a.exe\r\n\r\naction=Uruchom ł\r\n\r\n"_qs);
}

void TestKeptLines::keeps()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, deleteFirstItem);
    QFETCH(QByteArray, expected);
    MenuDocument doc = documentOf(existing);
    if (deleteFirstItem)
        doc.items.removeFirst();
    const QByteArray written = autorunBytesKeeping(doc, existing);
    QCOMPARE(written, expected);
    const MenuDocument read = documentOf(written);
    QCOMPARE(read.autoStartProgram, doc.autoStartProgram);
    QCOMPARE(read.discLabel, doc.discLabel);
    QCOMPARE(read.items, doc.items);
    QCOMPARE(autorunBytesKeeping(read, written), written); // saving again changes nothing
}

QTEST_GUILESS_MAIN(TestKeptLines)
#include "tst_keptlines.moc"
