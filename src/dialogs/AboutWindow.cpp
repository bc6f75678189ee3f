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

#include <QBoxLayout>
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

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Only the weight: the size and face follow the window's font.
QFont boldFont()
{
    QFont bold;
    bold.setBold(true);
    return bold;
}

// A caption and its value on one line, 10 pixels apart, the rest of the line left free.
QHBoxLayout *captionRow(QLabel *caption, QLabel *value)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(caption);
    row->addWidget(value);
    row->addStretch();
    return row;
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
    setLightColours(Qt::white);
    setAutoFillBackground(true);

    m_picture = label(this, "img_About");
    m_picture->setPixmap(ownPicture(QStringLiteral(":/pictures/about.jpg")));
    m_versionLabel = label(this, "l_Version");
    m_versionLabel->setFont(boldFont());
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
        picture->setAccessibleName(picture->toolTip()); // a picture alone names nothing
        // Too small to show a focus frame: the mouse's, as the links beside them.
        picture->setFocusPolicy(Qt::NoFocus);
        picture->setFixedSize(16, 16);
        picture->setIconSize(QSize(16, 16));
        picture->setCursor(Qt::PointingHandCursor);
    }
    m_noticeLabel = label(this, "l_SzukamPracy", noticeText);
    m_noticeLabel->setFont(boldFont());
    m_noticeLabel->setCursor(Qt::PointingHandCursor);
    showToolTipAsPlainText(m_noticeLabel);
    // It blinks: its place stays whether it shows or not.
    keepPlaceWhenHidden(m_noticeLabel);
    // The notice's click area lies over it, so that a click while it is off still opens it.
    m_noticeLink = link(this, "l_SzukamPracy2", {}, {});
    m_noticeLabel->installEventFilter(this);
    m_updateButton = flatButton(this, "sb_DownUpdate", QStringLiteral("Dostępna jest nowa wersja programu"),
                               "small/nowe.png");
    m_updateButton->hide();
    showToolTipAsPlainText(m_updateButton);
    m_helpButton = flatButton(this, "sb_Pomoc", QStringLiteral("Pomoc"), "buttons/pomoc.pam");
    m_okButton = flatButton(this, "sb_OK", QStringLiteral("OK"), "buttons/informacje.pam");
    for (QToolButton *b : {m_helpButton, m_okButton}) {
        b->setMinimumSize(89, 25);
        b->setIconSize(QSize(16, 16));
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    m_updateButton->setIconSize(QSize(16, 16)); // its picture's size: no wider than it needs
    m_updateButton->setMinimumHeight(25);
    m_updateButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The buttons keep their places whichever of them the window shows.
    for (QToolButton *b : {m_updateButton, m_helpButton, m_okButton})
        keepPlaceWhenHidden(b);
    layOut();
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
    m_contactHeading->setText(makerText + QString::number(QDate::currentDate().year()));
    m_updateButton->setToolTip(m_update.news);
    m_helpButton->setVisible(QFileInfo(m_services.helpFile()).isFile());
    layout()->activate(); // the window takes its size now, before it is centred
    placeNoticeLink();
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
            m_noticeLabel->setToolTip(m_update.noticeTarget);
            showUpdateState();
        },
        m_checkTimeLimit);
}

// The picture with the contacts under it, the version and the notice at the picture's right
// edge, and the buttons along the bottom; at the window font the window is 438 pixels wide.
// It takes the size of what it shows: larger fonts make it larger, and it cannot be resized.
void AboutWindow::layOut()
{
    const int line = 4; // between the lines of contacts
    auto *contacts = new QVBoxLayout;
    contacts->setSpacing(0);
    contacts->addWidget(m_picture);
    auto *heading = new QHBoxLayout;
    heading->addWidget(m_contactHeading);
    heading->addStretch();
    heading->addWidget(m_versionLabel);
    contacts->addLayout(heading);
    contacts->addSpacing(line);
    QHBoxLayout *email = captionRow(m_emailCaption, m_emailLink);
    // Under the version rather than on the author line, whose end holds the profile and
    // donation pictures: the notice's click area must leave those to their own clicks.
    email->addWidget(m_noticeLabel);
    contacts->addLayout(email);
    for (const auto &[caption, value] : {std::pair<QLabel *, QLabel *>{m_messengerCaption, m_messengerLink},
                                         {m_numberCaption, m_numberLink},
                                         {m_webCaption, m_webLink}}) {
        contacts->addSpacing(line);
        contacts->addLayout(captionRow(caption, value));
    }
    // The profile and donation pictures, taller than the author's line, stand 2 pixels higher
    // than it would, with the line centred beside them.
    contacts->addSpacing(line - 2);
    auto *author = new QHBoxLayout;
    author->setSpacing(0);
    author->addWidget(m_authorLabel);
    author->addSpacing(5);
    author->addWidget(m_profileButton);
    author->addSpacing(4);
    author->addWidget(m_donationButton);
    author->addStretch();
    contacts->addLayout(author);
    // The contacts are as wide as the picture, or as their widest line when that is wider.
    auto *top = new QHBoxLayout;
    top->setContentsMargins(8, 0, 0, 0);
    top->addLayout(contacts);
    top->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    // The update button's caption takes all the room left of Pomoc but 4 pixels.
    buttons->addWidget(m_updateButton);
    buttons->addSpacing(4);
    buttons->addWidget(m_helpButton);
    buttons->addSpacing(16);
    buttons->addWidget(m_okButton);

    // The same margin under the buttons as beside them.
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(8, 16, 16, 16);
    layout->setSpacing(0);
    layout->addStrut(438 - 8 - 16);
    layout->addLayout(top);
    layout->addSpacing(15); // 16 pixels under the author's line

    layout->addLayout(buttons);
}

// The notice's click area covers the notice wherever the layout puts it.
void AboutWindow::placeNoticeLink()
{
    m_noticeLink->setGeometry(m_noticeLabel->geometry());
    m_noticeLink->raise();
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_noticeLabel && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeNoticeLink();
    return SideWindow::eventFilter(watched, event);
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
