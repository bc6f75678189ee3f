#pragma once

#include <QPointer>
#include <QWidget>

// The about window. While it is shown the main window is disabled; hiding it enables the
// main window again.
class TF_About : public QWidget
{
    Q_OBJECT

public:
    explicit TF_About(QWidget *mainWindow, QWidget *parent = nullptr);

protected:
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
