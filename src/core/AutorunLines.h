#pragma once

// What autorun.inf holds for a document, line by line, and its bytes.

#include "core/MenuDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The verb Pelmora gives the entry at index: its number in five digits at least ("00000").
QString menuVerbName(qsizetype index);

// The lines of autorun.inf for doc, in order, without line ends. Entry i is written under
// verbs[i] (one for each item), by default under menuVerbName(i).
QStringList autorunLines(const MenuDocument &doc);
QStringList autorunLines(const MenuDocument &doc, const QStringList &verbs);

// The exact bytes of the file: every line ended by CR LF, text in the ANSI code page.
QByteArray autorunBytes(const QStringList &lines);
QByteArray autorunBytes(const MenuDocument &doc);
