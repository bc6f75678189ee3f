#pragma once

#include "core/MenuDocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

// One problem of a menu as Windows will see the burned disc.
struct DiscFinding
{
    // Info tells what the disc will be, never a fault: it never fails a check.
    enum class Severity { Error, Warning, Info };

    QString code;      // a fixed name scripts rely on, e.g. "open-missing"
    Severity severity = Severity::Error;
    QString key;       // the key of autorun.inf concerned: "open", "shellexecute", "icon", "label"
                       // or "shell\NNNNN"; empty for the file as a whole
    QString message;   // for the user, in Polish
    int item = -1;     // the entry concerned, -1 when none
    QString section;   // the section of the key: empty for [autorun], else "autorun.amd64", ...

    bool operator==(const DiscFinding &o) const
    {
        return code == o.code && severity == o.severity && key == o.key && message == o.message
            && item == o.item && section == o.section;
    }
};

// Checks doc against the files of dataFolder (a native path ending with the separator). The
// entries are keyed as the writer names them, by their position.
QList<DiscFinding> checkDisc(const MenuDocument &doc, const QString &dataFolder);

// The findings of the image the data folder makes, laid out as the image is but not written:
// names Windows will not reach (name-not-on-windows), files stored in parts (file-over-4gib),
// a folder on a removable drive (removable-drive) and the image's size with the media it fits
// (disc-size). label is the disc's label, empty for the
// folder's name. Costs a walk of the whole folder; cancel (when given) set from another thread
// ends it early, with no findings.
QList<DiscFinding> checkDiscImage(const QString &dataFolder, const QString &label,
                                  const std::atomic_bool *cancel = nullptr);

// The media an image of bytes fits on, smallest first ("CD 650 MB", ...); none when it fits none.
QStringList mediaFitting(qint64 bytes);

// The program of a command: its quoted first word, else the longest prefix ending at a blank
// (or the end) that names a file of the disc, else its first word. A name without an extension
// that is not on the disc stands for the name with ".exe" added when that is, as Windows
// starts it.
QString commandProgram(const QString &command, const QString &dataFolder);

// The key of the caption of entry index, as autorun.inf names it.
QString captionKey(int index);
