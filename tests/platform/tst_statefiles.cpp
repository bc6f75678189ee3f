#include "SpecialFiles.h"
#include "TestFiles.h"

#include "core/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/PreviewDrive.h"
#include "platform/PreviewJournal.h"
#include "platform/SettingsStore.h"
#include "platform/StateFolder.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

// What the program keeps for the user between runs is the user's alone, and trusted only
// when it still is: the preview's journal, its locks, the settings store, temporary files.
class TestStateFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void journalPutsBackOnlyOverItsVariant_data();
    void journalPutsBackOnlyOverItsVariant();
    void journalWithALockThatIsNoFileIsToldOnce();
    void stateFolderOfAnotherIsNotTrusted_data();
    void stateFolderOfAnotherIsNotTrusted();
    void locksNeverWait_data();
    void locksNeverWait();
    void filesArePrivate();
    void staleTemporaryFilesGo();

private:
    QString state() const { return m_dir->filePath("state/pelmora/"); }
    // A preview of menu interrupted after its variant was written: the journal stays.
    void interruptedPreview(const QString &menu);

    std::unique_ptr<QTemporaryDir> m_dir;
    const QByteArray m_saved = "[autorun]\r\nopen=setup.exe\r\n";
    const QByteArray m_variant = "[autorun]\r\nopen=Y:\\setup.exe\r\n";
};

void TestStateFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir->filePath("state")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath("config")));
    qputenv("WINEPREFIX", QFile::encodeName(m_dir->filePath("wine")));
}

void TestStateFiles::interruptedPreview(const QString &menu)
{
    QVERIFY(writeTestFile(menu, m_variant));
    QVERIFY(PreviewJournal(menu).keep(m_saved, m_variant));
    QVERIFY(!PreviewJournal(menu).keep(m_variant, m_variant)); // never written over while it stands
}

void TestStateFiles::journalPutsBackOnlyOverItsVariant_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("now");     // the file at the next start; "-" when gone
    QTest::addColumn<QByteArray>("file");    // the file afterwards
    QTest::addColumn<QByteArray>("keptAs");  // what stands beside it
    const QByteArray edited = "[autorun]\r\nopen=nowy.exe\r\n";
    QTest::newRow("the variant: put back") << "autorun.inf" << m_variant << m_saved << QByteArray();
    QTest::newRow("edited since: left, kept beside") << "AUTORUN.INF" << edited << edited << m_saved;
    QTest::newRow("gone: kept beside") << "autorun.inf" << QByteArray("-") << QByteArray() << m_saved;
    QTest::newRow("not a menu file: never written") << ".bashrc" << m_variant << m_variant << QByteArray();
}

void TestStateFiles::journalPutsBackOnlyOverItsVariant()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, now);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, keptAs);
    const QString menu = m_dir->filePath("dane/" + name);
    interruptedPreview(menu);
    if (now == "-")
        QVERIFY(QFile::remove(menu));
    else
        QVERIFY(writeTestFile(menu, now));
    const QList<PreviewJournal::Restored> restored = PreviewJournal::restoreLeftBehind();
    QCOMPARE(restored.size(), 1);
    QCOMPARE(readTestFile(menu), file);
    QCOMPARE(readTestFile(restored[0].keptAs), keptAs);
    QCOMPARE(PreviewJournal::restoreLeftBehind().size(), 0); // once
    QCOMPARE(QDir(state()).entryList(QDir::Files).filter(".lock").size(), 0); // no lock stays
}

// A lock that can never be taken would pass its journal over at every start, silently.
void TestStateFiles::journalWithALockThatIsNoFileIsToldOnce()
{
    const QString menu = m_dir->filePath("dane/autorun.inf");
    interruptedPreview(menu);
    const QString lock = PreviewJournal(menu).journalFile() + ".lock";
    QVERIFY(!QFileInfo(lock).exists() || QFile::remove(lock));
    QVERIFY(QDir().mkdir(lock));
    const QList<PreviewJournal::Restored> restored = PreviewJournal::restoreLeftBehind();
    QCOMPARE(restored.size(), 1);
    QVERIFY(!restored[0].ok && restored[0].error.contains(lock));
    QVERIFY(!readTestFile(restored[0].journal).isEmpty()); // the bytes stay, set aside
    QCOMPARE(PreviewJournal::restoreLeftBehind().size(), 0);
}

void TestStateFiles::stateFolderOfAnotherIsNotTrusted_data()
{
    QTest::addColumn<QString>("swap");
    QTest::newRow("a link to a folder") << "link";
    QTest::newRow("a folder others may write") << "open";
}

// A journal planted where another user can write is never read, and no preview starts.
void TestStateFiles::stateFolderOfAnotherIsNotTrusted()
{
    QFETCH(QString, swap);
    const QString menu = m_dir->filePath("dane/autorun.inf");
    interruptedPreview(menu);
    const QString folder = state().chopped(1);
    if (swap == "link") {
        QVERIFY(QFile::rename(folder, folder + "-inny"));
        QVERIFY(QFile::link(folder + "-inny", folder));
    } else {
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    }
    QVERIFY(stateFolder().isEmpty());
    QVERIFY(PreviewJournal::restoreLeftBehind().isEmpty());
    QCOMPARE(readTestFile(menu), m_variant);
    QString why;
    QVERIFY(!PreviewJournal(m_dir->filePath("inne/autorun.inf")).keep(m_saved, m_variant, &why));
    QVERIFY(why.contains(state()));
}

void TestStateFiles::locksNeverWait_data()
{
    QTest::addColumn<QString>("fifo");
    QTest::newRow("the drive records' lock") << "drives.json.lock";
    QTest::newRow("a journal's lock") << "preview-0123456789abcdef0123456789abcdef.journal.lock";
    QTest::newRow("a journal") << "preview-0123456789abcdef0123456789abcdef.journal";
}

// A FIFO in place of a lock or a journal is refused at once: the start never hangs on it.
void TestStateFiles::locksNeverWait()
{
    QFETCH(QString, fifo);
    QVERIFY(!stateFolder().isEmpty());
    SpecialFiles special;
    QVERIFY(special.make("fifo", state() + fifo));
    returnsAtOnce([] {
        PreviewDrive::removeLinksOfEarlierBoots();
        return PreviewJournal::restoreLeftBehind().size();
    });
    QVERIFY(!FileLock(state() + fifo).tryLock());
}

void TestStateFiles::filesArePrivate()
{
    const auto mode = [](const QString &path) { return QFileInfo(path).permissions() & 0x7777; };
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
        | QFileDevice::WriteUser;
    const QFileDevice::Permissions folder = owner | QFileDevice::ExeOwner | QFileDevice::ExeUser;
    QVERIFY(SettingsKey(QStringLiteral("Software\\Test")).setValue("a", "b"));
    QCOMPARE(mode(m_dir->filePath("config/pelmora/registry.json")), owner);
    QCOMPARE(mode(m_dir->filePath("config/pelmora")), folder);
    PreviewJournal journal(m_dir->filePath("dane/autorun.inf"));
    QVERIFY(journal.keep(m_saved, m_variant));
    QCOMPARE(mode(journal.journalFile()), owner);
    QCOMPARE(mode(state()), folder);
}

// A write killed before its rename leaves a temporary file that says whose it is; it goes the
// next time the folder is taken, unless it is fresh (another copy may be writing it).
void TestStateFiles::staleTemporaryFilesGo()
{
    const QString folder = m_dir->filePath("dane/");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFileAtomically(folder + "autorun.inf", m_saved));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"autorun.inf"});
    const QStringList left{".autorun.inf.pelmora-Ab12Cd", ".autorun.inf.pelmora-Ef34Gh", ".notatki.pelmora-x"};
    for (const QString &name : left)
        QVERIFY(writeTestFile(folder + name));
    QFile old(folder + left[0]);
    QVERIFY(old.open(QIODevice::ReadWrite)
            && old.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    old.close();
    removeStaleTemporaryFiles(folder);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{".autorun.inf.pelmora-Ef34Gh", ".notatki.pelmora-x", "autorun.inf"}));
}

QTEST_MAIN(TestStateFiles)
#include "tst_statefiles.moc"
