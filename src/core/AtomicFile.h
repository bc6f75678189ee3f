#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, all or nothing: on failure the old file is left
// exactly as it was, no temporary file stays behind, and error (when given) says why.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);
