#pragma once

#include <QByteArray>
#include <QString>

// Paths and names between the program's text and the file system's own form: the bytes it
// keeps, not necessarily text. The one place that knows how the system spells its names, so
// that the core joins, compares and shows paths as QStrings and hands this folder native ones.

// path as the file system takes it.
QByteArray nativePath(const QString &path);

// A native path or name as text. A name whose bytes are not text in the system's encoding comes
// out with stand-ins for them, and nativePath of it may then name another file or none.
QString pathFromNative(const QByteArray &native);
