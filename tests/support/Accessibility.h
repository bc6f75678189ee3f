#pragma once

// What a screen reader finds in a window: the controls the user acts on that it would announce
// without a name.

#include <QAccessible>
#include <QMetaEnum>
#include <QStringList>
#include <QWidget>

namespace Accessibility {

// Walks iface and what it holds as a screen reader does. A control the user clicks, types into
// or picks from whose name is blank is told by the nearest objectName and its role
// ("cb_NazwaPozycji EditableText" for the edit inside a combo box).
inline void collectUnnamed(QAccessibleInterface *iface, QStringList &unnamed)
{
    using R = QAccessible::Role;
    static const QList<R> acted = {R::PushButton, R::CheckBox, R::RadioButton, R::ButtonMenu, R::ButtonDropDown,
                                   R::ComboBox,   R::EditableText, R::SpinBox, R::Slider,    R::List,
                                   R::Table,      R::Tree,     R::PageTab,     R::Link};
    if (!iface || !iface->isValid())
        return;
    const R role = iface->role();
    if (acted.contains(role) && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject *named = iface->object();
        while (named && named->objectName().isEmpty())
            named = named->parent();
        unnamed << (named ? named->objectName() : QString()) + QLatin1Char(' ')
                + QLatin1String(QMetaEnum::fromType<R>().valueToKey(role));
    }
    if (role == R::List || role == R::Table || role == R::Tree)
        return; // its rows, named by their text
    for (int i = 0; i < iface->childCount(); ++i)
        collectUnnamed(iface->child(i), unnamed);
}

// The controls under root (root too, hidden ones as well) that a screen reader would announce
// without a name; empty when every one has a name.
inline QStringList unnamedControls(QWidget *root)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(root), unnamed);
    return unnamed;
}

} // namespace Accessibility
