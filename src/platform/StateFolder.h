#pragma once

#include <QString>

// The user's state folder for what must survive the program: $XDG_STATE_HOME/pelmora/, else
// ~/.local/state/pelmora/, with the separator at the end. Created on first use, private to
// the user.
QString stateFolder();
