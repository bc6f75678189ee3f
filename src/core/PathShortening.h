#pragma once

#include <QString>

#include <functional>

// The text that shows a path in a label of a given width: whole when it fits, else with
// folders replaced by "..." from the left ("C:\...\Setup\setup.exe"), then without the drive,
// down to the bare file name. The name is never cut, so the result may still be too wide.
// Both "\" and "/" separate components; the "..." is followed by the separator it replaces.
QString shortenPath(const QString &path, int width,
                    const std::function<int(const QString &)> &textWidth);
