#include "IconLocations.h"
#include "SpecialFiles.h"
#include "TestFiles.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestAutorunReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void icon_data();
    void icon();
    void label_data();
    void label();
    void items_data();
    void items();
    void programAndLetterCase();
    void missingSectionGivesNothing();
    void whyNothingWasRead_data();
    void whyNothingWasRead();
    void writtenFileReadsBack();
    void everyByteSurvivesReadAndWrite();
    void wholeNumber_data();
    void wholeNumber();
    void extension_data();
    void extension();

private:
    AutorunContent read(const QByteArray &text);

    QTemporaryDir m_dir;
    QString m_folder;
};

Q_DECLARE_METATYPE(QList<MenuItem>)

void TestAutorunReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + QLatin1Char('/');
    QVERIFY(writeTestFile(m_folder + "setup.exe", "MZ"));
    QVERIFY(writeTestFile(m_folder + "disc.ico", ""));
}

AutorunContent TestAutorunReader::read(const QByteArray &text)
{
    if (!writeTestFile(m_folder + "autorun.inf", text))
        qFatal("cannot write the fixture");
    return readAutorun(m_folder + "autorun.inf");
}

void TestAutorunReader::icon_data()
{
    addIconLocationRows();
}

// What the reader takes is what the writer writes back.
void TestAutorunReader::icon()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QByteArray, written);
    const AutorunContent content = read("[autorun]\r\n" + line + "\r\n");
    QVERIFY(content.icon);
    MenuDocument doc;
    doc.iconFile = content.icon->file;
    doc.iconIndex = content.icon->index;
    QCOMPARE(doc.iconFile, file);
    QCOMPARE(doc.iconIndex.value_or(INT_MIN), index);
    QCOMPARE(autorunLines(doc).value(1).toLatin1(), written);
}

void TestAutorunReader::label_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("label");

    QTest::newRow("name") << QByteArray("name=MOJA PLYTA") << true << "MOJA PLYTA";
    QTest::newRow("name wins over label") << QByteArray("Label=B\r\nNAME=A") << true << "A";
    QTest::newRow("label alone") << QByteArray("label=ABC") << true << "ABC";
    QTest::newRow("present but empty") << QByteArray("name=\r\nlabel=ABC") << true << "";
    QTest::newRow("none") << QByteArray("open=setup.exe") << false << "";
    QTest::newRow("long label kept whole") << QByteArray("name=Bardzo d\xB3uga etykieta p\xB3yty")
                                           << true << u"Bardzo długa etykieta płyty"_qs;
}

void TestAutorunReader::label()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, present);
    QFETCH(QString, label);
    const AutorunContent content = read("[autorun]\r\n" + text + "\r\n");
    QCOMPARE(content.label.has_value(), present);
    QCOMPARE(content.label.value_or(QString()), label);
}

void TestAutorunReader::items_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<MenuItem>>("items");

    QTest::newRow("numbered pair") << QByteArray("shell\\00000=Start\r\nshell\\00000\\command=setup.exe")
                                   << QList<MenuItem>{{"Start", "setup.exe"}};
    QTest::newRow("named verb") << QByteArray("shell\\instaluj=Instaluj\r\nshell\\instaluj\\command=bin\\inst.exe")
                                << QList<MenuItem>{{"Instaluj", "bin\\inst.exe"}};
    QTest::newRow("caption without command") << QByteArray("shell\\00001=Pomoc") << QList<MenuItem>{};
    QTest::newRow("capital S yields nothing")
        << QByteArray("Shell\\00002=X\r\nShell\\00002\\command=x.exe") << QList<MenuItem>{};
    QTest::newRow("pair lookup ignores case")
        << QByteArray("shell\\a=A\r\nSHELL\\A\\COMMAND=a.exe") << QList<MenuItem>{{"A", "a.exe"}};
    QTest::newRow("order of caption lines")
        << QByteArray("shell\\b\\command=b.exe\r\nshell\\a=A\r\nshell\\b=B\r\nshell\\a\\command=a.exe")
        << QList<MenuItem>{{"A", "a.exe"}, {"B", "b.exe"}};
    QTest::newRow("commands read verbatim")
        << QByteArray("shell\\00000=Abs\r\nshell\\00000\\command=C:\\x.exe /q\r\n"
                      "shell\\00001=Lead\r\nshell\\00001\\command=\\setup.exe")
        << QList<MenuItem>{{"Abs", "C:\\x.exe /q"}, {"Lead", "\\setup.exe"}};
    QTest::newRow("the first copy wins, also next to the caption")
        << QByteArray("shell\\a\\command=pierwszy.exe\r\nx=1\r\nshell\\a=A\r\nshell\\a\\command=drugi.exe\r\n"
                      "shell\\a=A2")
        << QList<MenuItem>{{"A", "pierwszy.exe"}, {"A", "pierwszy.exe"}};
    QTest::newRow("other keys ignored")
        << QByteArray("label=ABC\r\naction=Otw\xF3rz\r\nopen=setup.exe") << QList<MenuItem>{};
}

void TestAutorunReader::items()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<MenuItem>, items);
    QCOMPARE(read("[autorun]\r\n" + text + "\r\n[other]\r\nshell\\9=X\r\nshell\\9\\command=y").items,
             items);
}

void TestAutorunReader::programAndLetterCase()
{
    const AutorunContent content =
        read("; made by hand\r\n[AutoRun]\r\nOPEN=bin\\start.exe\r\nIcon=disc.ico\r\n"
             "NAME=Dysk\r\nshell\\x=X\r\nshell\\x\\command=x.exe\r\n");
    QCOMPARE(content.open, QStringLiteral("bin\\start.exe"));
    QCOMPARE(content.icon->file, QStringLiteral("disc.ico"));
    QCOMPARE(content.label, std::optional<QString>(QStringLiteral("Dysk")));
    QCOMPARE(content.items, (QList<MenuItem>{{"X", "x.exe"}}));
}

void TestAutorunReader::missingSectionGivesNothing()
{
    for (const QByteArray &text : {QByteArray("[other]\r\nopen=a.exe\r\nname=X\r\n"),
                                   QByteArray("[autorun]\r\n\r\n[autorun]\r\nopen=a.exe\r\n"),
                                   QByteArray()}) {
        const AutorunContent content = read(text);
        QVERIFY(content.open.isEmpty());
        QVERIFY(!content.icon);
        QVERIFY(!content.label);
        QVERIFY(content.items.isEmpty());
    }
    const AutorunContent missing = readAutorun(m_folder + "brak.inf");
    QVERIFY(missing.open.isEmpty() && !missing.icon && !missing.label && missing.items.isEmpty());
}

Q_DECLARE_METATYPE(FileReadError)

// The window tells the user why a file gave nothing.
void TestAutorunReader::whyNothingWasRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<FileReadError>("error");
    QTest::newRow("a file") << "file" << FileReadError::None;
    QTest::newRow("none") << "none" << FileReadError::Missing;
    QTest::newRow("FIFO") << "fifo" << FileReadError::NotRegularFile;
    QTest::newRow("65 MiB") << "large" << FileReadError::TooLarge;
}

void TestAutorunReader::whyNothingWasRead()
{
    QFETCH(QString, kind);
    QFETCH(FileReadError, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("autorun.inf");
    SpecialFiles special;
    if (kind == "fifo") {
        QVERIFY(special.make(kind, path));
    } else if (kind != "none") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[autorun]\r\nopen=setup.exe\r\n");
        if (kind == "large")
            QVERIFY(file.resize(65 * 1024 * 1024));
    }
    const AutorunContent content = returnsAtOnce([&] { return readAutorun(path); });
    QCOMPARE(content.readError, error);
    QCOMPARE(content.open, QString(error == FileReadError::None ? "setup.exe" : ""));
}

void TestAutorunReader::writtenFileReadsBack()
{
    MenuDocument doc;
    doc.dataFolder = m_folder;
    doc.autoStartProgram = QStringLiteral("setup.exe");
    doc.iconFile = QStringLiteral("setup.exe");
    doc.iconIndex = 7;
    doc.discLabel = QStringLiteral("Płyta ąęż");
    doc.items = {{"Zainstaluj", "setup.exe"}, {"a=b", "x y.exe /s"}, {"Zainstaluj", "setup.exe"}};
    QVERIFY(writeAutorunFile(doc));

    for (int pass = 0; pass < 2; ++pass) { // reading again gives the same
        const AutorunContent content = readAutorun(autorunPath(m_folder));
        QCOMPARE(content.open, doc.autoStartProgram);
        QCOMPARE(content.icon->file, doc.iconFile);
        QCOMPARE(content.icon->index, std::optional<int>(7));
        QCOMPARE(content.label, std::optional<QString>(doc.discLabel));
        QCOMPARE(content.items, doc.items);
    }
}

// Every byte value a label or command can hold comes back unchanged after a read and a write.
void TestAutorunReader::everyByteSurvivesReadAndWrite()
{
    QByteArray high, low;
    for (int b = 0x21; b < 256; ++b)
        high.append(char(b));
    for (int b = 1; b < 0x20; ++b) {
        if (b < 9 || b > 13)
            low.append(char(b));
    }
    const QByteArray text = "[autorun]\r\nOpen=" + high + "\r\nName=a" + low + "z\r\n\r\n"
        + "shell\\00000\\command=x" + low + "\r\nshell\\00000=" + high + "\r\n\r\n";
    const AutorunContent content = read(text);

    MenuDocument doc;
    doc.autoStartProgram = content.open;
    doc.discLabel = *content.label;
    doc.items = content.items;
    QByteArray expected = text;
    // the label is written twice
    expected.insert(expected.indexOf("\r\n\r\n") + 2, "Label=a" + low + "z\r\n");
    QCOMPARE(autorunBytes(doc), expected);
}

void TestAutorunReader::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "12" << true << 12;
    QTest::newRow("minus") << "-1" << true << -1;
    QTest::newRow("plus") << "+3" << true << 3;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("int min") << "-2147483648" << true << INT_MIN;
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("blank") << " 1" << false << 0;
    QTest::newRow("hex") << "0x1" << false << 0;
    QTest::newRow("arabic-indic digit") << u"\u0661"_qs << false << 0;
}

void TestAutorunReader::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int parsed = 0;
    QCOMPARE(parseWholeNumber(text, &parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
}

void TestAutorunReader::extension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("ext");
    QTest::newRow("plain") << "disc.ico" << ".ico";
    QTest::newRow("with index") << "setup.exe,0" << ".exe,0";
    QTest::newRow("dot in folder") << "a.b\\disc" << "";
    QTest::newRow("after drive") << "C:x" << "";
    QTest::newRow("none") << "setup" << "";
}

void TestAutorunReader::extension()
{
    QFETCH(QString, path);
    QFETCH(QString, ext);
    QCOMPARE(fileExtension(path), ext);
}

QTEST_GUILESS_MAIN(TestAutorunReader)
#include "tst_autorunreader.moc"
