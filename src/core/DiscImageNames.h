#pragma once

#include "core/DiscImageLibrary.h"

#include <QByteArray>
#include <QString>

// The ISO 9660 names of the image, in plain Latin letters where the library would put "_".

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
