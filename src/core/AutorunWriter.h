#pragma once

#include "core/AutorunLines.h"
#include "core/MenuDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The native path of the menu file in dataFolder. An existing file whose name differs only
// in letter case (AUTORUN.INF) is the one meant, as on a Windows disc.
QString autorunPath(const QString &dataFolder);

// Replaces the file at path with lines, atomically: on failure the old file is left exactly
// as it was and error (when given) says why.
bool writeAutorunLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// The characters of what doc writes (label, program, icon file, entries) that the code page
// cannot hold and that would be written as "?", each once, in order.
QString unwritableCharacters(const MenuDocument &doc);

// Writes doc as autorunPath(doc.dataFolder), keeping what Pelmora does not edit of the file
// there (see autorunBytesKeeping). A file there that cannot be read is left alone: false.
// verbs (when given) receives the verb each item was written under, which the items read
// back from the file carry.
bool writeAutorunFile(const MenuDocument &doc, QString *error = nullptr, QStringList *verbs = nullptr);
