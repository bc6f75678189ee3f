#pragma once

#include <QWidget>

// A window that lives beside the main window for the whole run: centred on the screen the
// first time it is shown (later showings leave it where the user put it), closed (which only
// hides it) by Escape, and never what keeps the program running.
class SideWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SideWindow(QWidget *parent = nullptr);

protected:
    // For a window painted white or on a light picture: its background, and text, buttons and
    // edits in colours that read on it, whatever the desktop's colour scheme.
    void setLightColours(const QColor &background);

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_placed = false;
};
