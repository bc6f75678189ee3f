#pragma once

#include <QLabel>

// A label that shows a path: text() always holds the whole path, and what is drawn is
// shortened from the left ("C:\...\setup.exe") to the label's width at every paint. "&" is
// drawn as itself. When disabled the text is engraved. The label keeps the geometry it is
// given; its text never makes it (or a layout around it) wider.
class PathLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PathLabel(QWidget *parent = nullptr);

    // What a paint at the current width draws.
    QString drawnText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textArea() const;
};
