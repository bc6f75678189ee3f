#include "Controls.h"
#include "WindowFixture.h"

#include "core/CodePage.h"
#include "dialogs/TipsWindow.h"
#include "widgets/ShapedPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

// The tips window with tips files written beside the program.
class TestTips : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cycleThroughTips();
    void reopeningShowsTheSameTip();
    void oneTip();
    void missingFile();
    void keyLengthsCutTheEntry();
    void longTipBreaksIntoLines();
    void longWordIsBrokenInside();
    void polishLettersWhateverTheCodePage();
    void keysPressNoButton();
    void shapeAndDragging();

private:
    TipsWindow &tips() { return *m_fixture->windows().tips(); }
    void writeTips(const QString &text);

    std::unique_ptr<WindowFixture> m_fixture;
};

void TestTips::initTestCase()
{
    // Set before anything reads a code page: autorun.inf then uses another one than the tips.
    qputenv("PELMORA_CODEPAGE", "windows-1252");
}

void TestTips::init()
{
    TipsWindow::tipIndex = 0; // a new run
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
}

void TestTips::writeTips(const QString &text)
{
    // Beside the test's own program file, which the window looks at first: never a tips file
    // installed elsewhere.
    const QString path = QFileInfo(m_fixture->programFile()).dir().filePath(QStringLiteral("porady.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(CodePage("windows-1250").encode(text));
    file.close();
    QCOMPARE(tips().tipsFile(), path);
}

void TestTips::cycleThroughTips()
{
    writeTips(u"[Podady Pelmora]\r\n001=Pierwsza\r\n002=Druga porada\r\n003=Trzecia\r\n[inne]\r\n004=Nie\r\n"_qs);
    tips().show();
    QCOMPARE(tips().tips(), (QStringList{"Pierwsza", "Druga porada", "Trzecia"}));
    QCOMPARE(tips().shownLines(), QStringList{"Pierwsza"});
    QVERIFY(!named<QToolButton>(tips(), "sb_NestPor")->isHidden());
    QCOMPARE(named<QToolButton>(tips(), "SpeedButton1")->x(), 224);
    for (const char *expected : {"Druga porada", "Trzecia", "Pierwsza"}) {
        QTest::mouseClick(named<QToolButton>(tips(), "sb_NestPor"), Qt::LeftButton);
        QCOMPARE(tips().shownLines(), QStringList{expected});
    }
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

void TestTips::reopeningShowsTheSameTip()
{
    writeTips(u"[podady pelmora]\r\n001=A\r\n002=B\r\n"_qs);
    tips().show();
    tips().showNextTip();
    QTest::keyClick(&tips(), Qt::Key_Escape);
    QVERIFY(!tips().isVisible());
    tips().show();
    QCOMPARE(tips().shownLines(), QStringList{"B"});
}

void TestTips::oneTip()
{
    writeTips(u"[Podady Pelmora]\r\n001=Jedyna porada\r\n"_qs);
    tips().show();
    QCOMPARE(tips().shownLines(), QStringList{"Jedyna porada"});
    QVERIFY(named<QToolButton>(tips(), "sb_NestPor")->isHidden());
    QCOMPARE(named<QToolButton>(tips(), "SpeedButton1")->x(), 392);
    QVERIFY(named<QToolButton>(tips(), "SpeedButton3")->isHidden()); // no help file here
}

void TestTips::missingFile()
{
    tips().show();
    QCOMPARE(m_fixture->messages.shown.size(), 1);
    QVERIFY(m_fixture->messages.shown[0].text.startsWith(u"Niestety, nie posiadasz pliku z poradami"_qs));
    QVERIFY(m_fixture->messages.shown[0].icon == Messages::Icon::Error);
    QVERIFY(tips().shownLines().isEmpty());
    QVERIFY(named<QToolButton>(tips(), "sb_NestPor")->isHidden());
    QCOMPARE(named<QToolButton>(tips(), "SpeedButton1")->x(), 392);
}

void TestTips::keyLengthsCutTheEntry()
{
    writeTips(u"[Podady Pelmora]\r\n01=xWartość\r\n0001=Cztery\r\n"_qs);
    tips().show();
    QCOMPARE(tips().tips(), (QStringList{u"Wartość"_qs, "=Cztery"}));
}

void TestTips::longTipBreaksIntoLines()
{
    const QString words = QStringLiteral("słowo ").repeated(60).trimmed();
    writeTips("[Podady Pelmora]\r\n001=" + words + "\r\n");
    tips().show();
    const QStringList lines = tips().shownLines();
    QCOMPARE(lines.size(), 5); // the window has five lines
    for (const QString &line : lines) {
        QVERIFY(tips().fontMetrics().horizontalAdvance(line) <= 265);
        QVERIFY(line.startsWith(u"słowo"_qs) && line.endsWith(u"słowo"_qs)); // broken between words
    }
}

void TestTips::longWordIsBrokenInside()
{
    const QString word = QStringLiteral("Autouruchamianie").repeated(4).left(60);
    const QString tip = "Nazwa " + word + " jest za długa";
    writeTips("[Podady Pelmora]\r\n001=" + tip + "\r\n");
    tips().show();
    const QStringList lines = tips().shownLines();
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines.first(), QStringLiteral("Nazwa")); // the long word starts a line of its own
    for (const QString &line : lines)
        QVERIFY2(tips().fontMetrics().horizontalAdvance(line) <= 265, qPrintable(line));
    QCOMPARE(lines.join(QString()).remove(u' '), QString(tip).remove(u' ')); // nothing lost
}

void TestTips::polishLettersWhateverTheCodePage()
{
    writeTips(u"[Podady Pelmora]\r\n001=ąęśćżźłóń ĄĘŚĆŻŹŁÓŃ\r\n"_qs);
    tips().show();
    QCOMPARE(tips().shownLines(), QStringList{u"ąęśćżźłóń ĄĘŚĆŻŹŁÓŃ"_qs});
}

void TestTips::keysPressNoButton()
{
    m_fixture->setHelpFile(true);
    writeTips(u"[Podady Pelmora]\r\n001=Pierwsza\r\n002=Druga\r\n"_qs);
    tips().show();
    QApplication::setActiveWindow(&tips());
    QVERIFY(QTest::qWaitForWindowActive(&tips()));
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space}) {
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &tips(), key);
    }
    QVERIFY(m_fixture->shell.opened.isEmpty());
    QVERIFY(tips().isVisible());
    QCOMPARE(tips().shownLines(), QStringList{"Pierwsza"});
}

void TestTips::shapeAndDragging()
{
    writeTips(u"[Podady Pelmora]\r\n001=A\r\n"_qs);
    tips().show();
    QCOMPARE(tips().size(), QSize(538, 270));
    const QRegion shape = tips().mask();
    QVERIFY(!shape.contains(QPoint(0, 0)));     // a corner cut off
    QVERIFY(!shape.contains(QPoint(537, 100))); // the last column
    QVERIFY(shape.contains(QPoint(269, 135)));

    const QPoint start = tips().pos();
    QTest::mousePress(named<ShapedPicture>(tips(), "PlasmaForm1"), Qt::LeftButton, {}, QPoint(50, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(80, 70),
                     named<ShapedPicture>(tips(), "PlasmaForm1")->mapToGlobal(QPointF(80, 70)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(named<ShapedPicture>(tips(), "PlasmaForm1"), &move);
    QCOMPARE(tips().pos(), start + QPoint(30, 20));
    QMouseEvent withShift(QEvent::MouseMove, QPointF(90, 90),
                          named<ShapedPicture>(tips(), "PlasmaForm1")->mapToGlobal(QPointF(90, 90)),
                          Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(named<ShapedPicture>(tips(), "PlasmaForm1"), &withShift);
    QCOMPARE(tips().pos(), start + QPoint(30, 20)); // Shift held: no move
}

QTEST_MAIN(TestTips)
#include "tst_tips.moc"
