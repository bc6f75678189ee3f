#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures (from its resources), read in the format their name gives. Qt would
// otherwise load every image plug-in of the system to ask each whether it reads that format,
// which at start-up costs more than reading all the window's pictures.
QPixmap ownPicture(const QString &path);
QIcon ownIcon(const QString &path);
