#pragma once

#include "core/AutorunLines.h"
#include "core/MenuDocument.h"

#include <QString>
#include <QStringList>

// The native path of the menu file in dataFolder. An existing file whose name differs only
// in letter case (AUTORUN.INF) is the one meant, as on a Windows disc.
QString autorunPath(const QString &dataFolder);

// The characters of what doc writes (label, program, icon file, entries) that the code page
// cannot hold and that would be written as "?", each once, in order.
QString unwritableCharacters(const MenuDocument &doc);

// Whether value holds a CR, an LF or a NUL, which no line of the profile format can hold.
bool breaksLines(QStringView value);

// The first field of doc whose value holds a CR, an LF or a NUL ("label", "open", "iconFile",
// "items[N].label", "items[N].file", "items[N].verb"); empty when none does. The profile
// format has no escape for them: written, such a value would make lines of its own.
QString fieldBreakingLines(const MenuDocument &doc);

// Writes doc as autorunPath(doc.dataFolder), keeping what Pelmora does not edit of the file
// there (see autorunBytesKeeping). A file there that cannot be read is left alone: false.
// verbs (when given) receives the verb each item was written under, which the items read
// back from the file carry. A value that would write lines of its own is refused, and so is a
// menu file that is a link leading out of the data folder, unless replaceOutsideLink lets the
// link be replaced by the file (what it leads to is then neither read nor written).
bool writeAutorunFile(const MenuDocument &doc, QString *error = nullptr, QStringList *verbs = nullptr,
                      bool replaceOutsideLink = false);
