#pragma once

#include <QString>

// The user's state folder for what must survive the program: $XDG_STATE_HOME/pelmora/, else
// ~/.local/state/pelmora/, with the separator at the end.
QString stateFolderPath();

// stateFolderPath(), created on first use with mode 0700, when it is a real folder (not a
// link) owned by the user that nobody else may enter; empty otherwise, since a folder that
// another user can write would let them plant what the program then trusts.
QString stateFolder();
