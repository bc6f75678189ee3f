#pragma once

#include "os/SystemError.h"

#include <QByteArray>

#include <optional>

// Where links lead; paths are native.

// path with every link in it followed and no "." or ".." left: what it names in the end, from
// the top of the file system; empty when that cannot be found.
QByteArray realPath(const QByteArray &path);

// What the link at path holds, as it was written.
std::optional<QByteArray> readLink(const QByteArray &path, SystemError *error = nullptr);
