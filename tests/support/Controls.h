#pragma once

#include <QObject>
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
