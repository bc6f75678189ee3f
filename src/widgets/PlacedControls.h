#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>

// Controls made with their name as their objectName, so that the names the user guide and the
// findings use find them. Where they sit is up to the layout they are put in.
namespace Placed {

template <typename W>
W *make(QWidget *parent, const char *name)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The least size of a control: the designed one, or what its text needs where that is more (a
// least size set by hand is the one layouts keep to, so it must never be less than the text).
inline void atLeast(QWidget *widget, QSize designed)
{
    widget->ensurePolished();
    widget->setMinimumSize(designed.expandedTo(widget->sizeHint()));
}

inline QLabel *label(QWidget *parent, const char *name, const QString &text = {})
{
    auto *l = make<QLabel>(parent, name);
    // Many show text from a file or the user (a caption, a label): never taken for markup.
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

// A push button that Tab reaches and a click leaves the focus where the user's keys go; at
// least its designed size, larger when its caption asks for more.
inline QPushButton *button(QWidget *parent, const char *name, QSize designed, const QString &caption)
{
    auto *b = make<QPushButton>(parent, name);
    b->setText(caption);
    b->setFocusPolicy(Qt::TabFocus);
    atLeast(b, designed);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

} // namespace Placed
