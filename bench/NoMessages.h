#pragma once

#include "platform/Messages.h"

// The benchmarks answer every question with No (an existing autorun.inf is not opened) and
// every notice with OK, so that no modal box waits for a user.
class NoMessages : public Messages
{
public:
    Answer show(QWidget *, const QString &, const QString &, Buttons buttons, Icon) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};
