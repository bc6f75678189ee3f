#pragma once

#include <QByteArray>

// Whether the file at path lies on a removable drive: a USB stick, a memory card. Windows
// treats such a drive unlike a disc (it honours less of autorun.inf there).
// systemRoot is where the system describes its devices ("/sys" on Linux); tests give another.
bool onRemovableDrive(const QByteArray &path, const QByteArray &systemRoot = "/sys");
