#include "widgets/ShapedPicture.h"

#include "core/RegionData.h"

#include <QMouseEvent>
#include <QRegion>

ShapedPicture::ShapedPicture(QWidget *window)
    : QLabel(window)
{
    m_onWindow = window && window->isWindow();
    if (!m_onWindow) {
        qWarning("Please Drop on a Form");
        return;
    }
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    setMaskData(RegionData::write({}));
}

void ShapedPicture::setPicture(const QPixmap &picture)
{
    setPixmap(picture);
    if (picture.isNull())
        return;
    resize(picture.size());
    if (m_onWindow)
        parentWidget()->setFixedSize(picture.size());
}

void ShapedPicture::setMaskData(const QByteArray &stored)
{
    if (!m_onWindow)
        return;
    QRegion outline;
    for (const QRect &r : RegionData::read(stored))
        outline += r;
    if (outline.isEmpty())
        parentWidget()->clearMask();
    else
        parentWidget()->setMask(outline);
}

void ShapedPicture::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    m_pressed = event->position().toPoint();
}

void ShapedPicture::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    if (!m_moveable || !m_onWindow || event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    // The point under the mouse stays the point where the button went down.
    QWidget *window = parentWidget();
    window->move(window->pos() + event->position().toPoint() - m_pressed);
}
