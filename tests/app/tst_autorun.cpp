#include "IconFixtures.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include "app/TForm1.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QTreeWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace ExecutableWriter;
using namespace IconFixtures;

// The auto-start panel: what it offers, and what each choice does to the document.
class TestAutoRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void offersProgramsThenIconFiles();
    void preselectsWithoutRegardToCase();
    void programShowsItsIconsWithoutChoosingThem();
    void iconFileAndIcon();
    void iconFileWithoutIcons();
    void closingKeepsChoices();
    void keys();

private:
    TForm1 &form() { return *m_fixture->windows().main; }
    void write(const QString &relative, const QByteArray &bytes);
    QStringList texts(QListWidget *list) const;
    void open() { QTest::mouseClick(form().sb_AutoRun, Qt::LeftButton); }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
};

void TestAutoRun::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    m_root = std::make_unique<QTemporaryDir>();
    m_folder = m_root->path() + "/dane/";
    for (const char *folder : {"bin", "art", ".ukryty"})
        QVERIFY(QDir().mkpath(m_folder + folder));
    const QByteArray twoIcons = writePe(false, false,
        iconResources(icoFile({square(32, Qt::red)}), 1, 1) + iconResources(icoFile({square(32, Qt::blue)}), 2, 2));
    write("setup.exe", twoIcons);
    write("bin/tool.exe", writePe(false, false, {}));
    write("bin/icons.dll", writePe(false, true, iconResources(icoFile({square(32, Qt::green)}), 1, 1)));
    write("art/disc.ico", icoFile({square(32, Qt::yellow)}));
    write("art/pusty.ico", "nie ikona");
    write(".ukryty/ukryty.exe", twoIcons);
    write(".ukryta.exe", twoIcons);
    form().show();
    form().de_Folder->setText(m_folder);
}

void TestAutoRun::write(const QString &relative, const QByteArray &bytes)
{
    QVERIFY(writeTestFile(m_folder + relative, bytes));
}

QStringList TestAutoRun::texts(QListWidget *list) const
{
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->item(i)->text();
    return t;
}

void TestAutoRun::offersProgramsThenIconFiles()
{
    TForm1 &f = form();
    open();
    QVERIFY(f.p_Autorun->isVisible());
    QCOMPARE(f.PageControl1->currentWidget(), f.TabSheet1);
    const QStringList programs = texts(f.lb_Programy);
    QCOMPARE(QSet<QString>(programs.begin(), programs.end()),
             (QSet<QString>{"setup.exe", ".ukryta.exe", "bin\\tool.exe"})); // not the hidden folder's
    QCOMPARE(programs.last(), QStringLiteral("bin\\tool.exe")); // the folder's own files first
    const QStringList icons = texts(f.lb_Ikony);
    QCOMPARE(icons.mid(0, 3), programs);
    QCOMPARE(icons.value(3), QStringLiteral("bin\\icons.dll"));
    QCOMPARE(QSet<QString>(icons.begin() + 4, icons.end()), (QSet<QString>{"art\\disc.ico", "art\\pusty.ico"}));
    for (QWidget *w : std::initializer_list<QWidget *>{f.sb_Nowe, f.sb_AutoRun, f.GroupBox1, f.lv_Lista, f.CheckBox1})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!f.sb_Auto_OK->isEnabled());
}

void TestAutoRun::preselectsWithoutRegardToCase()
{
    write("autorun.inf", "[autorun]\r\nopen=SETUP.EXE\r\nicon=ART\\DISC.ICO\r\n");
    m_fixture->messages.answers = {Messages::Answer::Yes};
    form().de_Folder->setText(m_root->path() + "/");
    form().de_Folder->setText(m_folder);
    TForm1 &f = form();
    const bool saveBefore = f.sb_Zapisz->isEnabled();
    open();
    QCOMPARE(f.lb_Programy->currentItem()->text(), QStringLiteral("setup.exe"));
    QCOMPARE(f.lb_Ikony->currentItem()->text(), QStringLiteral("art\\disc.ico"));
    QCOMPARE(f.sb_Zapisz->isEnabled(), saveBefore); // this panel leaves Save alone
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("SETUP.EXE")); // nothing chosen yet
}

void TestAutoRun::programShowsItsIconsWithoutChoosingThem()
{
    TForm1 &f = form();
    open();
    f.lb_Programy->setCurrentRow(texts(f.lb_Programy).indexOf("setup.exe"));
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("setup.exe"));
    QCOMPARE(f.dfsIconListBox1->NumberOfIcons(), 2);
    QCOMPARE(f.lb_Ikony->currentItem()->text(), QStringLiteral("setup.exe"));
    QVERIFY(f.document().iconFile.isEmpty());
    QVERIFY(f.sb_Auto_OK->isEnabled());
    QTest::mouseClick(f.sb_Auto_OK, Qt::LeftButton);
    QVERIFY(!f.p_Autorun->isVisible());
    m_fixture->messages.answers = {Messages::Answer::No, Messages::Answer::Ok};
    QTest::mouseClick(f.sb_Utworz, Qt::LeftButton);
    QFile file(m_folder + "autorun.inf");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("Open=setup.exe"));
    QVERIFY(!text.contains("Icon="));
}

void TestAutoRun::iconFileAndIcon()
{
    TForm1 &f = form();
    open();
    f.PageControl1->setCurrentWidget(f.TabSheet2);
    f.lb_Ikony->setCurrentRow(texts(f.lb_Ikony).indexOf("setup.exe"));
    QCOMPARE(f.document().iconFile, QStringLiteral("setup.exe"));
    QCOMPARE(f.document().iconIndex, 0);
    f.dfsIconListBox1->setCurrentRow(1);
    QCOMPARE(f.document().iconIndex, 1);
    QCOMPARE(f.dfsIconListBox1->NumberOfIcons(), 2); // the list kept its rows

    f.lb_Ikony->setCurrentRow(texts(f.lb_Ikony).indexOf("bin\\icons.dll"));
    QCOMPARE(f.document().iconFile, QStringLiteral("bin\\icons.dll"));
    QCOMPARE(f.document().iconIndex, 0);
    QVERIFY(f.sb_Auto_OK->isEnabled());
    const QPoint cell = f.dfsIconListBox1->visualItemRect(f.dfsIconListBox1->item(0)).center();
    QTest::mouseClick(f.dfsIconListBox1->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(f.dfsIconListBox1->viewport(), Qt::LeftButton, {}, cell);
    QVERIFY(!f.p_Autorun->isVisible()); // a double click picks and closes
    QVERIFY(f.sb_Utworz->isEnabled());
}

void TestAutoRun::iconFileWithoutIcons()
{
    TForm1 &f = form();
    open();
    f.lb_Ikony->setCurrentRow(texts(f.lb_Ikony).indexOf("art\\disc.ico"));
    QCOMPARE(f.document().iconFile, QStringLiteral("art\\disc.ico"));
    f.lb_Ikony->setCurrentRow(texts(f.lb_Ikony).indexOf("art\\pusty.ico"));
    QVERIFY(f.document().iconFile.isEmpty());
    QCOMPARE(f.dfsIconListBox1->count(), 0);
    QVERIFY(!f.sb_Auto_OK->isEnabled());
    f.lb_IkonyClick(); // clicked again while selected: the same
    QVERIFY(f.document().iconFile.isEmpty());
}

void TestAutoRun::closingKeepsChoices()
{
    TForm1 &f = form();
    open();
    f.lb_Programy->setCurrentRow(texts(f.lb_Programy).indexOf("bin\\tool.exe"));
    QTest::mouseClick(f.sb_Auto_NO, Qt::LeftButton);
    QCOMPARE(f.document().autoStartProgram, QStringLiteral("bin\\tool.exe"));
    QVERIFY(f.sb_Nowe->isEnabled() && f.sb_AutoRun->isEnabled() && f.lv_Lista->isEnabled());
    QVERIFY(!f.Label8->isHidden() && f.driveMenuAttached());
    open(); // OK keeps the state it had when the panel closed
    QVERIFY(f.sb_Auto_OK->isEnabled());
}

void TestAutoRun::keys()
{
    TForm1 &f = form();
    open();
    f.lb_Programy->setFocus();
    QTest::keyClick(f.lb_Programy, Qt::Key_Return); // OK is not enabled yet: nothing
    QVERIFY(f.p_Autorun->isVisible());
    QTest::keyClick(f.lb_Programy, Qt::Key_Escape);
    QVERIFY(!f.p_Autorun->isVisible());
    open();
    f.lb_Programy->setCurrentRow(0);
    QTest::keyClick(f.lb_Programy, Qt::Key_Return);
    QVERIFY(!f.p_Autorun->isVisible());
}

QTEST_MAIN(TestAutoRun)
#include "tst_autorun.moc"
