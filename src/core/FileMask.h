#pragma once

#include <QString>
#include <QStringList>

// Which files a folder listing shows: patterns separated by ";" ("*.exe", "*.ico;*.icl").
// Patterns and paths compare lower-cased; "*" is any run of characters, "?" exactly one
// character, and a pattern must match the whole path. The pattern "*.*" means any path
// with a dot. An empty mask shows everything.
class FileMask
{
public:
    explicit FileMask(const QString &mask = QString());

    // The patterns: lower-cased, sorted, each once.
    QStringList patterns() const { return m_patterns; }
    bool showsEverything() const;
    // path: the file's full path. A path without any dot is matched as if it ended with ".".
    bool matches(const QString &path) const;

private:
    QStringList m_patterns;
};

// One lower-cased pattern against one lower-cased path.
bool matchesPattern(QStringView pattern, QStringView path);
