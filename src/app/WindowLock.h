#pragma once

#include <QHash>
#include <QList>

class QWidget;

// While a panel is open over the main window, its other controls are locked: they stay
// disabled whatever the button rules decide meanwhile (a change on disk, a choice in the
// panel), and the last decision for each is applied when the panel closes.
class WindowLock
{
public:
    bool isLocked() const { return m_locked; }
    // Disables the controls and keeps them disabled until unlock().
    void lock(const QList<QWidget *> &controls);
    // Enables or disables a control now, or once the window is unlocked when it is locked.
    void setEnabled(QWidget *control, bool enabled);
    void unlock();

private:
    bool m_locked = false;
    QList<QWidget *> m_controls;
    QHash<QWidget *, bool> m_deferred;
};
