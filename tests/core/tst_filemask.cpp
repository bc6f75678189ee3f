#include "core/FileMask.h"

#include <QtTest>

class TestFileMask : public QObject
{
    Q_OBJECT

private slots:
    void patterns_data();
    void patterns();
    void matches_data();
    void matches();
};

void TestFileMask::patterns_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("patterns");
    QTest::newRow("empty shows everything") << "" << QStringList{"*"};
    QTest::newRow("one") << "*.exe" << QStringList{"*.exe"};
    QTest::newRow("trailing separator") << "*.exe;" << QStringList{"*.exe"};
    QTest::newRow("lower-cased, sorted, once") << "*.ICO;*.exe;*.ico" << QStringList{"*.exe", "*.ico"};
}

void TestFileMask::patterns()
{
    QFETCH(QString, mask);
    QFETCH(QStringList, patterns);
    QCOMPARE(FileMask(mask).patterns(), patterns);
}

void TestFileMask::matches_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("shown");
    QTest::newRow("exe in any case") << "*.exe" << "/d/Setup.EXE" << true;
    QTest::newRow("other extension") << "*.exe" << "/d/readme.txt" << false;
    QTest::newRow("exe must end the path") << "*.exe" << "/d/setup.exe.bak" << false;
    QTest::newRow("exe in a folder name only") << "*.exe" << "/d/x.exe/readme" << false;
    QTest::newRow("star") << "*" << "/d/anything" << true;
    QTest::newRow("star dot star, no dot gets one") << "*.*" << "/d/Makefile" << true;
    QTest::newRow("question mark is one character") << "*/a?.exe" << "/d/ab.exe" << true;
    QTest::newRow("question mark needs a character") << "*/a?.exe" << "/d/a.exe" << false;
    QTest::newRow("no dot matched with one added") << "*." << "/d/README" << true;
    QTest::newRow("several patterns") << "*.ico;*.icl" << "/d/Ikony.ICL" << true;
    QTest::newRow("literal pattern is the whole path") << "setup.exe" << "/d/setup.exe" << false;
    QTest::newRow("stars backtrack") << "*a*b*.c" << "/xaxbxbx.c" << true;
    QTest::newRow("stars fail cleanly") << "*a*b*.c" << "/xaxbxbx.d" << false;
}

void TestFileMask::matches()
{
    QFETCH(QString, mask);
    QFETCH(QString, path);
    QFETCH(bool, shown);
    QCOMPARE(FileMask(mask).matches(path), shown);
}

QTEST_GUILESS_MAIN(TestFileMask)
#include "tst_filemask.moc"
