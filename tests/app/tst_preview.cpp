#include "Controls.h"
#include "MenuInput.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "platform/PreviewDrive.h"
#include "widgets/FolderEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QProcess>
#include <QtTest>

#include <csignal>

// The preview on a temporary drive letter of a Wine prefix made for the test.
class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void lettersFromTheEnd();
    void previewShowsTheVariantThenRestores_data();
    void previewShowsTheVariantThenRestores();
    void emptyListIsNotPreviewed();
    void declinedSaveShowsTheSavedFile();
    void killedPreviewIsPutBackAtTheNextStart_data();
    void killedPreviewIsPutBackAtTheNextStart();
    void failedPutBackComesFirst();
    void linksOfAnEarlierBootGo();
    void noWinePrefixNoDrive();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    // The windows start anew, and what an interrupted preview left is put back as their event
    // loop begins.
    void startWindows()
    {
        m_fixture->start().showMain();
        QTest::qWait(1);
    }
    QByteArray fileBytes() const;
    void create();

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
    QString m_devices;
};

void TestPreview::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    qputenv("WINEPREFIX", QFile::encodeName(m_root->path() + "/wine"));
    m_devices = m_root->path() + "/wine/dosdevices/";
    QVERIFY(QDir().mkpath(m_devices));
    QVERIFY(QFile::link("/", m_devices + "c:"));
    QVERIFY(QFile::link("/", m_devices + "z:"));
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_folder = m_root->path() + "/dane/";
    QVERIFY(QDir().mkpath(m_folder));
    QVERIFY(writeTestFile(m_folder + "setup.exe"));
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
}

QByteArray TestPreview::fileBytes() const
{
    return readTestFile(m_folder + "autorun.inf");
}

void TestPreview::create()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QVERIFY(MenuInput::chooseProgram(form(), "setup.exe"));
    QVERIFY(MenuInput::addItem(form(), m_folder + "setup.exe", "Instaluj"));
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(named<QToolButton>(form(), "sb_Utworz"), Qt::LeftButton);
    m_fixture->messages.shown.clear();
}

void TestPreview::lettersFromTheEnd()
{
    const PreviewDrive drives;
    QCOMPARE(drives.freeLetter(), QStringLiteral("Y")); // z: is Wine's own
    QVERIFY(drives.map("Y", m_folder));
    QCOMPARE(QFileInfo(m_devices + "y:").symLinkTarget(), m_folder.chopped(1));
    QCOMPARE(drives.freeLetter(), QStringLiteral("X"));
    QVERIFY(QFile::link("/nonexistent", m_devices + "x:")); // a dangling link still holds its letter
    QCOMPARE(drives.freeLetter(), QStringLiteral("W"));
    QVERIFY(drives.unmap("Y"));
    QCOMPARE(drives.freeLetter(), QStringLiteral("Y"));
    QDir(m_devices).mkdir("d:"); // not a link: never removed
    QVERIFY(!drives.unmap("D"));
    QVERIFY(QFileInfo(m_devices + "d:").isDir());
}

void TestPreview::previewShowsTheVariantThenRestores_data()
{
    QTest::addColumn<bool>("removeDrive");
    QTest::addColumn<bool>("editedDuring"); // by another program, while the preview was up
    QTest::newRow("drive removed") << true << false;
    QTest::newRow("drive kept") << false << false;
    QTest::newRow("file edited during the preview") << true << true;
}

void TestPreview::previewShowsTheVariantThenRestores()
{
    QFETCH(bool, removeDrive);
    QFETCH(bool, editedDuring);
    const QByteArray edited = "[autorun]\r\nopen=inny.exe\r\n";
    // A hand-written file with LF line ends and no final break comes back byte for byte.
    const QByteArray saved("[autorun]\nOpen=setup.exe\nshell\\x=Start\nshell\\x\\command=setup.exe\n; koniec");
    // The window holds an icon that the file, since written over by another program, lacks.
    QVERIFY(writeTestFile(m_folder + "autorun.inf",
                          QByteArray(saved).replace("Open=setup.exe\n", "Open=setup.exe\nIcon=ikona.ico\n")));
    m_fixture->messages.answers = {Messages::Answer::Yes}; // open it
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_root->path() + "/");
    named<FolderEdit>(form(), "de_Folder")->setFolder(m_folder);
    QVERIFY(writeTestFile(m_folder + "autorun.inf", saved));
    m_fixture->messages.shown.clear();

    QByteArray duringPreview;
    m_fixture->messages.whileShown = [&](const FakeMessages::Shown &shown) {
        if (shown.text.startsWith("POCZEKAJ"))
            duringPreview = fileBytes();
        if (shown.text.startsWith("POCZEKAJ") && editedDuring)
            QVERIFY(writeTestFile(m_folder + "autorun.inf", edited)
                    && QFile::setPermissions(m_folder + "autorun.inf", QFile::ReadOwner | QFile::WriteOwner));
    };
    m_fixture->messages.answers = {Messages::Answer::Yes, Messages::Answer::Ok};
    if (editedDuring)
        m_fixture->messages.answers << Messages::Answer::Ok; // told where the old bytes went
    m_fixture->messages.answers << (removeDrive ? Messages::Answer::Yes : Messages::Answer::No);
    QTest::mouseClick(named<QPushButton>(form(), "sb_Podglad"), Qt::LeftButton);

    QCOMPARE(m_fixture->messages.shown.size(), editedDuring ? 4 : 3);
    const QString question = m_fixture->messages.shown[0].text;
    QVERIFY(question.contains("w folderze \"" + m_folder + "\" "));
    QVERIFY(question.endsWith(
        u"Czy mam teraz utworzyć tymczasowy dysk (Y:) z zawartością wskazanego folderu ???"_qs));
    QVERIFY(m_fixture->messages.shown[1].text.contains(u"dysk Y , który reprezentuje zawartość folderu "_qs
                                                       + m_folder));
    QCOMPARE(m_fixture->messages.shown.last().caption, QStringLiteral("PYTANIE ???"));
    QCOMPARE(duringPreview,
             QByteArray(
                 "[autorun]\r\nopen=setup.exe\r\n\r\nshell\\x=Start\r\nshell\\x\\command=setup.exe\r\n\r\n"));
    // The edit is kept, and the bytes from before the preview go beside it, as private as it.
    const QString kept = m_folder + "autorun.inf.kopia-sprzed-podgladu";
    QCOMPARE(fileBytes(), editedDuring ? edited : saved);
    QCOMPARE(readTestFile(kept), editedDuring ? saved : QByteArray());
    QVERIFY(!editedDuring || (QFileInfo(kept).permissions() & 0x0077) == QFile::Permissions());
    QCOMPARE(QFileInfo(m_devices + "y:").isSymLink(), !removeDrive);
    QCOMPARE(form().document().iconFile, QStringLiteral("ikona.ico")); // the document is not touched
}

void TestPreview::emptyListIsNotPreviewed()
{
    MainWindow &f = form();
    m_fixture->messages.answers = {Messages::Answer::No};
    QTest::mouseClick(named<QToolButton>(f, "sb_Utworz"), Qt::LeftButton);
    QVERIFY(named<QPushButton>(f, "sb_Podglad")->isEnabled());
    m_fixture->messages.shown.clear();
    QTest::mouseClick(named<QPushButton>(f, "sb_Podglad"), Qt::LeftButton);
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(u"Nie można podglądnąć działania menu"_qs));
    QVERIFY(m_fixture->messages.shown[0].icon == Messages::Icon::Warning);
    QVERIFY(!QFileInfo(m_devices + "y:").exists());
}

void TestPreview::declinedSaveShowsTheSavedFile()
{
    create();
    const QByteArray saved = fileBytes();
    UserInput::typeOver(named<QLineEdit>(form(), "e_Etykieta"), "NOWA");
    QVERIFY(form().isModified());
    QByteArray duringPreview;
    m_fixture->messages.whileShown = [&](const FakeMessages::Shown &shown) {
        if (shown.text.startsWith("POCZEKAJ"))
            duringPreview = fileBytes();
    };
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Yes, Messages::Answer::Ok,
                                   Messages::Answer::Yes};
    QTest::mouseClick(named<QPushButton>(form(), "sb_Podglad"), Qt::LeftButton);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith("W tworzonym pliku wprowadzono zmiany"));
    QVERIFY(duringPreview.contains("Name=Dane") || duringPreview.contains("Name=dane"));
    QVERIFY(!duringPreview.contains("NOWA"));
    QCOMPARE(fileBytes(), saved);
}

void TestPreview::killedPreviewIsPutBackAtTheNextStart_data()
{
    QTest::addColumn<bool>("editedSince");
    QTest::newRow("untouched") << false;
    QTest::newRow("edited with another program since") << true;
}

// A program killed while its preview waits leaves the variant on disk; the next start puts
// the user's file back from the journal, byte for byte, and says where. A file edited since
// is left as it is, and the bytes from before the preview go beside it.
void TestPreview::killedPreviewIsPutBackAtTheNextStart()
{
    QFETCH(bool, editedSince);
    const QByteArray saved(
        "[autorun]\nOpen=setup.exe\n; komentarz\nshell\\x=Start\nshell\\x\\command=setup.exe\n[inne]\nk=v");
    QVERIFY(writeTestFile(m_folder + "autorun.inf", saved));
    m_fixture->stop();
    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    killed.setProcessEnvironment(environment); // the same settings, state folder and Wine prefix
    killed.start(PREVIEW_KILLED, {m_folder});
    QVERIFY(killed.waitForStarted());
    QByteArray said;
    QElapsedTimer waiting;
    waiting.start();
    while (!said.contains("czeka") && killed.state() == QProcess::Running && waiting.elapsed() < 30000) {
        killed.waitForReadyRead(100);
        said += killed.readAllStandardOutput();
    }
    QVERIFY2(said.contains("czeka"), killed.readAllStandardError().constData());
    const QByteArray variant = fileBytes();
    QVERIFY(variant.startsWith("[autorun]\r\nopen=setup.exe\r\n"));
    ::kill(pid_t(killed.processId()), SIGKILL);
    QVERIFY(killed.waitForFinished());
    QCOMPARE(fileBytes(), variant);
    const QByteArray edited = "[autorun]\r\nopen=inny.exe\r\n";
    if (editedSince) // a private file: the copy beside it is private too
        QVERIFY(writeTestFile(m_folder + "autorun.inf", edited)
                && QFile::setPermissions(m_folder + "autorun.inf", QFile::ReadOwner | QFile::WriteOwner));

    m_fixture->messages.shown.clear();
    startWindows();
    QCOMPARE(fileBytes(), editedSince ? edited : saved);
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    const QString kept = m_folder + "autorun.inf.kopia-sprzed-podgladu";
    if (editedSince) {
        QCOMPARE(readTestFile(kept), saved);
        QCOMPARE(QFileInfo(kept).permissions() & 0x0077, QFile::Permissions());
        QVERIFY(m_fixture->messages.shown[0].text.contains(
            m_folder + "autorun.inf (zawartość sprzed podglądu: " + kept));
    } else {
        QVERIFY(!QFileInfo::exists(kept));
        QVERIFY(m_fixture->messages.shown[0].text.endsWith(m_folder + "autorun.inf"));
        QCOMPARE(m_fixture->messages.shown[0].caption, QStringLiteral("INFORMACJA !!!"));
    }
    m_fixture->messages.shown.clear();
    startWindows(); // put back once
    QCOMPARE(m_fixture->messages.shown.size(), 0);
}

// A put-back that failed leaves the journal; the next preview puts the file back first and
// never writes the journal over with the variant it would read.
void TestPreview::failedPutBackComesFirst()
{
    create();
    const QByteArray saved = fileBytes();
    const QString path = m_folder + "autorun.inf";
    QByteArray variant;
    m_fixture->messages.whileShown = [&](const FakeMessages::Shown &shown) {
        if (!shown.text.startsWith("POCZEKAJ") || !variant.isEmpty())
            return;
        variant = fileBytes(); // the put-back then finds no folder to write in
        QVERIFY(QDir(m_folder).removeRecursively());
    };
    m_fixture->messages.answers = {Messages::Answer::Yes, Messages::Answer::Ok};
    QTest::mouseClick(named<QPushButton>(form(), "sb_Podglad"), Qt::LeftButton);
    QVERIFY(m_fixture->messages.texts().last().startsWith("Cannot create file " + path));
    QVERIFY(writeTestFile(path, variant) && writeTestFile(m_folder + "setup.exe"));

    m_fixture->messages.shown.clear();
    m_fixture->messages.answers = {Messages::Answer::Yes, Messages::Answer::Ok, Messages::Answer::Ok,
                                   Messages::Answer::No};
    QTest::mouseClick(named<QPushButton>(form(), "sb_Podglad"), Qt::LeftButton);
    QVERIFY(m_fixture->messages.texts().value(1).contains(path)); // put back, and said so
    QCOMPARE(fileBytes(), saved);
}

// A kept drive vanishes at the next start in a later boot, as a subst drive at restart;
// links that were changed since, or made by anyone else, stay.
void TestPreview::linksOfAnEarlierBootGo()
{
    const PreviewDrive drives;
    QVERIFY(drives.map("Y", m_folder)); // this boot: stays until restart
    const QString target = m_folder.chopped(1);
    for (const char *letter : {"x:", "w:"}) {
        QVERIFY(QFile::link(target, m_devices + letter));
        QVERIFY(PreviewDrive::recordLink(m_devices + letter, target, "wczesniejszy-rozruch"));
    }
    QVERIFY(QFile::remove(m_devices + "w:") && QFile::link("/", m_devices + "w:")); // changed by the user
    QVERIFY(QFile::link(target, m_devices + "v:")); // someone else's
    startWindows();
    QVERIFY(!QFileInfo(m_devices + "x:").isSymLink());
    for (const char *kept : {"y:", "w:", "v:", "c:"})
        QVERIFY2(QFileInfo(m_devices + kept).isSymLink(), kept);
}

void TestPreview::noWinePrefixNoDrive()
{
    const QString prefix = m_root->path() + "/brak-wine";
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    create();
    m_fixture->messages.answers = {};
    QTest::mouseClick(named<QPushButton>(form(), "sb_Podglad"), Qt::LeftButton);
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.contains(prefix + "/dosdevices"));
    QVERIFY(!QFileInfo::exists(prefix));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
