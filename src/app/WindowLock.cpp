#include "app/WindowLock.h"

#include <QWidget>

void WindowLock::lock(const QList<QWidget *> &controls)
{
    m_locked = true;
    m_controls = controls;
    m_deferred.clear();
    for (QWidget *control : controls)
        control->setEnabled(false);
}

void WindowLock::setEnabled(QWidget *control, bool enabled)
{
    if (m_locked && m_controls.contains(control))
        m_deferred.insert(control, enabled);
    else
        control->setEnabled(enabled);
}

void WindowLock::unlock()
{
    m_locked = false;
    for (auto it = m_deferred.cbegin(); it != m_deferred.cend(); ++it)
        it.key()->setEnabled(it.value());
    m_deferred.clear();
    m_controls.clear();
}
