#include "SpecialFiles.h"
#include "core/FileSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestFileSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsProgramsDepthFirst();
    void hiddenFoldersAreNotEntered();
    void visitorCanStop();
    void linkLoopsEnd();
    void everythingWithStarDotStar();
    void onlyRegularFilesAreOffered_data();
    void onlyRegularFilesAreOffered();
    void oneWalkGivesWhatEachMaskFinds_data();
    void oneWalkGivesWhatEachMaskFinds();

private:
    QStringList search(const QString &mask) const;
    QTemporaryDir m_dir;
    QString m_root;
};

void TestFileSearch::initTestCase()
{
    m_root = m_dir.path() + "/";
    for (const char *folder : {"bin/sub", "art", ".ukryty"})
        QVERIFY(QDir(m_root).mkpath(folder));
    for (const char *file : {"setup.exe", "UPPER.EXE", ".secret.exe", "readme.txt", "bin/tool.exe",
                             "bin/icons.dll", "bin/sub/deep.exe", "art/disc.ico", ".ukryty/hidden.exe", "noext"}) {
        QFile f(m_root + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(m_root, m_root + "bin/loop")); // a link back up the tree
}

QStringList TestFileSearch::search(const QString &mask) const
{
    QStringList found;
    collectFiles(m_dir.path(), mask, [&](const QString &folder, const QString &name) {
        found << folder.mid(m_root.size()) + name;
        return true;
    });
    return found;
}

void TestFileSearch::findsProgramsDepthFirst()
{
    const QStringList found = search("*.exe");
    QCOMPARE(QSet<QString>(found.begin(), found.end()),
             (QSet<QString>{"setup.exe", "UPPER.EXE", ".secret.exe", "bin/tool.exe", "bin/sub/deep.exe"}));
    // A folder's own files come before those of its subfolders.
    QVERIFY(found.indexOf("bin/tool.exe") > found.indexOf("setup.exe"));
    QVERIFY(found.indexOf("bin/sub/deep.exe") > found.indexOf("bin/tool.exe"));
    QCOMPARE(search("*.dll"), QStringList{"bin/icons.dll"});
}

void TestFileSearch::hiddenFoldersAreNotEntered()
{
    QVERIFY(!search("*.exe").contains(".ukryty/hidden.exe"));
    QVERIFY(search("*.exe").contains(".secret.exe")); // a hidden file of a visible folder is found
}

void TestFileSearch::visitorCanStop()
{
    int visits = 0;
    const bool complete = collectFiles(m_root, "*.exe", [&](const QString &, const QString &) {
        return ++visits < 2;
    });
    QVERIFY(!complete);
    QCOMPARE(visits, 2);
    QVERIFY(collectFiles(m_root, "*.ico", [](const QString &, const QString &) { return true; }));
}

void TestFileSearch::linkLoopsEnd()
{
    QCOMPARE(search("*.ico"), QStringList{"art/disc.ico"}); // not found again through bin/loop
}

void TestFileSearch::everythingWithStarDotStar()
{
    QVERIFY(search("*.*").contains("noext"));
    QCOMPARE(search("").size(), search("*.*").size());
}

// What stands at x.exe beside a real program: only what could start is offered.
void TestFileSearch::onlyRegularFilesAreOffered_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("offered");
    QTest::newRow("FIFO") << "fifo" << false;
    QTest::newRow("socket") << "socket" << false;
    QTest::newRow("link to /dev/null") << "/dev/null" << false;
    QTest::newRow("link to /dev/zero") << "/dev/zero" << false;
    QTest::newRow("link to a FIFO") << "pipe" << false;
    QTest::newRow("link to a program") << "setup.exe" << true;
}

void TestFileSearch::onlyRegularFilesAreOffered()
{
    QFETCH(QString, kind);
    QFETCH(bool, offered);
    QTemporaryDir dir;
    SpecialFiles special;
    QVERIFY(QFile(dir.filePath("setup.exe")).open(QIODevice::WriteOnly));
    QVERIFY(special.make("fifo", dir.filePath("pipe")));
    QVERIFY(special.make(kind == "fifo" || kind == "socket" ? kind : QDir(dir.path()).filePath(kind), dir.filePath("x.exe")));
    QStringList found;
    collectFiles(dir.path(), "*.exe", [&](const QString &, const QString &name) {
        found << name;
        return true;
    });
    QCOMPARE(found.contains("x.exe"), offered);
    QVERIFY(found.contains("setup.exe"));
}

void TestFileSearch::oneWalkGivesWhatEachMaskFinds_data()
{
    QTest::addColumn<QStringList>("masks");
    QTest::newRow("the panel's masks") << autoStartMasks();
    QTest::newRow("overlapping masks, wildcards") << QStringList{"*.exe", "*", "s?tup.*", "*.EXE", "*.*"};
}

// The panel's one walk lists exactly what one search per mask finds, in the same order.
void TestFileSearch::oneWalkGivesWhatEachMaskFinds()
{
    QFETCH(QStringList, masks);
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    for (int i = 0; i < 300; ++i) {
        static const char *const ext[] = {".exe", ".dll", ".ICL", ".ico", ".txt", ".Exe", ""};
        const QString folder = root + QStringLiteral("f%1/g%2/").arg(i % 7).arg(i % 30);
        QVERIFY(QDir().mkpath(folder));
        QFile file(folder + QStringLiteral("plik %1%2").arg(i).arg(ext[i % 7]));
        file.open(QIODevice::WriteOnly);
    }
    QVERIFY(QFile::link(root + "f1", root + "f2/do f1")); // the same folder twice
    QVERIFY(QFile::link(root + "f0/g0/plik 0.exe", root + "link.exe"));
    QVERIFY(QFile::link(root + "nic.exe", root + "zerwany.exe"));
    QList<QStringList> each;
    for (const QString &mask : masks) {
        QStringList found;
        collectFiles(root, mask, [&](const QString &folder, const QString &name) {
            found << folder + name;
            return true;
        });
        each << found;
    }
    QCOMPARE(collectFilesByMasks(root, masks), each);
    QVERIFY(each.first().size() > 80);
}

QTEST_GUILESS_MAIN(TestFileSearch)
#include "tst_filesearch.moc"
