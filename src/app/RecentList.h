#pragma once

#include <QString>
#include <QStringList>

// A list of recently used paths kept in the settings store: each path is the name of a value
// with empty data, present at most once without regard to letter case, listed in the order of
// first recording, never removed.
class RecentList
{
public:
    static const QString filesKey;
    static const QString foldersKey;

    explicit RecentList(const QString &keyPath);

    // False when the store refused the value.
    bool record(const QString &path) const;
    QStringList entries() const;

private:
    QString m_keyPath;
};
