#include "TestFiles.h"
#include "core/DiscPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>

class TestDiscPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileExists_data();
    void fileExists();
    void nativePathTakesTheSpellingOnDisk();
    void exactSpellingWinsOverOtherCase();
    void discPathDropsTheFolder();
    void changesBehindTheProgramsBack_data();
    void changesBehindTheProgramsBack();

private:
    QTemporaryDir m_dir;
    QString m_folder;
    std::unique_ptr<DiscFiles> m_files; // made once the folder is written
};

void TestDiscPath::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + QLatin1Char('/');
    QVERIFY(QDir(m_folder).mkpath(QStringLiteral("Bin/Narzędzia")));
    QVERIFY(writeTestFile(m_folder + QStringLiteral("setup.exe")));
    QVERIFY(writeTestFile(m_folder + QStringLiteral("Bin/Narzędzia/View.EXE")));
    QVERIFY(QFile::link(m_folder + QStringLiteral("setup.exe"), m_folder + QStringLiteral("Skrót.exe")));
    QVERIFY(QFile::link(m_folder + QStringLiteral("brak.exe"), m_folder + QStringLiteral("Zerwany.exe")));
    m_files = std::make_unique<DiscFiles>(m_folder);
}

void TestDiscPath::fileExists_data()
{
    QTest::addColumn<QString>("discPath");
    QTest::addColumn<bool>("exists");
    QTest::newRow("plain") << "setup.exe" << true;
    QTest::newRow("other case") << "SETUP.EXE" << true;
    QTest::newRow("nested, other case") << u"bin\\NARZĘDZIA\\view.exe"_qs << true;
    QTest::newRow("forward slashes") << u"Bin/Narzędzia/View.EXE"_qs << true;
    QTest::newRow("missing") << "brak.exe" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a folder") << "bin" << false;
    QTest::newRow("a folder with separator") << "bin\\" << false;
    QTest::newRow("from the root of the disc") << "\\setup.exe" << true;
    QTest::newRow("from the root, nested") << u"/bin\\narzędzia\\view.exe"_qs << true;
    QTest::newRow("network path") << "\\\\setup.exe" << false;
    QTest::newRow("doubled backslash") << u"bin\\\\narzędzia\\view.exe"_qs << false;
    QTest::newRow("drive path") << "C:\\setup.exe" << false;
    QTest::newRow("trailing separator on a file") << "setup.exe\\" << false;
    QTest::newRow("climb back") << u"bin\\..\\Bin\\.\\narzędzia\\view.exe"_qs << true;
    QTest::newRow("through a file") << "setup.exe\\view.exe" << false;
    QTest::newRow("link, other case") << u"SKRÓT.EXE"_qs << true;
    QTest::newRow("dangling link") << "zerwany.exe" << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
}

void TestDiscPath::fileExists()
{
    QFETCH(QString, discPath);
    QFETCH(bool, exists);
    QCOMPARE(discFileExists(m_folder, discPath), exists);
    // The listings answer alike, afresh and after the paths asked before.
    QCOMPARE(DiscFiles(m_folder).exists(discPath), exists);
    QCOMPARE(m_files->exists(discPath), exists);
}

void TestDiscPath::nativePathTakesTheSpellingOnDisk()
{
    QCOMPARE(nativePathOf(m_folder, u"BIN\\narzędzia\\view.exe"_qs),
             m_folder + u"Bin/Narzędzia/View.EXE"_qs);
    // What does not exist keeps its spelling, so a new file gets the name asked for.
    QCOMPARE(nativePathOf(m_folder, u"bin\\Nowy\\a.exe"_qs), m_folder + u"Bin/Nowy/a.exe"_qs);
    QCOMPARE(nativePathOf(m_folder, u"autorun.inf"_qs), m_folder + u"autorun.inf"_qs);
}

void TestDiscPath::exactSpellingWinsOverOtherCase()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QVERIFY(writeTestFile(folder + QStringLiteral("AUTORUN.INF")));
    QCOMPARE(nativePathOf(folder, u"autorun.inf"_qs), folder + u"AUTORUN.INF"_qs);
    QVERIFY(writeTestFile(folder + QStringLiteral("autorun.inf")));
    QCOMPARE(nativePathOf(folder, u"autorun.inf"_qs), folder + u"autorun.inf"_qs);
}

void TestDiscPath::discPathDropsTheFolder()
{
    QCOMPARE(discPathOf(m_folder, m_folder + u"Bin/Narzędzia/View.EXE"_qs),
             u"Bin\\Narzędzia\\View.EXE"_qs);
    QCOMPARE(discPathOf(m_folder, m_folder + u"setup.exe"_qs), u"setup.exe"_qs);
    QCOMPARE(discPathOf(u"/"_qs, u"/mnt/cd/setup.exe"_qs), u"mnt\\cd\\setup.exe"_qs);
}

void TestDiscPath::changesBehindTheProgramsBack_data()
{
    QTest::addColumn<bool>("settled"); // the folder's last change lies well in the past
    QTest::newRow("just changed") << false;
    QTest::newRow("settled") << true;
}

// The names of a folder are remembered between questions; another program's creating,
// renaming and deleting of the menu file is seen at once all the same.
void TestDiscPath::changesBehindTheProgramsBack()
{
    QFETCH(bool, settled);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (int i = 0; i < 50; ++i)
        QVERIFY(writeTestFile(folder + QString::number(i)));
    const auto settle = [&] {
        const timespec hourAgo{::time(nullptr) - 3600, 0};
        const timespec times[2] = {hourAgo, hourAgo};
        if (settled) // as if the folder had last changed an hour ago
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(dir.path()).constData(), times, 0), 0);
    };
    const auto spelling = [&] { return nativePathOf(folder, u"autorun.inf"_qs).mid(folder.size()); };
    settle();
    QCOMPARE(spelling(), u"autorun.inf"_qs);
    QVERIFY(writeTestFile(folder + "AUTORUN.INF"));
    QCOMPARE(spelling(), u"AUTORUN.INF"_qs);
    settle();
    QCOMPARE(spelling(), u"AUTORUN.INF"_qs);
    QVERIFY(QFile::rename(folder + "AUTORUN.INF", folder + "Autorun.Inf"));
    QCOMPARE(spelling(), u"Autorun.Inf"_qs);
    QVERIFY(discFileExists(folder, u"autorun.inf"_qs));
    settle();
    QVERIFY(QFile::remove(folder + "Autorun.Inf"));
    QVERIFY(!discFileExists(folder, u"autorun.inf"_qs));
    QCOMPARE(spelling(), u"autorun.inf"_qs);
}

QTEST_GUILESS_MAIN(TestDiscPath)
#include "tst_discpath.moc"
