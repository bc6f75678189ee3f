#include "dialogs/TF_About.h"

#include "core/ProfileFile.h"
#include "dialogs/Maker.h"
#include "platform/FileInfo.h"
#include "platform/Shell.h"
#include "platform/UpdateServer.h"
#include "widgets/PlainToolTip.h"
#include "widgets/SensitiveLabel.h"
#include "widgets/WindowFont.h"

#include <QDate>
#include <QFileInfo>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QToolButton>
#include <QWindow>

namespace {

// The maker's own addresses and texts.
const QString makerText = QStringLiteral("Quorvale © 2006-");
const QString email = QStringLiteral("pelmora@quorvale.example");
const QString messengerAccount = QStringLiteral("quorvale.pelmora");
const QString messengerNumber = QStringLiteral("4815162");
const QString homePage = Maker::webSite;
const QString profilePage = QStringLiteral("http://www.quorvale.example/autor/");
const QString donationPage = QStringLiteral("http://www.quorvale.example/wsparcie/");
const QString authorText = QStringLiteral("Program napisał zespół Quorvale, zapraszam na mój profil:");
const QString noticeText = QStringLiteral("Szukam pracy !!!");
const QString contactHint = QStringLiteral("Jeżeli masz jakieś uwagi/propozycje daj mi znać");

QLabel *label(QWidget *parent, const char *name, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->adjustSize();
    return l;
}

SensitiveLabel *link(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *l = new SensitiveLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setText(text);
    l->setToolTip(hint);
    l->setCursor(Qt::PointingHandCursor);
    QFont hover = l->font();
    hover.setUnderline(true);
    l->setFontMouseMove({hover, QColor(0, 0, 255)});
    QFont pressed = l->font();
    pressed.setUnderline(false);
    l->setFontMouseDown({pressed, QColor(255, 0, 0)});
    l->adjustSize();
    return l;
}

QToolButton *flatButton(QWidget *parent, const char *name, const QString &text, const char *picture)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setAutoRaise(true);
    if (picture) {
        b->setIcon(QIcon(QStringLiteral(":/pictures/%1").arg(QLatin1String(picture))));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return b;
}

} // namespace

TF_About::TF_About(const AppServices &services, QWidget *mainWindow, QWidget *parent)
    : SideWindow(parent)
    , m_services(services)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    // A dialog modal to the program: no minimise or maximise button, so the window manager
    // offers nothing that would leave the main window waiting for it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setFont(windowFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    img_About = label(this, "img_About");
    img_About->setPixmap(QPixmap(QStringLiteral(":/pictures/about.jpg")));
    img_About->adjustSize();
    l_Version = label(this, "l_Version");
    QFont bold = font();
    bold.setBold(true);
    l_Version->setFont(bold);
    a_l_1 = label(this, "a_l_1");
    a_l_2 = label(this, "a_l_2", QStringLiteral("E-mail:"));
    a_l_3 = link(this, "a_l_3", email, contactHint);
    a_l_4 = label(this, "a_l_4", QStringLiteral("Skype:"));
    a_l_5 = link(this, "a_l_5", messengerAccount, contactHint);
    a_l_6 = label(this, "a_l_6", QStringLiteral("GG:"));
    a_l_7 = link(this, "a_l_7", messengerNumber, contactHint);
    a_l_8 = label(this, "a_l_8", QStringLiteral("WWW:"));
    a_l_9 = link(this, "a_l_9", homePage, QStringLiteral("Odwiedź moją stronę internetową"));
    a_l_10 = label(this, "a_l_10", authorText);
    imgGL = flatButton(this, "imgGL", {}, nullptr);
    imgGL->setIcon(QIcon(QStringLiteral(":/pictures/small/profil.png")));
    imgGL->setToolTip(QStringLiteral("Zajrzyj na mój profil"));
    img_Money = flatButton(this, "img_Money", {}, nullptr);
    img_Money->setIcon(QIcon(QStringLiteral(":/pictures/small/wsparcie.png")));
    img_Money->setToolTip(QStringLiteral("Wesprzyj mnie finansowo"));
    for (QToolButton *picture : {imgGL, img_Money}) {
        picture->setFixedSize(16, 16);
        picture->setIconSize(QSize(16, 16));
        picture->setCursor(Qt::PointingHandCursor);
    }
    l_SzukamPracy = label(this, "l_SzukamPracy", noticeText);
    l_SzukamPracy->setFont(bold);
    l_SzukamPracy->adjustSize();
    l_SzukamPracy->setCursor(Qt::PointingHandCursor);
    showToolTipAsPlainText(l_SzukamPracy);
    l_SzukamPracy2 = link(this, "l_SzukamPracy2", {}, {});
    sb_DownUpdate = flatButton(this, "sb_DownUpdate", QStringLiteral("Dostępna jest nowa wersja programu"),
                               "small/nowe.png");
    sb_DownUpdate->hide();
    showToolTipAsPlainText(sb_DownUpdate);
    sb_Pomoc = flatButton(this, "sb_Pomoc", QStringLiteral("Pomoc"), "buttons/pomoc.png");
    sb_OK = flatButton(this, "sb_OK", QStringLiteral("OK"), "buttons/informacje.png");
    for (QToolButton *b : {sb_Pomoc, sb_OK}) {
        b->setFixedSize(89, 25);
        b->setIconSize(QSize(16, 16));
    }
    Timer_SzukamPracy.setInterval(500);

    connect(sb_OK, &QToolButton::clicked, this, &QWidget::close);
    connect(sb_Pomoc, &QToolButton::clicked, this,
            [this] { open(m_services.helpFile(), Shell::Show::Maximized); });
    connect(a_l_3, &SensitiveLabel::clicked, this, [this] {
        m_services.shell.open(this,
                              QStringLiteral("mailto:") + a_l_3->text()
                                  + QStringLiteral("?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego "
                                                   "programu Pelmora."),
                              QStringLiteral("open"), Shell::Show::Normal);
    });
    connect(a_l_5, &SensitiveLabel::clicked, this,
            [this] { open(QStringLiteral("callto:") + messengerAccount, Shell::Show::Normal); });
    connect(a_l_7, &SensitiveLabel::clicked, this,
            [this] { open(QStringLiteral("gg:") + messengerNumber, Shell::Show::Normal); });
    connect(a_l_9, &SensitiveLabel::clicked, this, [this] { openFromServer(a_l_9->text()); });
    connect(imgGL, &QToolButton::clicked, this, [this] { open(profilePage, Shell::Show::Maximized); });
    connect(img_Money, &QToolButton::clicked, this, [this] { open(donationPage, Shell::Show::Maximized); });
    connect(l_SzukamPracy2, &SensitiveLabel::clicked, this, [this] { openFromServer(l_SzukamPracy->toolTip()); });
    connect(&Timer_SzukamPracy, &QTimer::timeout, this,
            [this] { l_SzukamPracy->setVisible(l_SzukamPracy->isHidden()); });
}

void TF_About::open(const QString &target, Shell::Show show)
{
    m_services.shell.open(this, target, QStringLiteral("open"), show);
}

void TF_About::openFromServer(const QString &address)
{
    if (isOpenableAddress(address))
        open(address, Shell::Show::Maximized);
}

void TF_About::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow(); // sets the height first, so that centring sees it
    if (m_mainWindow && windowHandle())
        windowHandle()->setTransientParent(m_mainWindow->windowHandle());
    SideWindow::showEvent(event);
}

void TF_About::FormShow()
{
    if (!m_checkDone && !m_check && UpdateServer::isConnected(UpdateServer::baseAddress()))
        runCheck();
    showUpdateState();
}

// What the check found so far: the update button, the notice, the home page; laid out anew.
void TF_About::showUpdateState()
{
    const QString current = OwnVersionText();
    sb_DownUpdate->setVisible(m_checkDone && isNewerVersion(current, m_update.publishedVersion)
                              && !m_update.downloadAddress.isEmpty());
    // Without a target that may be opened the notice would open nothing: it stays hidden.
    const bool notice = isOpenableAddress(l_SzukamPracy->toolTip());
    l_SzukamPracy->setVisible(notice);
    l_SzukamPracy2->setVisible(notice);
    if (notice)
        Timer_SzukamPracy.start();
    else
        Timer_SzukamPracy.stop();
    l_Version->setText(QStringLiteral("v ") + current);
    l_Version->adjustSize();
    a_l_1->setText(makerText + QString::number(QDate::currentDate().year()));
    a_l_1->adjustSize();
    sb_DownUpdate->setToolTip(m_update.news);
    layOut();
    sb_Pomoc->setVisible(QFileInfo(m_services.helpFile()).isFile());
}

// The window shows at once and stays answering: the server's answer, whenever it comes,
// updates it. Closing the window abandons the check; the next showing starts it again.
void TF_About::runCheck()
{
    m_check = new QObject(this);
    const QUrl remote = UpdateServer::baseAddress().resolved(QUrl(QStringLiteral("version.ini")));
    UpdateServer::download(
        m_check, remote,
        [this](const std::optional<QByteArray> &body) {
            if (body)
                applyUpdateData(ProfileFile::fromBytes(*body), homePage, m_update);
            else
                applyNoUpdateData(homePage, m_update);
            m_checkDone = true;
            m_check->deleteLater();
            m_check = nullptr;
            a_l_9->setText(m_update.homePage);
            a_l_9->adjustSize();
            l_SzukamPracy->setToolTip(m_update.noticeTarget);
            showUpdateState();
        },
        m_checkTimeLimit);
}

void TF_About::layOut()
{
    img_About->move(16, 16);
    const int left = img_About->x();
    const int pictureRight = img_About->geometry().right() + 1;
    int top = img_About->geometry().bottom() + 1;
    const QList<QPair<QLabel *, QLabel *>> rows = {{a_l_1, nullptr}, {a_l_2, a_l_3}, {a_l_4, a_l_5},
                                                   {a_l_6, a_l_7},   {a_l_8, a_l_9}, {a_l_10, nullptr}};
    for (int i = 0; i < rows.size(); ++i) {
        QLabel *caption = rows[i].first;
        if (i > 0)
            top += 4;
        caption->adjustSize();
        caption->move(left, top);
        if (QLabel *value = rows[i].second) {
            value->adjustSize();
            value->move(left + caption->width() + 10, top);
        }
        top += caption->height();
    }
    imgGL->move(a_l_10->x() + a_l_10->width() + 5, a_l_10->y() - 2);
    img_Money->move(imgGL->x() + imgGL->width() + 4, imgGL->y());

    const int buttonsTop = a_l_10->geometry().bottom() + 1 + 16;
    const int outerWidth = 438;
    sb_OK->move(outerWidth - sb_OK->width() - 16, buttonsTop);
    sb_Pomoc->move(sb_OK->x() - sb_Pomoc->width() - 16, buttonsTop);
    sb_DownUpdate->setGeometry(8, buttonsTop, sb_Pomoc->x() - 16, sb_OK->height());

    l_Version->move(pictureRight - l_Version->width(), img_About->geometry().bottom() + 1);
    // Under the version rather than on the author line, whose end holds the profile and
    // donation pictures: the notice's click area must leave those to their own clicks.
    l_SzukamPracy->move(pictureRight - l_SzukamPracy->width(), a_l_2->y());
    l_SzukamPracy2->setGeometry(l_SzukamPracy->geometry());
    l_SzukamPracy2->raise();
    // The same margin under the buttons as beside them, whether or not the window has its frame yet.
    setFixedSize(outerWidth, sb_OK->geometry().bottom() + 1 + 16);
}

// A window manager may minimise a dialog all the same: it then closes, so that the main
// window is not left blocked behind a window the user cannot see.
void TF_About::changeEvent(QEvent *event)
{
    SideWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

// The main window takes the keys again, with the control that had them, whether or not a
// window manager hands them back.
void TF_About::hideEvent(QHideEvent *event)
{
    SideWindow::hideEvent(event);
    delete m_check; // abandoned
    m_check = nullptr;
    if (m_mainWindow && m_mainWindow->isVisible())
        m_mainWindow->activateWindow();
}
