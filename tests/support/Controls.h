#pragma once

#include <QObject>
#include <QWidget>
#include <QtGlobal>

// A control of a window by its object name, the name the user guide and the findings use
// ("sb_Zapisz", "lv_Lista"). A missing or differently typed control ends the test at once.
template <typename T>
T *named(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

template <typename T>
T *named(const QObject *window, const char *name)
{
    return named<T>(*window, name);
}

// Whether a panel of the window is open. Panels are made when first opened, so one the user
// has not opened yet is not there at all.
inline bool panelOpen(const QObject &window, const char *name)
{
    const auto *panel = window.findChild<QWidget *>(QLatin1String(name));
    return panel && !panel->isHidden();
}
