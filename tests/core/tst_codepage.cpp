#include "core/CodePage.h"

#include <QtTest>

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void everyByteSurvives_data();
    void everyByteSurvives();
    void polishLetters();
    void unknownNameFallsBackToWindows1250();
    void unencodableCharacterBecomesQuestionMark();
};

void TestCodePage::everyByteSurvives_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("windows-1250") << QByteArray("windows-1250");
    QTest::newRow("windows-1252") << QByteArray("windows-1252");
}

void TestCodePage::everyByteSurvives()
{
    QFETCH(QByteArray, name);
    const CodePage page(name);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = page.decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(page.encode(text), all);
    for (int b = 0; b < 256; ++b) // also one at a time, as a value stands alone
        QCOMPARE(page.encode(page.decode(all.mid(b, 1))), all.mid(b, 1));
}

void TestCodePage::polishLetters()
{
    const CodePage page("windows-1250");
    const QString text = QStringLiteral("Zażółć gęślą jaźń ŻÓŁĆ");
    const QByteArray bytes("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF\xD3\xA3\xC6");
    QCOMPARE(page.encode(text), bytes);
    QCOMPARE(page.decode(bytes), text);
}

void TestCodePage::unknownNameFallsBackToWindows1250()
{
    QCOMPARE(CodePage("no-such-page").name(), QByteArray("windows-1250"));
    QCOMPARE(CodePage("").name(), QByteArray("windows-1250"));
}

void TestCodePage::unencodableCharacterBecomesQuestionMark()
{
    const CodePage page("windows-1250");
    QCOMPARE(page.encode(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
    QCOMPARE(page.encode(QStringLiteral("a\U0001F4BFb")), QByteArray("a?b")); // one character
    QCOMPARE(page.encode(QStringLiteral("\u001A")), QByteArray("\x1A"));
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
