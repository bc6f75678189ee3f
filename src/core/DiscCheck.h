#pragma once

#include "core/MenuDocument.h"

#include <QList>
#include <QString>

// One problem of a menu as Windows will see the burned disc.
struct DiscFinding
{
    enum class Severity { Error, Warning };

    QString code;      // a fixed name scripts rely on, e.g. "open-missing"
    Severity severity = Severity::Error;
    QString key;       // the key of autorun.inf concerned: "open", "shellexecute", "icon", "label"
                       // or "shell\NNNNN"; empty for the file as a whole
    QString message;   // for the user, in Polish
    int item = -1;     // the entry concerned, -1 when none

    bool operator==(const DiscFinding &o) const
    {
        return code == o.code && severity == o.severity && key == o.key && message == o.message
            && item == o.item;
    }
};

// Checks doc against the files of dataFolder (a native path ending with the separator). The
// entries are keyed as the writer names them, by their position.
QList<DiscFinding> checkDisc(const MenuDocument &doc, const QString &dataFolder);

// The program of a command: its quoted first word, else the longest prefix ending at a blank
// (or the end) that names a file of the disc, else its first word. A name without an extension
// that is not on the disc stands for the name with ".exe" added when that is, as Windows
// starts it.
QString commandProgram(const QString &command, const QString &dataFolder);

// The key of the caption of entry index, as autorun.inf names it.
QString captionKey(int index);
