#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>

// Controls made at their designed place and size, each with its name as its objectName, so
// that the names the user guide and the findings use find them.
namespace Placed {

template <typename W>
W *make(QWidget *parent, const char *name, int x, int y, int w = -1, int h = -1)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    if (w < 0) {
        widget->adjustSize();
        widget->move(x, y);
    } else {
        widget->setGeometry(x, y, w, h);
    }
    return widget;
}

inline QLabel *label(QWidget *parent, const char *name, int x, int y, const QString &text = {}, int w = -1,
                     int h = -1)
{
    auto *l = make<QLabel>(parent, name, x, y, w, h);
    // Many show text from a file or the user (a caption, a label): never taken for markup.
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    if (w < 0)
        l->adjustSize();
    return l;
}

// A push button that leaves the focus where the user's keys go.
inline QPushButton *button(QWidget *parent, const char *name, int x, int y, int w, int h,
                           const QString &caption)
{
    auto *b = make<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace Placed
