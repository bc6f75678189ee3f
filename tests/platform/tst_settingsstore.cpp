#include "SpecialFiles.h"
#include "platform/SettingsStore.h"

#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void openingCreatesTheKey();
    void namesAreUniqueWithoutRegardToCase();
    void namesKeepTheOrderOfFirstCreation();
    void keyPathsIgnoreCaseAndSeparators();
    void defaultValueHasTheEmptyName();
    void openKeySeesItsOwnWritesOnly();
    void xdgConfigHomeMovesTheStore();
    void unreadableStoreIsSetAsideNotOverwritten();
    void storeThatCannotBeWrittenReportsFailure();
    void storeThatIsNoFileIsSetAside_data();
    void storeThatIsNoFileIsSetAside();
    void storesSetAsideInOneSecondKeepTheirOwnNames();
    void lockThatIsNoFileIsNotWaitedOn_data();
    void lockThatIsNoFileIsNotWaitedOn();
    void readingWaitsForNoWriter();
    void twoProcessesLoseNothing();

private:
    QStringList setAside() const
    {
        return QDir(QFileInfo(storeFile()).path()).entryList({"registry.json.unreadable-*"}, QDir::AllEntries | QDir::System);
    }
    QString storeFile() const { return m_dir->filePath("pelmora/registry.json"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSettingsStore::openingCreatesTheKey()
{
    QVERIFY(!QFile::exists(storeFile()));
    SettingsKey key("Software\\Quorvale\\Pelmora", storeFile());
    QVERIFY(key.isOpen());
    QVERIFY(QFile::exists(storeFile()));
    QVERIFY(key.valueNames().isEmpty());
    QVERIFY(!key.value("Path"));
}

void TestSettingsStore::namesAreUniqueWithoutRegardToCase()
{
    SettingsKey key("K", storeFile());
    QVERIFY(key.setValue("C:\\A\\autorun.inf", "1"));
    QVERIFY(key.setValue("c:\\a\\AUTORUN.INF", "2"));
    QCOMPARE(key.valueNames(), QStringList{"C:\\A\\autorun.inf"});
    QCOMPARE(SettingsKey("K", storeFile()).value("C:\\A\\AUTORUN.inf"), std::optional<QString>("2"));
    QCOMPARE(SettingsKey("K", storeFile()).valueNames(), QStringList{"C:\\A\\autorun.inf"});
}

void TestSettingsStore::namesKeepTheOrderOfFirstCreation()
{
    SettingsKey key("K", storeFile());
    for (const char *name : {"b", "a", "c", "A", "b"})
        QVERIFY(key.setValue(name, name));
    QCOMPARE(SettingsKey("K", storeFile()).valueNames(), (QStringList{"b", "a", "c"}));
    QCOMPARE(SettingsKey("K", storeFile()).value("a"), std::optional<QString>("A"));
}

void TestSettingsStore::keyPathsIgnoreCaseAndSeparators()
{
    QVERIFY(SettingsKey("Software\\Quorvale\\Pelmora", storeFile()).setValue("Name", "Pelmora"));
    QCOMPARE(SettingsKey("SOFTWARE\\quorvale\\pelmora\\", storeFile()).value("name"),
             std::optional<QString>("Pelmora"));
    QVERIFY(!SettingsKey("Software\\Quorvale", storeFile()).value("Name"));
}

void TestSettingsStore::defaultValueHasTheEmptyName()
{
    SettingsKey key("My", storeFile());
    QVERIFY(!key.value(QString()));
    QVERIFY(key.setValue(QString(), "Komputer Ani"));
    QCOMPARE(SettingsKey("My", storeFile()).value(QString()), std::optional<QString>("Komputer Ani"));
}

void TestSettingsStore::openKeySeesItsOwnWritesOnly()
{
    SettingsKey first("K", storeFile());
    QVERIFY(SettingsKey("K", storeFile()).setValue("other", "x"));
    QVERIFY(!first.value("other")); // what was there when it was opened
    QVERIFY(first.setValue("mine", "y"));
    QCOMPARE(first.valueNames(), (QStringList{"other", "mine"})); // writing re-reads the store
}

void TestSettingsStore::xdgConfigHomeMovesTheStore()
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
    QCOMPARE(SettingsKey::defaultStoreFile(), storeFile());
    QVERIFY(SettingsKey("K").setValue("v", "1"));
    QVERIFY(QFile::exists(storeFile()));
    qputenv("XDG_CONFIG_HOME", old);
}

void TestSettingsStore::unreadableStoreIsSetAsideNotOverwritten()
{
    QDir().mkpath(QFileInfo(storeFile()).path());
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{ half a store");
    file.close();

    SettingsKey key("K", storeFile());
    QVERIFY(key.isOpen());
    QVERIFY(key.setValue("v", "1"));
    const QStringList aside = QDir(QFileInfo(storeFile()).path()).entryList({"registry.json.unreadable-*"});
    QCOMPARE(aside.size(), 1);
    QFile kept(QFileInfo(storeFile()).path() + "/" + aside.first());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("{ half a store"));
}

void TestSettingsStore::storeThatCannotBeWrittenReportsFailure()
{
    // A file where the store's folder should be: nothing can be created there.
    QFile blocker(m_dir->filePath("pelmora"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsKey key("K", storeFile());
    QVERIFY(!key.isOpen());
    QVERIFY(!key.setValue("v", "1"));
    QVERIFY(key.valueNames().isEmpty());
}

// Something else at the store's place must not hold the program up at start: it is set
// aside as it is, and the store starts anew.
void TestSettingsStore::storeThatIsNoFileIsSetAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("link to /dev/zero") << "/dev/zero";
    QTest::newRow("folder") << "folder";
}

void TestSettingsStore::storeThatIsNoFileIsSetAside()
{
    QFETCH(QString, kind);
    QVERIFY(QDir().mkpath(QFileInfo(storeFile()).path()));
    SpecialFiles special;
    QVERIFY(special.make(kind, storeFile()));

    const bool recorded = returnsAtOnce([&] {
        SettingsKey key("Software\\Quorvale\\Pelmora", storeFile());
        return key.isOpen() && key.setValue("Path", "/media/cd/");
    });
    QVERIFY(recorded);
    QCOMPARE(SettingsKey("Software\\Quorvale\\Pelmora", storeFile()).value("Path"), std::optional<QString>("/media/cd/"));
    const QStringList aside = setAside();
    QCOMPARE(aside.size(), 1);
    const QFileInfo kept(QFileInfo(storeFile()).path() + "/" + aside.first());
    QVERIFY(!kept.isFile()); // moved, never read or replaced
}

void TestSettingsStore::storesSetAsideInOneSecondKeepTheirOwnNames()
{
    // The names of the seconds to come are taken already, so every move meets a taken name.
    const QString folder = QFileInfo(storeFile()).path();
    QVERIFY(QDir().mkpath(folder));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int s = 0; s < 5; ++s)
        QVERIFY(writeTestFile(storeFile() + ".unreadable-" + now.addSecs(s).toString("yyyyMMddHHmmss"), "earlier"));

    QStringList broken;
    for (int i = 0; i < 3; ++i) {
        broken << QStringLiteral("{ broken %1").arg(i);
        QVERIFY(writeTestFile(storeFile(), broken.last().toUtf8()));
        QVERIFY(SettingsKey("K", storeFile()).setValue("v", QString::number(i)));
    }
    QStringList earlier, moved;
    for (const QString &name : setAside()) {
        const QString content = QString::fromUtf8(readTestFile(folder + "/" + name));
        (content == "earlier" ? earlier : moved) << content;
    }
    QCOMPARE(earlier.size(), 5);
    moved.sort();
    QCOMPARE(moved, broken);
    QCOMPARE(SettingsKey("K", storeFile()).value("v"), std::optional<QString>("2"));
}

void TestSettingsStore::lockThatIsNoFileIsNotWaitedOn_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to /dev/zero") << "/dev/zero";
}

// Nothing is recorded then, but the program goes on.
void TestSettingsStore::lockThatIsNoFileIsNotWaitedOn()
{
    QFETCH(QString, kind);
    QVERIFY(QDir().mkpath(QFileInfo(storeFile()).path()));
    SpecialFiles special;
    QVERIFY(special.make(kind, storeFile() + ".lock"));
    const bool recorded = returnsAtOnce([&] { return SettingsKey("K", storeFile()).setValue("v", "1"); });
    QVERIFY(!recorded);
}

// The store is replaced whole, so a key that is there reads while another copy of the program
// holds the lock to write.
void TestSettingsStore::readingWaitsForNoWriter()
{
    QVERIFY(SettingsKey("K", storeFile()).setValue("v", "1"));
    QLockFile writer(storeFile() + ".lock");
    QVERIFY(writer.tryLock(0));
    std::optional<QString> value;
    QVERIFY(returnsAtOnce([&] {
        value = SettingsKey("k", storeFile()).value("V");
        return true;
    }));
    QCOMPARE(value, std::optional<QString>("1"));
}

void TestSettingsStore::twoProcessesLoseNothing()
{
    const int count = 150;
    QProcess a, b;
    a.start(SETTINGS_WRITER, {storeFile(), "Software\\Quorvale\\Pelmora\\Open_Dir_MRU", "/a/", QString::number(count)});
    b.start(SETTINGS_WRITER, {storeFile(), "software\\quorvale\\pelmora\\open_dir_mru", "/b/", QString::number(count)});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    const QStringList names = SettingsKey("Software\\Quorvale\\Pelmora\\Open_Dir_MRU", storeFile()).valueNames();
    QCOMPARE(names.size(), 2 * count);
    QStringList fromA, fromB;
    for (const QString &n : names)
        (n.startsWith("/a/") ? fromA : fromB) << n;
    for (int i = 0; i < count; ++i) { // each writer's values in the order it wrote them
        QCOMPARE(fromA[i], QStringLiteral("/a/%1").arg(i));
        QCOMPARE(fromB[i], QStringLiteral("/b/%1").arg(i));
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
