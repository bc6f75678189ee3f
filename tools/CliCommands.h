#pragma once

#include <QString>
#include <QStringList>

// The commands of pelmora-cli, each returning the process's exit code (see CliOutput.h).

// autorun.inf of a folder: read as JSON, written from JSON on stdin, checked against the folder.
// A document holding characters the code page lacks is refused unless replaceUnwritable lets
// them be written as "?".
int readCommand(const QString &folder);
int writeCommand(const QString &folder, bool replaceUnwritable);
int checkCommand(const QString &folder);
// The disc's label as the window takes it: that of FOLDER's autorun.inf; empty (the folder's
// name then) when the file gives none or cannot be read.
QString menuLabelOf(const QString &folder);

// Files of the folder: an INI section, a program's version data, the programs and icon files
// found, a file's icons, the disc image.
int iniCommand(const QString &file, const QString &section, const QStringList &wanted);
int versionCommand(const QString &file);
int scanCommand(const QString &folder);
int iconsCommand(const QString &file);
int isoCommand(const QString &folder, const QString &imagePath, const QString &label);
