#include "Controls.h"
#include "WindowFixture.h"

#include "app/Startup.h"

#include "app/MainWindow.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/TipsWindow.h"
#include "widgets/FolderTree.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stateAfterStartup();
    void programEntryWrittenOnlyWhenPathIsStale();
    void myComputerName_data();
    void myComputerName();
    void helpFollowsTheHelpFile();
    void functionKeys_data();
    void functionKeys();
    void aboutLocksTheMainWindow();
    void tipsLeaveTheMainWindowUsable();
    void standardDialogsInPolish();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    std::unique_ptr<WindowFixture> m_fixture;
};

namespace {
const QString programKey = QStringLiteral("Software\\Quorvale\\Pelmora");
const QString myComputerKey = QStringLiteral(
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
} // namespace

void TestStartup::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
}

void TestStartup::stateAfterStartup()
{
    MainWindow &f = form();
    const MenuDocument doc = f.document();
    QCOMPARE(named<FolderEdit>(f, "de_Folder")->text(), u"Mój komputer"_qs);
    QVERIFY(doc.dataFolder.isEmpty()); // no folder is taken
    QVERIFY(doc.discLabel.isEmpty() && doc.autoStartProgram.isEmpty() && doc.iconFile.isEmpty());
    QVERIFY(doc.items.isEmpty());
    QCOMPARE(doc.iconIndex, std::nullopt);
    QVERIFY(!f.isModified() && !f.isLoading());

    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isHidden() && !named<QToolButton>(f, "sb_Utworz")->isEnabled());
    QVERIFY(named<QToolButton>(f, "sb_Zapisz")->isHidden());
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->title(), u" Wskaż folder z danymi (przeczytaj porady) "_qs);
    // Only the caption is red; the check box greys as every disabled control does.
    QCOMPARE(named<QGroupBox>(f, "gb_Centrum")->palette().color(QPalette::Disabled, QPalette::WindowText),
             QColor(Qt::red));
    QCOMPARE(named<QCheckBox>(f, "CheckBox1")->palette().color(QPalette::Disabled, QPalette::WindowText),
             QApplication::palette(named<QCheckBox>(f, "CheckBox1"))
                 .color(QPalette::Disabled, QPalette::WindowText));
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QGroupBox>(f, "gb_Centrum"), named<FolderTree>(f, "dfsSystemTreeView1"),
             named<QCheckBox>(f, "CheckBox1"), named<PathLabel>(f, "Label4"), named<QLabel>(f, "Label5"),
             named<QLabel>(f, "Label6"), named<QLabel>(f, "Label7"), named<QToolButton>(f, "sb_AutoRun"),
             named<QPushButton>(f, "sb_Dodaj"), named<QPushButton>(f, "sb_Edytuj"),
             named<QPushButton>(f, "sb_Usun"), named<QToolButton>(f, "sb_Zapisz"),
             named<QPushButton>(f, "sb_Odswiez"), named<QPushButton>(f, "sb_Podglad"),
             named<QPushButton>(f, "sb_UruchomPlik"), named<QPushButton>(f, "sb_UsunPlik")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget *w : std::initializer_list<QWidget *>{
             named<QToolButton>(f, "sb_Nowe"), named<QToolButton>(f, "sb_Porady"),
             named<QToolButton>(f, "sb_About"), named<QToolButton>(f, "sb_Zamknij"),
             named<QToolButton>(f, "sb_Pomoc"), named<FolderEdit>(f, "de_Folder"),
             named<QLineEdit>(f, "e_Etykieta"), named<QTreeView>(f, "lv_Lista")})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(named<QLabel>(f, "l_NotExists")->isHidden());
    QCOMPARE(named<QLabel>(f, "Label3")->text(), u"Stacja dysków CD (DVD)"_qs);
    QCOMPARE(named<QLabel>(f, "Image1")->pixmap().size(), QSize(155, 132)); // the JPEG pictures decode
    QCOMPARE(named<QLabel>(f, "Image2")->pixmap().size(), QSize(80, 81));
    QVERIFY(!f.findChild<QFrame *>("p_Dodaj") && !f.findChild<QFrame *>("p_Autorun")); // made when opened

    PelmoraWindows &w = m_fixture->windows();
    QVERIFY(w.tips()->isHidden() && w.about()->isHidden());
    QCOMPARE(w.about()->windowTitle(), QStringLiteral("O programie ..."));
}

void TestStartup::programEntryWrittenOnlyWhenPathIsStale()
{
    SettingsKey key(programKey);
    QCOMPARE(key.valueNames(), (QStringList{"Version", "Path", "Name"}));
    QCOMPARE(key.value("Path"), std::optional<QString>(m_fixture->programFile()));
    QCOMPARE(key.value("Version"), std::optional<QString>("1.2.0.28"));
    QCOMPARE(key.value("Name"), std::optional<QString>("Pelmora"));

    QVERIFY(key.setValue("Version", "0.9"));
    m_fixture->start(); // the path still names the program: nothing is rewritten
    QCOMPARE(SettingsKey(programKey).value("Version"), std::optional<QString>("0.9"));

    QVERIFY(key.setValue("Path", m_fixture->programFile() + ".moved"));
    m_fixture->start();
    QCOMPARE(SettingsKey(programKey).value("Version"), std::optional<QString>("1.2.0.28"));
    QCOMPARE(SettingsKey(programKey).value("Path"), std::optional<QString>(m_fixture->programFile()));
}

void TestStartup::myComputerName_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("user's name") << true << "Komputer Ani" << "Komputer Ani";
    QTest::newRow("empty name") << true << "" << u"Mój komputer"_qs;
    QTest::newRow("no name") << false << "" << u"Mój komputer"_qs;
}

void TestStartup::myComputerName()
{
    QFETCH(bool, stored);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    if (stored)
        QVERIFY(SettingsKey(myComputerKey).setValue(QString(), name));
    form().show();
    QCOMPARE(named<QLabel>(form(), "l_MK")->text(), shown);
    QVERIFY(SettingsKey(myComputerKey).isOpen()); // opened with creation
}

void TestStartup::helpFollowsTheHelpFile()
{
    MainWindow &f = form();
    f.show();
    QVERIFY(named<QToolButton>(f, "sb_Pomoc")->isHidden());
    named<FolderEdit>(f, "de_Folder")->setFocus();
    QTest::keyClick(named<FolderEdit>(f, "de_Folder"), Qt::Key_F1);
    QVERIFY(m_fixture->shell.opened.isEmpty());

    f.hide();
    m_fixture->setHelpFile(true);
    f.show();
    QVERIFY(!named<QToolButton>(f, "sb_Pomoc")->isHidden());
    QTest::keyClick(named<FolderEdit>(f, "de_Folder"), Qt::Key_F1);
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    const RecordingShell::Opened opened = m_fixture->shell.opened.first();
    QCOMPARE(QFileInfo(opened.target).canonicalFilePath(),
             QFileInfo(QFileInfo(m_fixture->programFile()).path() + "/help/pelmora.html").canonicalFilePath());
    QCOMPARE(opened.verb, QStringLiteral("open"));
    QVERIFY(opened.show == Shell::Show::Maximized);

    named<QLineEdit>(f, "e_Etykieta")->setFocus();
    QTest::keyClick(named<QLineEdit>(f, "e_Etykieta"), Qt::Key_F1); // the label edit has no key handler
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    QTest::mouseClick(named<QToolButton>(f, "sb_Pomoc"), Qt::LeftButton);
    QCOMPARE(m_fixture->shell.opened.size(), 2);
}

void TestStartup::functionKeys_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("opensAbout");
    QTest::newRow("folder edit") << "de_Folder" << true;
    QTest::newRow("programs only") << "CheckBox1" << true;
    QTest::newRow("sort") << "cb_Sortuj" << true;
    QTest::newRow("label edit") << "e_Etykieta" << false;
}

void TestStartup::functionKeys()
{
    QFETCH(QString, control);
    QFETCH(bool, opensAbout);
    form().show();
    auto *widget = form().findChild<QWidget *>(control);
    widget->setEnabled(true); // the check box is greyed until a folder is taken
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F10);
    QCOMPARE(m_fixture->windows().about()->isVisible(), opensAbout);
    QCOMPARE(QApplication::activeModalWidget() != nullptr, opensAbout);
}

void TestStartup::aboutLocksTheMainWindow()
{
    MainWindow &f = form();
    f.show();
    QTest::mouseClick(named<QToolButton>(f, "sb_About"), Qt::LeftButton);
    QVERIFY(m_fixture->windows().about()->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), m_fixture->windows().about());
    QTest::keyClick(m_fixture->windows().about(), Qt::Key_Escape);
    QVERIFY(!m_fixture->windows().about()->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!named<QToolButton>(f, "sb_Utworz")->isEnabled()); // controls disabled before stay disabled
}

void TestStartup::tipsLeaveTheMainWindowUsable()
{
    MainWindow &f = form();
    f.show();
    QTest::mouseClick(named<QToolButton>(f, "sb_Porady"), Qt::LeftButton);
    QVERIFY(m_fixture->windows().tips()->isVisible());
    QVERIFY(f.isEnabled());
    QTest::keyClick(m_fixture->windows().tips(), Qt::Key_Escape);
    QVERIFY(!m_fixture->windows().tips()->isVisible());
}

// Qt's own texts (the file choosers' labels and buttons) are Polish whatever the locale.
void TestStartup::standardDialogsInPolish()
{
    QVERIFY(setUpApplication(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), u"Szukaj w:"_qs);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Anuluj"_qs);
    // Their dates and numbers too, whatever the system's locale.
    QCOMPARE(QLocale().language(), QLocale::Polish);
    // No display name of its own, which Qt would append to every message box's caption.
    QCoreApplication::setApplicationName("inna");
    QCOMPARE(QGuiApplication::applicationDisplayName(), u"inna"_qs);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
