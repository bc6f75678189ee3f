#pragma once

#include <QByteArray>
#include <QLabel>

// A picture that turns the window it lies on into a borderless, shaped window: the window
// takes the picture's size, shows (and takes the mouse) only inside the stored outline, and
// follows the picture when it is dragged with the left button.
class ShapedPicture : public QLabel
{
    Q_OBJECT

public:
    // window must be a top-level window; on anything else the picture shapes nothing.
    explicit ShapedPicture(QWidget *window);

    bool isMovable() const { return m_moveable; }
    // The outline in its stored form (see RegionData); no outline leaves the window rectangular.
    void setMaskData(const QByteArray &stored);
    void setPicture(const QPixmap &picture);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool m_moveable = true;
    bool m_onWindow = false;
    QPoint m_pressed;
};
