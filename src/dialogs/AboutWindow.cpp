#include "dialogs/AboutWindow.h"

#include "core/ProfileFile.h"
#include "dialogs/Maker.h"
#include "platform/FileInfo.h"
#include "platform/Shell.h"
#include "platform/UpdateServer.h"
#include "widgets/PlainToolTip.h"
#include "widgets/SensitiveLabel.h"
#include "widgets/WindowFont.h"
#include "widgets/OwnPictures.h"

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
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText); // texts from the update server among them
    l->setText(text);
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
    l->setHoverLook({hover, QColor(0, 0, 255)});
    QFont pressed = l->font();
    pressed.setUnderline(false);
    l->setPressedLook({pressed, QColor(255, 0, 0)});
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
        b->setIcon(ownIcon(QStringLiteral(":/pictures/%1").arg(QLatin1String(picture))));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return b;
}

} // namespace

AboutWindow::AboutWindow(const AppServices &services, QWidget *mainWindow, QWidget *parent)
    : SideWindow(parent)
    , m_services(services)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    // A dialog modal to the main window (the tips window stays usable): no minimise or
    // maximise button, so the window manager offers nothing that would leave the main window
    // waiting for it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::WindowModal);
    setFont(windowFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_picture = label(this, "img_About");
    m_picture->setPixmap(ownPicture(QStringLiteral(":/pictures/about.jpg")));
    m_picture->adjustSize();
    m_versionLabel = label(this, "l_Version");
    QFont bold = font();
    bold.setBold(true);
    m_versionLabel->setFont(bold);
    m_contactHeading = label(this, "a_l_1");
    m_emailCaption = label(this, "a_l_2", QStringLiteral("E-mail:"));
    m_emailLink = link(this, "a_l_3", email, contactHint);
    m_messengerCaption = label(this, "a_l_4", QStringLiteral("Skype:"));
    m_messengerLink = link(this, "a_l_5", messengerAccount, contactHint);
    m_numberCaption = label(this, "a_l_6", QStringLiteral("GG:"));
    m_numberLink = link(this, "a_l_7", messengerNumber, contactHint);
    m_webCaption = label(this, "a_l_8", QStringLiteral("WWW:"));
    m_webLink = link(this, "a_l_9", homePage, QStringLiteral("Odwiedź moją stronę internetową"));
    m_authorLabel = label(this, "a_l_10", authorText);
    m_profileButton = flatButton(this, "imgGL", {}, nullptr);
    m_profileButton->setIcon(ownIcon(QStringLiteral(":/pictures/small/profil.png")));
    m_profileButton->setToolTip(QStringLiteral("Zajrzyj na mój profil"));
    m_donationButton = flatButton(this, "img_Money", {}, nullptr);
    m_donationButton->setIcon(ownIcon(QStringLiteral(":/pictures/small/wsparcie.png")));
    m_donationButton->setToolTip(QStringLiteral("Wesprzyj mnie finansowo"));
    for (QToolButton *picture : {m_profileButton, m_donationButton}) {
        // Too small to show a focus frame: the mouse's, as the links beside them.
        picture->setFocusPolicy(Qt::NoFocus);
        picture->setFixedSize(16, 16);
        picture->setIconSize(QSize(16, 16));
        picture->setCursor(Qt::PointingHandCursor);
    }
    m_noticeLabel = label(this, "l_SzukamPracy", noticeText);
    m_noticeLabel->setFont(bold);
    m_noticeLabel->adjustSize();
    m_noticeLabel->setCursor(Qt::PointingHandCursor);
    showToolTipAsPlainText(m_noticeLabel);
    m_noticeLink = link(this, "l_SzukamPracy2", {}, {});
    m_updateButton = flatButton(this, "sb_DownUpdate", QStringLiteral("Dostępna jest nowa wersja programu"),
                               "small/nowe.png");
    m_updateButton->hide();
    showToolTipAsPlainText(m_updateButton);
    m_helpButton = flatButton(this, "sb_Pomoc", QStringLiteral("Pomoc"), "buttons/pomoc.pam");
    m_okButton = flatButton(this, "sb_OK", QStringLiteral("OK"), "buttons/informacje.pam");
    for (QToolButton *b : {m_helpButton, m_okButton}) {
        b->setFixedSize(89, 25);
        b->setIconSize(QSize(16, 16));
    }
    m_noticeBlink.setParent(this);
    m_noticeBlink.setObjectName(QStringLiteral("Timer_SzukamPracy"));
    m_noticeBlink.setInterval(500);

    connect(m_okButton, &QToolButton::clicked, this, &QWidget::close);
    connect(m_helpButton, &QToolButton::clicked, this,
            [this] { open(m_services.helpFile(), Shell::Show::Maximized); });
    connect(m_emailLink, &SensitiveLabel::clicked, this, [this] {
        m_services.shell.open(this,
                              QStringLiteral("mailto:") + m_emailLink->text()
                                  + QStringLiteral("?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego "
                                                   "programu Pelmora."),
                              QStringLiteral("open"), Shell::Show::Normal);
    });
    connect(m_messengerLink, &SensitiveLabel::clicked, this,
            [this] { open(QStringLiteral("callto:") + messengerAccount, Shell::Show::Normal); });
    connect(m_numberLink, &SensitiveLabel::clicked, this,
            [this] { open(QStringLiteral("gg:") + messengerNumber, Shell::Show::Normal); });
    connect(m_webLink, &SensitiveLabel::clicked, this, [this] { openFromServer(m_webLink->text()); });
    connect(m_profileButton, &QToolButton::clicked, this, [this] { open(profilePage, Shell::Show::Maximized); });
    connect(m_donationButton, &QToolButton::clicked, this, [this] { open(donationPage, Shell::Show::Maximized); });
    connect(m_noticeLink, &SensitiveLabel::clicked, this, [this] { openFromServer(m_noticeLabel->toolTip()); });
    connect(&m_noticeBlink, &QTimer::timeout, this,
            [this] { m_noticeLabel->setVisible(m_noticeLabel->isHidden()); });
}

void AboutWindow::open(const QString &target, Shell::Show show)
{
    m_services.shell.open(this, target, QStringLiteral("open"), show);
}

void AboutWindow::openFromServer(const QString &address)
{
    if (isOpenableAddress(address))
        open(address, Shell::Show::Maximized);
}

// A window without a parent widget is modal for the windows it stands over (its transient
// parent); the main window is that parent, so the tips window is left free.
void AboutWindow::setVisible(bool visible)
{
    if (visible && m_mainWindow && m_mainWindow->windowHandle()) {
        create();
        windowHandle()->setTransientParent(m_mainWindow->windowHandle());
    }
    SideWindow::setVisible(visible);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        refreshOnShow(); // sets the height first, so that centring sees it
    if (m_mainWindow && windowHandle())
        windowHandle()->setTransientParent(m_mainWindow->windowHandle());
    SideWindow::showEvent(event);
}

void AboutWindow::refreshOnShow()
{
    if (!m_checkDone && !m_check && UpdateServer::isConnected(UpdateServer::baseAddress()))
        runCheck();
    showUpdateState();
}

// What the check found so far: the update button, the notice, the home page; laid out anew.
void AboutWindow::showUpdateState()
{
    const QString current = ownVersionText();
    m_updateButton->setVisible(m_checkDone && isNewerVersion(current, m_update.publishedVersion)
                              && !m_update.downloadAddress.isEmpty());
    // Without a target that may be opened the notice would open nothing: it stays hidden.
    const bool notice = isOpenableAddress(m_noticeLabel->toolTip());
    m_noticeLabel->setVisible(notice);
    m_noticeLink->setVisible(notice);
    if (notice)
        m_noticeBlink.start();
    else
        m_noticeBlink.stop();
    m_versionLabel->setText(QStringLiteral("v ") + current);
    m_versionLabel->adjustSize();
    m_contactHeading->setText(makerText + QString::number(QDate::currentDate().year()));
    m_contactHeading->adjustSize();
    m_updateButton->setToolTip(m_update.news);
    layOut();
    m_helpButton->setVisible(QFileInfo(m_services.helpFile()).isFile());
}

// The window shows at once and stays answering: the server's answer, whenever it comes,
// updates it. Closing the window abandons the check; the next showing starts it again.
void AboutWindow::runCheck()
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
            m_webLink->setText(m_update.homePage);
            m_webLink->adjustSize();
            m_noticeLabel->setToolTip(m_update.noticeTarget);
            showUpdateState();
        },
        m_checkTimeLimit);
}

void AboutWindow::layOut()
{
    m_picture->move(16, 16);
    const int left = m_picture->x();
    const int pictureRight = m_picture->geometry().right() + 1;
    int top = m_picture->geometry().bottom() + 1;
    const QList<QPair<QLabel *, QLabel *>> rows = {
        {m_contactHeading, nullptr},     {m_emailCaption, m_emailLink}, {m_messengerCaption, m_messengerLink},
        {m_numberCaption, m_numberLink}, {m_webCaption, m_webLink},     {m_authorLabel, nullptr}};
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
    m_profileButton->move(m_authorLabel->x() + m_authorLabel->width() + 5, m_authorLabel->y() - 2);
    m_donationButton->move(m_profileButton->x() + m_profileButton->width() + 4, m_profileButton->y());

    const int buttonsTop = m_authorLabel->geometry().bottom() + 1 + 16;
    const int outerWidth = 438;
    m_okButton->move(outerWidth - m_okButton->width() - 16, buttonsTop);
    m_helpButton->move(m_okButton->x() - m_helpButton->width() - 16, buttonsTop);
    m_updateButton->setGeometry(8, buttonsTop, m_helpButton->x() - 16, m_okButton->height());

    m_versionLabel->move(pictureRight - m_versionLabel->width(), m_picture->geometry().bottom() + 1);
    // Under the version rather than on the author line, whose end holds the profile and
    // donation pictures: the notice's click area must leave those to their own clicks.
    m_noticeLabel->move(pictureRight - m_noticeLabel->width(), m_emailCaption->y());
    m_noticeLink->setGeometry(m_noticeLabel->geometry());
    m_noticeLink->raise();
    // The same margin under the buttons as beside them, whether or not the window has its frame yet.
    setFixedSize(outerWidth, m_okButton->geometry().bottom() + 1 + 16);
}

// A window manager may minimise a dialog all the same: it then closes, so that the main
// window is not left blocked behind a window the user cannot see.
void AboutWindow::changeEvent(QEvent *event)
{
    SideWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

// The main window takes the keys again, with the control that had them, whether or not a
// window manager hands them back.
void AboutWindow::hideEvent(QHideEvent *event)
{
    SideWindow::hideEvent(event);
    delete m_check; // abandoned
    m_check = nullptr;
    if (m_mainWindow && m_mainWindow->isVisible())
        m_mainWindow->activateWindow();
}
