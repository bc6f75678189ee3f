#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures (from its resources). The main window's are kept as their pixels,
// in Netpbm's PAM form (8-bit RGB or RGBA, written by assets/make-pictures.sh from the PNG
// drawings), and taken as they stand: decoding PNGs through Qt's image readers took longer than
// making all the window's controls. Any other picture is read in the format its name gives (Qt
// would otherwise load every image plug-in of the system to ask each whether it reads it). A
// file that cannot be read gives a null picture.
QPixmap ownPicture(const QString &path);
QIcon ownIcon(const QString &path);
