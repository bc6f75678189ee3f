#pragma once

#include <QString>
#include <QStringList>

// The captions offered for a program in the item panel: each verb prefix followed by the
// program's description (when it has one), then each followed by its display name, with
// trailing spaces removed. Not made unique.
QStringList suggestionList(const QString &description, const QString &displayName);
