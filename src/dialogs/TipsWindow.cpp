#include "dialogs/TipsWindow.h"

#include "core/CodePage.h"
#include "core/ProfileFile.h"
#include "dialogs/Maker.h"
#include "core/RegionData.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/ShapedPicture.h"
#include "widgets/WindowFont.h"
#include "widgets/OwnPictures.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTextLayout>
#include <QToolButton>

namespace {

constexpr int lineWidth = 265; // the width the tips are broken to
// Where the first line of a tip stands: 11 pixels into the white box of the picture.
const QPoint firstLine(120, 102);
// Where the buttons stand on the picture at the window font.
constexpr int bottomRow = 224; // the top of the buttons along the bottom
const QRect nextTipPlace(368, bottomRow, 153, 38), closePlace(224, bottomRow, 129, 38);
const QRect webSitePlace(408, 142, 113, 57), helpPlace(408, 61, 113, 57), cornerPlace(509, 4, 20, 20);

// The outline of the window: its rectangle with the corners rounded off.
const QList<QRect> outline = {
    QRect(QPoint(8, 0), QPoint(529, 0)),   QRect(QPoint(5, 1), QPoint(531, 1)),
    QRect(QPoint(4, 2), QPoint(533, 2)),   QRect(QPoint(3, 3), QPoint(534, 3)),
    QRect(QPoint(2, 4), QPoint(535, 4)),   QRect(QPoint(2, 5), QPoint(536, 5)),
    QRect(QPoint(1, 6), QPoint(536, 7)),   QRect(QPoint(0, 8), QPoint(536, 265)),
    QRect(QPoint(1, 266), QPoint(536, 266)), QRect(QPoint(2, 267), QPoint(535, 267)),
    QRect(QPoint(3, 268), QPoint(534, 268)), QRect(QPoint(5, 269), QPoint(533, 269)),
};

QToolButton *flatButton(QWidget *parent, const char *name, const QRect &place, const QString &caption,
                        const char *picture, Qt::ToolButtonStyle style)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(place);
    b->setText(caption);
    b->setAccessibleName(caption.trimmed()); // the caption's padding is not said
    b->setIcon(ownIcon(QStringLiteral(":/pictures/%1").arg(QLatin1String(picture))));
    b->setIconSize(place.height() < 30 ? QSize(16, 16) : QSize(32, 32));
    b->setToolButtonStyle(style);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus); // flat buttons: the mouse only, never Space or Tab
    return b;
}

// The display lines of a text broken at word boundaries to a width, as an edit field shows it:
// a word wider than the line is broken where the line ends.
QStringList breakLines(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

} // namespace

int TipsWindow::tipIndex = 0;

TipsWindow::TipsWindow(const AppServices &services, QWidget *parent)
    : SideWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("Tf_Porady"));
    setWindowTitle(QStringLiteral("Porady"));
    setFont(windowFont());
    setLightColours(Qt::white); // the picture is light in any colour scheme
    m_picture = new ShapedPicture(this);
    m_picture->setObjectName(QStringLiteral("PlasmaForm1"));
    m_picture->setPicture(ownPicture(QStringLiteral(":/pictures/porady.jpg")));
    m_picture->setMaskData(RegionData::write(outline));

    // The lines stand one under the other in the white box, as wide as they are broken to and
    // as tall as their font needs, 3 pixels apart. Lines too tall for the box run over its
    // lower edge, down to the buttons, rather than overlap or be cut.
    auto *tipArea = new QWidget(this);
    tipArea->setAttribute(Qt::WA_TransparentForMouseEvents); // the picture under it is dragged
    tipArea->setGeometry(rect());
    auto *tipLines = new QVBoxLayout(tipArea);
    tipLines->setContentsMargins(firstLine.x(), firstLine.y(), width() - firstLine.x() - lineWidth,
                                 height() - bottomRow);
    tipLines->setSpacing(3);
    QLabel **lines[] = {&m_tipLine1, &m_tipLine2, &m_tipLine3, &m_tipLine4, &m_tipLine5};
    for (int i = 0; i < 5; ++i) {
        auto *l = new QLabel(tipArea);
        l->setObjectName(QStringLiteral("l_%1").arg(i + 1));
        l->setTextFormat(Qt::PlainText); // a tip is text, whatever it holds
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        tipLines->addWidget(l);
        *lines[i] = l;
    }
    tipLines->addStretch();
    m_nextTipButton = flatButton(this, "sb_NestPor", nextTipPlace, QStringLiteral("Następna porada"),
                            "buttons/dalej.png", Qt::ToolButtonTextBesideIcon);
    m_nextTipButton->setLayoutDirection(Qt::RightToLeft); // the picture to the right of the caption
    m_closeButton = flatButton(this, "SpeedButton1", closePlace, QStringLiteral("     Zamknij   "),
                              "buttons/zamknij.pam", Qt::ToolButtonTextBesideIcon);
    m_webSiteButton = flatButton(this, "SpeedButton2", webSitePlace, QStringLiteral("Zobacz witrynę"),
                              "buttons/witryna.png", Qt::ToolButtonTextUnderIcon);
    m_helpButton = flatButton(this, "SpeedButton3", helpPlace, QStringLiteral("Pomoc"),
                              "buttons/pomoc.pam", Qt::ToolButtonTextUnderIcon);
    m_closeCornerButton = flatButton(this, "SpeedButton5", cornerPlace, {}, "small/zamknij.png",
                              Qt::ToolButtonIconOnly);
    m_closeCornerButton->setAccessibleName(QStringLiteral("Zamknij"));
    placeButtons();

    connect(m_nextTipButton, &QToolButton::clicked, this, &TipsWindow::showNextTip);
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::close);
    connect(m_closeCornerButton, &QToolButton::clicked, this, &QWidget::close);
    connect(m_webSiteButton, &QToolButton::clicked, this, [this] {
        m_services.shell.open(this, Maker::webSite, QStringLiteral("open"), Shell::Show::Maximized);
    });
    connect(m_helpButton, &QToolButton::clicked, this, [this] {
        m_services.shell.open(this, m_services.helpFile(), QStringLiteral("open"), Shell::Show::Maximized);
    });
}

QString TipsWindow::tipsFile() const
{
    return m_services.tipsFile();
}

QStringList TipsWindow::shownLines() const
{
    QStringList lines;
    for (const QLabel *l : {m_tipLine1, m_tipLine2, m_tipLine3, m_tipLine4, m_tipLine5})
        lines << l->text();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TipsWindow::showTip(int index)
{
    const QStringList lines = breakLines(m_tips.value(index), font());
    QLabel *labels[] = {m_tipLine1, m_tipLine2, m_tipLine3, m_tipLine4, m_tipLine5};
    // Five lines are all the window has; a longer tip loses what follows.
    for (int i = 0; i < 5; ++i)
        labels[i]->setText(lines.value(i));
}

void TipsWindow::loadTips()
{
    m_tips.clear();
    // The program's own file, written in Windows-1250 whatever code page autorun.inf uses.
    static const CodePage tipsCodePage("windows-1250");
    const ProfileFile file = ProfileFile::fromFile(tipsFile(), tipsCodePage);
    const QString section = QStringLiteral("Podady Pelmora");
    const QStringList keys = file.keys(section);
    for (int i = 0; i < keys.size(); ++i) {
        // The entry as one line of key, "=" and value, from its fifth character on. Duplicate
        // keys each count; a lookup gives the first one's value, as the profile functions do.
        const QString entry = keys[i] + QLatin1Char('=') + file.value(section, keys[i]);
        m_tips << entry.mid(4);
    }
    if (m_tips.isEmpty()) {
        m_services.messages.show(
            this,
            QStringLiteral("Niestety, nie posiadasz pliku z poradami dołączonego do programu. "
                           "Pobierz pełną wersję programu ze strony ")
                + Maker::host,
            QStringLiteral("UWAGA !!!"), Messages::Buttons::Ok, Messages::Icon::Error);
        for (QLabel *l : {m_tipLine1, m_tipLine2, m_tipLine3, m_tipLine4, m_tipLine5})
            l->clear();
        return;
    }
    // The file may have shrunk since the last tip was shown: start again from the first.
    if (tipIndex >= m_tips.size())
        tipIndex = 0;
    showTip(tipIndex);
}

void TipsWindow::refreshOnShow()
{
    loadTips();
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().width() - width() - 20, 20);
    m_helpButton->setVisible(QFileInfo(m_services.helpFile()).isFile());
    m_nextTipButton->setVisible(m_tips.size() >= 2);
    placeButtons();
}

// The buttons stand on places of the picture: help and the web site in the column right of
// the white box, Zamknij and Następna porada along the bottom, all with their right edges
// where the picture leaves room. A larger font widens and heightens them, toward the left
// and away from the picture's edge, rather than cut their captions.
void TipsWindow::placeButtons()
{
    const auto fit = [](QToolButton *button, QRect place, bool fromBottom) {
        const QSize hint = button->sizeHint();
        place.setLeft(place.left() - qMax(0, hint.width() - place.width()));
        if (fromBottom)
            place.setTop(place.top() - qMax(0, hint.height() - place.height()));
        else
            place.setHeight(qMax(place.height(), hint.height()));
        button->setGeometry(place);
    };
    fit(m_helpButton, helpPlace, false);
    fit(m_webSiteButton, webSitePlace, false);
    fit(m_nextTipButton, nextTipPlace, true);
    // Zamknij stands as far left of Następna porada as designed, or in its place when there is
    // one tip.
    const int gap = nextTipPlace.left() - closePlace.right() - 1;
    const int closeRight = m_nextTipButton->isHidden() ? nextTipPlace.right() : m_nextTipButton->x() - gap - 1;
    fit(m_closeButton, closePlace.translated(closeRight - closePlace.right(), 0), true);
}

void TipsWindow::showEvent(QShowEvent *event)
{
    SideWindow::showEvent(event);
    if (!event->spontaneous())
        refreshOnShow(); // placed at the top right, after the first showing's centring
}

void TipsWindow::showNextTip()
{
    tipIndex = tipIndex < m_tips.size() - 1 ? tipIndex + 1 : 0;
    showTip(tipIndex);
}
