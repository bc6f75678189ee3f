#include "widgets/SensitiveLabel.h"

#include "widgets/Contrast.h"

#include <QMouseEvent>


namespace {

// The colour itself while it stands out from the background by 3 to 1 at least; else the
// colour taken toward white on a dark background, toward black on a light one, until it does.
// Pure red and blue keep their hue on white; on a dark colour scheme they lighten.
QColor readableOn(const QColor &colour, const QColor &background)
{
    constexpr double enough = 3.0;
    if (contrastRatio(colour, background) >= enough)
        return colour;
    const QColor white(Qt::white), black(Qt::black);
    const QColor away = contrastRatio(white, background) > contrastRatio(black, background) ? white : black;
    for (int step = 1; step <= 10; ++step) {
        const double t = step / 10.0;
        const QColor mixed = QColor::fromRgbF(colour.redF() + (away.redF() - colour.redF()) * t,
                                              colour.greenF() + (away.greenF() - colour.greenF()) * t,
                                              colour.blueF() + (away.blueF() - colour.blueF()) * t);
        if (contrastRatio(mixed, background) >= enough)
            return mixed;
    }
    return away;
}

// Only face, size and style travel from one look to another.
QFont styled(const QFont &base, const QFont &from)
{
    QFont font = base;
    font.setFamily(from.family());
    // A font sized in pixels has no point size (-1), which setPointSizeF refuses with a warning.
    if (from.pixelSize() > 0)
        font.setPixelSize(from.pixelSize());
    else if (from.pointSizeF() > 0)
        font.setPointSizeF(from.pointSizeF());
    font.setBold(from.bold());
    font.setItalic(from.italic());
    font.setUnderline(from.underline());
    font.setStrikeOut(from.strikeOut());
    return font;
}

} // namespace

SensitiveLabel::SensitiveLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    m_normal = {font(), palette().color(QPalette::WindowText)};
    m_mouseDown = {font(), QColor(255, 0, 0)};
    m_mouseMove = {font(), palette().color(QPalette::WindowText)};
}

SensitiveLabel::Look SensitiveLabel::currentLook() const
{
    return {font(), palette().color(QPalette::WindowText)};
}

// The look's colour is shown as it is on the background it was chosen for; on another (a
// dark colour scheme behind a link meant for white) it is lightened or darkened to be read.
void SensitiveLabel::showLook(const Look &look)
{
    setFont(styled(font(), look.font));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, readableOn(look.colour, p.color(backgroundRole())));
    setPalette(p);
}

void SensitiveLabel::setPressedLookShown(bool on)
{
    if (on != m_activeMouseDown) {
        m_activeMouseDown = on;
        update();
    }
}

void SensitiveLabel::setHoverLookShown(bool on)
{
    if (on != m_activeMouseMove) {
        m_activeMouseMove = on;
        update();
    }
}

void SensitiveLabel::setPressedLook(const Look &look)
{
    m_mouseDown = look;
    update();
}

void SensitiveLabel::setHoverLook(const Look &look)
{
    m_mouseMove = look;
    update();
}

void SensitiveLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (m_activeMouseDown && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        showLook(m_mouseDown);
}

void SensitiveLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    showLook(m_normal);
}

void SensitiveLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    showLook(m_mouseMove);
}

void SensitiveLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    showLook(m_normal);
}
