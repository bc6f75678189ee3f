#include "widgets/SensitiveLabel.h"

#include <QMouseEvent>

namespace {

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

void SensitiveLabel::showLook(const Look &look)
{
    setFont(styled(font(), look.font));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, look.colour);
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
