#pragma once

#include <QString>
#include <QStringList>

class ProfileFile;

// The autorun.inf that works from the temporary drive of a preview: the program, the icon,
// the name and the menu verbs of the file as saved, with every path in the form the drive
// finds it ("open=" spelled in lower case, each caption before its command, the verbs as
// named in the file). Paths that name no file of dataFolder become empty.
QStringList previewLines(const ProfileFile &saved, const QString &dataFolder);
