#pragma once

#include "core/DiscImageLibrary.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The names of the image: the ISO 9660 names in plain Latin letters where the library would
// put "_", and the Joliet names Windows reads, as the library makes them.

// Starts the library, once per process.
void initImageLibrary();

// The naming rules of the image: ISO 9660 level 3, Rock Ridge, Joliet with names of up to 103
// characters and deeper paths.
void setNaming(IsoWriteOpts *opts);

// The Joliet name of a file or folder named name on the data folder, as the image will hold it
// and Windows show it (apart from names made unique within a folder; a file name without an
// extension is given without the dot the library ends it with, which readers drop).
QString jolietName(const QString &name, bool folder);

// Letters with marks (the Polish ones among them) as their plain Latin letters, marks standing
// alone left out, any other character kept: never more characters than text has, so that a
// name made of it is no longer than the one the library made.
QString plainLatin(const QString &text);

// The ISO 9660 name of the entry named name (UTF-8), as the library would make it of the name
// in plain Latin letters (files with ";1"); empty when it makes none.
QByteArray isoName(IsoWriteOpts *opts, const QByteArray &name, bool folder);

// What decides the order of the records: the name without its version.
QByteArray sortKey(const QByteArray &id);

// id with number in digits added to its name, cut as the library cuts its own: the name, then
// an extension too long to leave it a character.
QByteArray numbered(const QByteArray &id, bool folder, int digits, int number);

// Of the entries of one folder (name, whether a folder), the names Windows will not open once
// on the disc (with "<", ">", "\"", "|", or a trailing dot or blank) and those it cannot tell
// apart: whose Joliet names differ in letter case at most, every one of them. In the order given.
QStringList namesNotOnWindows(const QList<std::pair<QString, bool>> &entries);
