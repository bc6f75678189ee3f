#pragma once

#include <QFrame>

// A frame that stands for one thing the user can act on (the drive in the preview): Tab
// reaches it, the focus shows as a dotted frame inside it, and Space or Enter ask for its
// context menu, as the Menu key and Shift+F10 do.
class FocusFrame : public QFrame
{
    Q_OBJECT

public:
    explicit FocusFrame(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
