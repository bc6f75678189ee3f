#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// A label that answers the mouse with its font: the hover font while the mouse is over it,
// the pressed font while the left or right button is held on it, its normal font otherwise
// (also right after a release, until the mouse leaves and comes back). It shows its text as
// plain text: a link shows an address, and addresses may come from outside the program. A
// look's colour that would not stand out from the label's background is shown lighter or
// darker, so that a link stays readable in any colour scheme.
class SensitiveLabel : public QLabel
{
    Q_OBJECT

public:
    // A font as the label shows it: face, size and style, and the colour of the text.
    struct Look
    {
        QFont font;
        QColor colour;
    };

    explicit SensitiveLabel(QWidget *parent = nullptr);

    bool pressedLookShown() const { return m_activeMouseDown; }
    void setPressedLookShown(bool on);
    // Kept for the layout's sake; the hover look shows whatever its value.
    bool hoverLookShown() const { return m_activeMouseMove; }
    void setHoverLookShown(bool on);
    Look pressedLook() const { return m_mouseDown; }
    void setPressedLook(const Look &look);
    Look hoverLook() const { return m_mouseMove; }
    void setHoverLook(const Look &look);
    // The look it returns to: what it had when it was made.
    Look normalLook() const { return m_normal; }
    Look currentLook() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showLook(const Look &look);

    bool m_activeMouseDown = true;
    bool m_activeMouseMove = false;
    Look m_mouseDown;
    Look m_mouseMove;
    Look m_normal;
};
