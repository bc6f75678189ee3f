#include "core/ProfileFile.h"
#include "core/UpdateCheck.h"

#include <QtTest>

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void newer_data();
    void newer();
    void data_data();
    void data();
};

void TestUpdateCheck::newer_data()
{
    QTest::addColumn<QString>("published");
    QTest::addColumn<bool>("newer");
    QTest::newRow("next build") << "1.2.0.29" << true;
    QTest::newRow("next minor") << "1.3.0.0" << true;
    QTest::newRow("same") << "1.2.0.28" << false;
    QTest::newRow("older") << "1.1.9.99" << false;
    QTest::newRow("two parts") << "2.0" << false;
    QTest::newRow("letter in the last part") << "1.2.0.3a" << false;
    QTest::newRow("five parts") << "1.2.0.29.1" << false;
    QTest::newRow("leading blanks allowed") << " 1. 2. 0. 30" << true;
    QTest::newRow("empty part") << "1..0.30" << false;
    QTest::newRow("beyond 32 bits") << "1.2.0.4294967296" << false;
    QTest::newRow("numbers, not text") << "1.10.0.0" << true;
}

void TestUpdateCheck::newer()
{
    QFETCH(QString, published);
    QFETCH(bool, newer);
    QCOMPARE(isNewerVersion("1.2.0.28", published), newer);
    QVERIFY(!isNewerVersion("x", "9.9.9.9"));
}

void TestUpdateCheck::data_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected"); // home, notice, version, url, news

    QTest::newRow("everything") << QByteArray("[dane]\r\nQuorvaleHomePage=http://a/\r\nCV_File=http://cv/\r\n"
                                              "[Pelmora]\r\nversion=1.2.0.29\r\nurl=http://d/\r\nnew=Nowosci\r\n")
                                << QStringList{"http://a/", "http://cv/", "1.2.0.29", "http://d/", "Nowosci"};
    QTest::newRow("empty home page is taken") << QByteArray("[dane]\r\nQuorvaleHomePage=\r\nx=1\r\n")
                                              << QStringList{"", "", "1.0.0.0", "", ""};
    QTest::newRow("no sections") << QByteArray("[inne]\r\na=b\r\n")
                                 << QStringList{"http://default/", "", "1.0.0.0", "", ""};
    QTest::newRow("product without version") << QByteArray("[pelmora]\r\nurl=http://d/\r\n")
                                             << QStringList{"http://default/", "", "1.0.0.0", "http://d/", ""};
}

void TestUpdateCheck::data()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    UpdateState state;
    applyUpdateData(ProfileFile::fromBytes(file), "http://default/", state);
    QCOMPARE((QStringList{state.homePage, state.noticeTarget, state.publishedVersion, state.downloadAddress, state.news}),
             expected);
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
