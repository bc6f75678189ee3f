#include "Fakes.h"

#include "widgets/FolderEdit.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestDirectoryEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startFolder_data();
    void startFolder();
    void chosenFolder_data();
    void chosenFolder();
    void textChanges_data();
    void textChanges();
    void typingIsReported();
    void opening_data();
    void opening();
    void chooserLeavesTheFocusInTheEdit_data();
    void chooserLeavesTheFocusInTheEdit();
    void buttonSitsAtTheRightEnd();

private:
    QTemporaryDir m_dir;
    QString m_folder; // an existing folder, without a trailing "/"
};

void TestDirectoryEdit::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = QDir(m_dir.path()).canonicalPath();
    QVERIFY(QDir(m_folder).mkdir(u"x"_qs));
    QFile file(m_folder + u"/plik.txt"_qs);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestDirectoryEdit::startFolder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initialDir");
    QTest::addColumn<QString>("start");

    QTest::newRow("not a path") << u"Mój komputer"_qs << m_folder << m_folder;
    QTest::newRow("empty, initial folder") << QString() << m_folder << m_folder;
    QTest::newRow("empty, no initial folder") << QString() << QString() << QDir::homePath();
    QTest::newRow("empty, initial folder gone") << QString() << m_folder + u"/brak"_qs << QDir::homePath();
    QTest::newRow("existing folder") << m_folder + u"/x"_qs << QString() << m_folder + u"/x"_qs;
    QTest::newRow("existing folder, initial folder set") << m_folder + u"/x"_qs << u"/"_qs
                                                         << m_folder + u"/x"_qs;
    QTest::newRow("missing folder") << m_folder + u"/brak"_qs << m_folder << m_folder;
    QTest::newRow("a file") << m_folder + u"/plik.txt"_qs << QString() << QDir::homePath();
    QTest::newRow("relative folder") << u"."_qs << m_folder << m_folder;
}

void TestDirectoryEdit::startFolder()
{
    QFETCH(QString, text);
    QFETCH(QString, initialDir);
    QFETCH(QString, start);

    ScriptedFileDialogs dialogs;
    FolderEdit edit;
    edit.setDialogs(&dialogs);
    edit.setText(text);
    edit.setInitialFolder(initialDir);
    edit.browse();

    QCOMPARE(dialogs.starts, QStringList{start});
    QCOMPARE(dialogs.titles, QStringList{u"Wskaż folder"_qs});
    // A cancelled chooser leaves everything as it was.
    QCOMPARE(edit.text(), text);
    QCOMPARE(edit.initialFolder(), initialDir);
}

void TestDirectoryEdit::chosenFolder_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initialDir");

    const QString before = u"/nie/ten"_qs;
    QTest::newRow("root") << u"/"_qs << u"/"_qs << u"/"_qs;
    QTest::newRow("trailing slash") << m_folder + u"/x/"_qs << m_folder + u"/x"_qs << m_folder + u"/x"_qs;
    QTest::newRow("no trailing slash") << m_folder << m_folder << m_folder;
    QTest::newRow("missing folder") << u"/brak/x/"_qs << u"/brak/x"_qs << before;
}

void TestDirectoryEdit::chosenFolder()
{
    QFETCH(QString, chosen);
    QFETCH(QString, text);
    QFETCH(QString, initialDir);

    ScriptedFileDialogs dialogs;
    dialogs.folders << chosen;
    FolderEdit edit;
    edit.setDialogs(&dialogs);
    edit.setDialogTitle(u"Folder danych"_qs);
    edit.setInitialFolder(u"/nie/ten"_qs);
    edit.browse();

    QCOMPARE(dialogs.titles, QStringList{u"Folder danych"_qs});
    QCOMPARE(edit.text(), text);
    QCOMPARE(edit.initialFolder(), initialDir);
}

void TestDirectoryEdit::textChanges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("reported");

    const QString a = m_folder;
    const QString b = m_folder + u"/x"_qs;
    QTest::newRow("other folder") << a << 0 << 0 << b << QStringList{b};
    QTest::newRow("same folder") << a << 0 << 0 << a << QStringList{};
    QTest::newRow("all selected") << a << 0 << int(a.size()) << b << QStringList{QString(), b};
    QTest::newRow("all selected, same folder") << a << 0 << int(a.size()) << a
                                               << QStringList{QString(), a};
    QTest::newRow("part selected") << u"abcdef"_qs << 1 << 3 << b << QStringList{u"aef"_qs, b};
    QTest::newRow("empty edit") << QString() << 0 << 0 << b << QStringList{b};
    QTest::newRow("cancelled, all selected") << a << 0 << int(a.size()) << QString() << QStringList{};
}

void TestDirectoryEdit::textChanges()
{
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, chosen);
    QFETCH(QStringList, reported);

    ScriptedFileDialogs dialogs;
    if (!chosen.isEmpty())
        dialogs.folders << chosen;
    FolderEdit edit;
    edit.setDialogs(&dialogs);
    edit.setText(text);
    if (selectionLength > 0)
        edit.setSelection(selectionStart, selectionLength);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    edit.browse();

    QStringList seen;
    for (const QList<QVariant> &args : changes)
        seen << args.at(0).toString();
    QCOMPARE(seen, reported);
}

void TestDirectoryEdit::typingIsReported()
{
    FolderEdit edit;
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    QTest::keyClicks(&edit, u"/t"_qs);
    edit.setText(u"/t"_qs);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(edit.text(), u"/"_qs);
}

void TestDirectoryEdit::opening_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");

    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << true;
    QTest::newRow("Alt+Down on the keypad") << int(Qt::Key_Down)
                                            << int(Qt::AltModifier | Qt::KeypadModifier) << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
    QTest::newRow("Alt+Up") << int(Qt::Key_Up) << int(Qt::AltModifier) << false;
    QTest::newRow("Ctrl+Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier | Qt::ControlModifier)
                                   << false;
    QTest::newRow("button") << 0 << 0 << true;
}

void TestDirectoryEdit::opening()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);

    ScriptedFileDialogs dialogs;
    dialogs.folders << m_folder;
    FolderEdit edit;
    edit.setDialogs(&dialogs);
    if (key == 0) {
        auto *button = edit.findChild<QToolButton *>(u"browseButton"_qs);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    QCOMPARE(dialogs.asked, opens ? 1 : 0);
    QCOMPARE(edit.text(), opens ? m_folder : QString());
}

void TestDirectoryEdit::chooserLeavesTheFocusInTheEdit_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("chosen") << false;
    QTest::newRow("cancelled") << true;
}

void TestDirectoryEdit::chooserLeavesTheFocusInTheEdit()
{
    QFETCH(bool, cancelled);

    ScriptedFileDialogs dialogs;
    if (!cancelled)
        dialogs.folders << m_folder;
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *edit = new FolderEdit(&window);
    edit->move(0, 30);
    edit->setDialogs(&dialogs);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QVERIFY(other->hasFocus());

    edit->browse();
    QVERIFY(edit->hasFocus());
}

void TestDirectoryEdit::buttonSitsAtTheRightEnd()
{
    FolderEdit edit;
    edit.resize(505, 21);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    auto *button = edit.findChild<QToolButton *>(u"browseButton"_qs);
    QVERIFY(button);

    const QRect place = button->geometry();
    QCOMPARE(place.size(), QSize(21, 17));
    QVERIFY2(place.right() <= edit.width() - 1 && place.right() >= edit.width() - 4,
             qPrintable(QString::number(place.right())));
    QVERIFY(qAbs(place.top() + place.bottom() - (edit.height() - 1)) <= 1); // centred
    // Typed text stops before the button.
    QVERIFY(edit.textMargins().right() >= place.width());

    // It follows the edit when the edit is resized.
    edit.resize(300, 21);
    QCOMPARE(button->geometry().right(), place.right() - 205);
}

QTEST_MAIN(TestDirectoryEdit)
#include "tst_folderedit.moc"
