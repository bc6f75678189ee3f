#include "widgets/AltKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

bool AltKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Ctrl+Alt is AltGr on Windows, which types the Polish letters: only Alt alone is a key.
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier) || key->text().isEmpty()
        || !key->text().at(0).isPrint())
        return false;
    return static_cast<QWidget *>(watched)->testAttribute(Qt::WA_InputMethodEnabled);
}
