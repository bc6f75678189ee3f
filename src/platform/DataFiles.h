#pragma once

#include <QString>

// Where the program's read-only files are (the help page, the tips file). From the build folder they sit
// beside the program; installed, they sit in <prefix>/share/pelmora. Returns the path beside the program
// when the file is found nowhere, so that messages name the place a user would look first.
QString dataFile(const QString &programFile, const QString &relative);
