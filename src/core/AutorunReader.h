#pragma once

#include "core/MenuDocument.h"
#include "core/RegularFile.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>

class ProfileFile;

struct AutorunIcon
{
    QString file;             // disc path of the icon file
    std::optional<int> index; // the whole number after the last comma, if any (blanks aside)
};

// The value of an icon key: "file,number", or a file alone (an .ico file is always alone).
AutorunIcon readIconValue(const QString &value);

// What autorun.inf gives for the menu document.
struct AutorunContent
{
    QString open;                     // the program started on insertion; empty when none
    std::optional<AutorunIcon> icon;  // absent when the file has no icon key
    std::optional<QString> label;     // absent when the file gives no label
    QList<MenuItem> items;            // in the order of their caption lines, each with its verb
    QString shellExecute;             // the document Windows opens on insertion; empty when none
    KeptKeys kept;                    // the keys that change what Windows does, for the check
    bool section = false;             // whether [autorun] is there with a key in it
    // Why the file gave nothing: Missing, NotRegularFile (a FIFO, a device), TooLarge (over
    // ProfileFile::maxFileSize) or Unreadable; None when it was read.
    FileReadError readError = FileReadError::None;
};

// Reads the [autorun] section of the file at path. A file that cannot be read gives nothing
// but its readError. Nothing else of the disc is looked at.
// giveUp (when given) set from another thread ends the reading early, with nothing of use.
AutorunContent readAutorun(const QString &path, const std::atomic_bool *giveUp = nullptr);
// Without withItems, items stay empty: for a reader that takes them from menuVerbs() itself.
AutorunContent readAutorun(const ProfileFile &profile, bool withItems = true);

// The menu verbs of the [autorun] section in the order of their caption keys: for each key
// that holds "shell" and not "command" (letter case counting), the key without its first six
// characters ("shell\"), when "shell\" + verb and "shell\" + verb + "\command" are both keys
// (letter case aside). Each comes with the lines of its caption and command key in the
// section (their first copies).
struct MenuVerb
{
    QString name;
    qsizetype captionLine = -1;
    qsizetype commandLine = -1;
};
QList<MenuVerb> menuVerbs(const ProfileFile &profile);
// The same of another section, such as "autorun.amd64".
QList<MenuVerb> menuVerbs(const ProfileFile &profile, const QString &sectionName);

// The architecture sections Windows reads instead of [autorun], in lower case.
const QStringList &architectureSectionNames();

// Optional sign and decimal digits, nothing else, within the range of int.
bool parseWholeNumber(QStringView text, int *value);

// The extension as Windows tools take it: from the last "." after the last "\" or ":".
QString fileExtension(QStringView path);
