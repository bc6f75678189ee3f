#pragma once

#include <QGuiApplication>

// The busy cursor over the whole program for as long as it lives, so that every way out of
// a long step (an early return, an error) gives the normal cursor back.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
