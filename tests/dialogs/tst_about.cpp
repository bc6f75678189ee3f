#include "Controls.h"
#include "HttpServer.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/TipsWindow.h"
#include "widgets/SensitiveLabel.h"
#include "widgets/FolderEdit.h"

#include <QCursor>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextDocument>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

// The about window with the update check against a real server on 127.0.0.1.
class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void update_data();
    void update();
    void nothingPlantedInTheTemporaryFolderIsTouched_data();
    void nothingPlantedInTheTemporaryFolderIsTouched();
    void serverTextShowsAsWrittenAndOpensOnlyWebAndMail_data();
    void serverTextShowsAsWrittenAndOpensOnlyWebAndMail();
    void noticeAndPicturesTakeTheirOwnClicks_data();
    void noticeAndPicturesTakeTheirOwnClicks();
    void checkRunsOncePerRun();
    void deadServerLeavesTheDefaults();
    void windowAnswersWhileChecking_data();
    void windowAnswersWhileChecking();
    void linksOpenTheirTargets();
    void closingEnablesTheMainWindow();
    void modalForTheMainWindowOnly();
    void noticeBlinksAndOpens();
    void contents();

private:
    AboutWindow &about() { return *m_fixture->windows().about(); }
    // Shows the window, which comes at once, and waits for the server's answer to reach it.
    void showChecked()
    {
        about().show();
        QTRY_VERIFY(about().checkDone());
    }
    void serve(const QByteArray &body, int status = 200);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<HttpServer> m_server;
    QTemporaryDir m_temp;
};

void TestAbout::init()
{
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    m_server = std::make_unique<HttpServer>();
    m_fixture = std::make_unique<WindowFixture>();
    qputenv("PELMORA_UPDATE_URL", m_server->base());
    m_fixture->start();
}

void TestAbout::serve(const QByteArray &body, int status)
{
    m_server->body = body;
    m_server->status = status;
}

void TestAbout::update_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("offered");
    const QByteArray dane = "[dane]\r\nQuorvaleHomePage=http://nowa.example/\r\n";
    QTest::newRow("newer with an address")
        << dane + "[Pelmora]\r\nversion=1.2.0.29\r\nurl=http://d/\r\nnew=Nowości" << true;
    QTest::newRow("same version") << dane + "[Pelmora]\r\nversion=1.2.0.28\r\nurl=http://d/\r\nnew=Nic" << false;
    QTest::newRow("newer without an address") << dane + "[Pelmora]\r\nversion=1.3.0.0\r\nurl=\r\nnew=N" << false;
    QTest::newRow("no version given") << dane + "[Pelmora]\r\nurl=http://d/\r\n" << false;
    QTest::newRow("two-part version") << dane + "[Pelmora]\r\nversion=2.0\r\nurl=http://d/\r\n" << false;
}

void TestAbout::update()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, offered);
    serve(data);
    showChecked();
    QCOMPARE(m_server->lastPath, QByteArray("/version.ini"));
    QCOMPARE(!named<QToolButton>(about(), "sb_DownUpdate")->isHidden(), offered);
    QCOMPARE(named<QToolButton>(about(), "sb_DownUpdate")->toolTip(), about().updateState().news);
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->text(), QStringLiteral("http://nowa.example/"));
    QVERIFY(!QFile::exists(m_temp.filePath("dane.ini"))); // the downloaded copy does not stay
}

namespace {

// A click at a point of widget (fractions of its size) given to its window, which hands it
// to whichever control is on top there, as a real click.
void clickAt(QWidget *widget, QPointF at = {0.5, 0.5})
{
    const QPoint point(qMin(int(widget->width() * at.x()), widget->width() - 1),
                       qMin(int(widget->height() * at.y()), widget->height() - 1));
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(widget->window(), point));
}

// The hint that appears when the mouse rests on widget, as the user reads it.
QString shownHint(QWidget *widget)
{
    QTest::mouseMove(widget->window()->windowHandle(),
                     QPoint(0, 0)); // a move to where it already is counts for nothing
    QTest::mouseMove(widget->window()->windowHandle(), widget->mapTo(widget->window(), widget->rect().center()));
    QLabel *tip = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                tip = static_cast<QLabel *>(w);
        return tip != nullptr;
    });
    if (!shown)
        return QStringLiteral("(no hint)");
    if (tip->textFormat() == Qt::PlainText || !Qt::mightBeRichText(tip->text()))
        return tip->text();
    QTextDocument rendered;
    rendered.setHtml(tip->text());
    return rendered.toPlainText();
}

} // namespace

void TestAbout::nothingPlantedInTheTemporaryFolderIsTouched_data()
{
    QTest::addColumn<QString>("planted"); // what another user left at the old fixed name
    QTest::newRow("nothing") << "";
    QTest::newRow("a link to a file of the user's") << "link";
    QTest::newRow("a reply of their own") << "file";
}

void TestAbout::nothingPlantedInTheTemporaryFolderIsTouched()
{
    QFETCH(QString, planted);
    QTemporaryDir home;
    const QString own = home.filePath("praca.txt");
    const QString fixedName = QDir::tempPath() + "/dane.ini";
    QVERIFY(writeTestFile(own, "moje\n"));
    const QByteArray theirs = "[dane]\r\nQuorvaleHomePage=http://obcy.example/\r\n";
    QVERIFY(planted != "link" || QFile::link(own, fixedName));
    QVERIFY(planted != "file" || writeTestFile(fixedName, theirs));
    const QStringList before = QDir(QDir::tempPath()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
    serve("[dane]\r\nQuorvaleHomePage=http://nowa.example/\r\n");
    showChecked();
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->text(), QStringLiteral("http://nowa.example/"));
    QCOMPARE(QDir(QDir::tempPath()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), before);
    QCOMPARE(readTestFile(own), QByteArray("moje\n"));
    QCOMPARE(QFileInfo(fixedName).symLinkTarget(), planted == "link" ? own : QString());
    QCOMPARE(readTestFile(fixedName), planted == "file" ? theirs : QByteArray(planted == "link" ? "moje\n" : ""));
    QFile::remove(fixedName);
}

void TestAbout::serverTextShowsAsWrittenAndOpensOnlyWebAndMail_data()
{
    QTest::addColumn<QString>("address"); // the home page, the notice target and the news at once
    QTest::addColumn<bool>("opened");
    const QString picture = m_temp.filePath("obraz.png");
    QImage(64, 64, QImage::Format_RGB32).save(picture);
    QTest::newRow("web page") << "http://nowa.example/" << true;
    QTest::newRow("secure page in capitals") << "HTTPS://Nowa.example/praca" << true;
    QTest::newRow("e-mail") << "MailTo:praca@nowa.example" << true;
    QTest::newRow("heading") << "<h1>Nowa wersja!</h1>" << false;
    QTest::newRow("picture from disk") << "<img src=\"" + picture + "\">" << false;
    QTest::newRow("file address") << "file:///etc/passwd" << false;
    QTest::newRow("local path") << QDir::homePath() + "/.bashrc" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("network share") << "smb://serwer/udzial" << false;
}

void TestAbout::serverTextShowsAsWrittenAndOpensOnlyWebAndMail()
{
    QFETCH(QString, address);
    QFETCH(bool, opened);
    serve(("[dane]\r\nQuorvaleHomePage=" + address + "\r\nCV_File=" + address
           + "\r\n[Pelmora]\r\nversion=9.0.0.0\r\nurl=http://d/\r\nnew=" + address + "\r\n")
              .toUtf8());
    showChecked();
    about().activateWindow(); // hints show only in the active window
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->text(), address);
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->textFormat(), Qt::PlainText);
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->height(),
             named<QLabel>(about(), "a_l_8")->height()); // one line: no heading, no picture
    QCOMPARE(shownHint(named<QToolButton>(about(), "sb_DownUpdate")), address);
    QCOMPARE(named<SensitiveLabel>(about(), "l_SzukamPracy2")->isVisible(),
             opened); // a notice that opens nothing is not shown
    clickAt(named<SensitiveLabel>(about(), "a_l_9"));
    clickAt(named<SensitiveLabel>(about(), "l_SzukamPracy2")); // its place, shown or not
    QStringList targets;
    for (const auto &o : m_fixture->shell.opened)
        targets << o.target;
    QCOMPARE(targets, opened ? QStringList({address, address}) : QStringList());
}

void TestAbout::noticeAndPicturesTakeTheirOwnClicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QString>("opened");
    const QString profile = "http://www.quorvale.example/autor/",
                  donation = "http://www.quorvale.example/wsparcie/";
    const QString notice = "http://praca.example/";
    QTest::newRow("profile picture") << "imgGL" << QPointF(0.5, 0.5) << profile;
    QTest::newRow("profile picture, right end") << "imgGL" << QPointF(1, 0.5) << profile;
    QTest::newRow("donation picture") << "img_Money" << QPointF(0.5, 0.5) << donation;
    QTest::newRow("donation picture, left end") << "img_Money" << QPointF(0, 0.5) << donation;
    QTest::newRow("donation picture, right end") << "img_Money" << QPointF(1, 1) << donation;
    QTest::newRow("notice") << "l_SzukamPracy" << QPointF(0.5, 0.5) << notice;
    QTest::newRow("notice, left end") << "l_SzukamPracy" << QPointF(0, 0.5) << notice;
    QTest::newRow("notice, right end") << "l_SzukamPracy" << QPointF(1, 1) << notice;
}

void TestAbout::noticeAndPicturesTakeTheirOwnClicks()
{
    QFETCH(QString, control);
    QFETCH(QPointF, at);
    QFETCH(QString, opened);
    serve("[dane]\r\nCV_File=http://praca.example/\r\n");
    showChecked();
    clickAt(about().findChild<QWidget *>(control), at);
    QCOMPARE(m_fixture->shell.opened.size(), 1);
    QCOMPARE(m_fixture->shell.opened[0].target, opened);
}

void TestAbout::checkRunsOncePerRun()
{
    serve("[Pelmora]\r\nversion=9.0.0.0\r\nurl=http://d/\r\n");
    showChecked();
    about().hide();
    serve("[Pelmora]\r\nversion=1.0.0.0\r\n");
    showChecked();
    QCOMPARE(m_server->requests, 1);
    QVERIFY(!named<QToolButton>(about(), "sb_DownUpdate")->isHidden()); // what the one check gave stays
}

void TestAbout::deadServerLeavesTheDefaults()
{
    serve("gone", 404);
    showChecked();
    QVERIFY(named<QToolButton>(about(), "sb_DownUpdate")->isHidden());
    QCOMPARE(named<SensitiveLabel>(about(), "a_l_9")->text(), QStringLiteral("http://www.quorvale.example/"));
    QVERIFY(named<QLabel>(about(), "l_SzukamPracy")->isHidden());
}

void TestAbout::windowAnswersWhileChecking_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("delayMs"); // negative: no answer at all
    QTest::addColumn<bool>("listening");
    QTest::newRow("slow answer") << 200 << 300 << true;
    QTest::newRow("error answer") << 500 << 0 << true;
    QTest::newRow("no answer within the time limit") << 200 << -1 << true;
    QTest::newRow("connection refused") << 200 << 0 << false;
}

// The window is there, and takes input, while the server holds its answer; the answer, or
// none, then reaches it.
void TestAbout::windowAnswersWhileChecking()
{
    QFETCH(int, status);
    QFETCH(int, delayMs);
    QFETCH(bool, listening);
    serve("[Pelmora]\r\nversion=9.0.0.0\r\nurl=http://d/\r\n", status);
    m_server->delayMs = delayMs;
    bool shownMeanwhile = false;
    m_server->onRequest = [&] { shownMeanwhile = about().isVisible() && !QGuiApplication::overrideCursor(); };
    if (!listening)
        m_server->close();
    about().setCheckTimeLimit(1000);
    QVERIFY(!QGuiApplication::overrideCursor());

    about().show();
    QVERIFY(about().isVisible() && !about().checkDone());
    QTRY_VERIFY(about().checkDone());
    if (listening)
        QVERIFY(shownMeanwhile);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(!named<QToolButton>(about(), "sb_DownUpdate")->isHidden(),
             status == 200 && delayMs >= 0 && listening);
}

void TestAbout::linksOpenTheirTargets()
{
    serve("[dane]\r\nQuorvaleHomePage=http://nowa.example/\r\n");
    showChecked();
    QTest::mouseClick(named<SensitiveLabel>(about(), "a_l_3"), Qt::LeftButton);
    QTest::mouseClick(named<SensitiveLabel>(about(), "a_l_9"), Qt::LeftButton);
    const auto &opened = m_fixture->shell.opened;
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].target,
             "mailto:" + named<SensitiveLabel>(about(), "a_l_3")->text()
                 + u"?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego programu Pelmora."_qs);
    QCOMPARE(opened[1].target, QStringLiteral("http://nowa.example/"));
    QVERIFY(opened[1].show == Shell::Show::Maximized);
}

// A modal window: whatever hides it (its button, Escape, the window manager minimising it)
// gives the main window back.
void TestAbout::closingEnablesTheMainWindow()
{
    MainWindow &main = *m_fixture->windows().main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    named<FolderEdit>(main, "de_Folder")->setFocus();
    // F10 where the keys go: the focus must have come back to the folder edit.
    const auto pressF10 = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10); };
    const auto blocked = [&] { return QApplication::activeModalWidget() == &about() && about().isVisible(); };
    QTest::mouseClick(named<QToolButton>(main, "sb_About"), Qt::LeftButton);
    QVERIFY(blocked());
    QVERIFY(!about().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QTest::mouseClick(named<QToolButton>(about(), "sb_OK"), Qt::LeftButton);
    QVERIFY(!blocked());
    pressF10();
    QVERIFY(blocked());
    QTest::keyClick(&about(), Qt::Key_Escape);
    QVERIFY(!blocked());
    pressF10();
    about().windowHandle()->showMinimized();
    QTRY_VERIFY(!blocked());
    QTRY_COMPARE(QApplication::focusWidget(), named<FolderEdit>(main, "de_Folder"));
    pressF10(); // the keys reach the main window's control again
    QVERIFY(blocked());
}

// The about window waits on the main window alone: the tips window stays usable, and Tab
// never rests on the 16-pixel pictures, which show no focus. Clicks go through the windows,
// as the system delivers them, so that a modal window can block them.
void TestAbout::modalForTheMainWindowOnly()
{
    const auto click = [](QWidget *control) {
        QTest::mouseClick(control->window()->windowHandle(), Qt::LeftButton, {},
                          control->mapTo(control->window(), control->rect().center()));
    };
    QVERIFY(writeTestFile(QFileInfo(m_fixture->programFile()).dir().filePath("porady.dat"),
                          "[Podady Pelmora]\r\n001=Pierwsza\r\n002=Druga\r\n"));
    MainWindow &main = *m_fixture->windows().main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    click(named<QToolButton>(main, "sb_Porady"));
    click(named<QToolButton>(main, "sb_About"));
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    click(named<QToolButton>(*m_fixture->windows().tips(), "sb_NestPor"));
    QCOMPARE(m_fixture->windows().tips()->shownLines(), QStringList{"Druga"});
    click(named<QToolButton>(main, "sb_Zamknij"));
    QVERIFY(main.isVisible());
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!QApplication::focusWidget()->objectName().startsWith("img"));
    }
}

void TestAbout::noticeBlinksAndOpens()
{
    serve("[dane]\r\nCV_File=http://praca.example/\r\n");
    showChecked();
    QVERIFY(named<QLabel>(about(), "l_SzukamPracy")->isVisible());
    QVERIFY(named<QTimer>(about(), "Timer_SzukamPracy")->isActive());
    QTRY_VERIFY(named<QLabel>(about(), "l_SzukamPracy")->isHidden()); // it blinks
    QTest::mouseClick(named<SensitiveLabel>(about(), "l_SzukamPracy2"),
                      Qt::LeftButton); // its place answers while it is off
    QCOMPARE(m_fixture->shell.opened.value(0).target, QStringLiteral("http://praca.example/"));
}

void TestAbout::contents()
{
    serve("", 404);
    showChecked();
    QCOMPARE(named<QLabel>(about(), "l_Version")->text(), QStringLiteral("v 1.2.0.28"));
    QVERIFY(named<QLabel>(about(), "a_l_1")->text().endsWith(QString::number(QDate::currentDate().year())));
    QVERIFY(named<QToolButton>(about(), "sb_Pomoc")->isHidden()); // no help file beside this program
    QCOMPARE(about().width(), 438);
    // Under the author's line and its pictures, with the same margin below as beside it.
    const QRect ok = named<QToolButton>(about(), "sb_OK")->geometry();
    QVERIFY(ok.top() > named<QToolButton>(about(), "imgGL")->geometry().bottom() + 8);
    QCOMPARE(about().height() - 1 - ok.bottom(), 16);
    QCOMPARE(about().width() - 1 - ok.right(), 16);
    QVERIFY(named<QToolButton>(about(), "sb_DownUpdate")->width() > 0);
    about().hide();
    m_fixture->setHelpFile(true);
    about().show();
    QVERIFY(!named<QToolButton>(about(), "sb_Pomoc")->isHidden());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
