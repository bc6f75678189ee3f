#include "core/FileMask.h"

FileMask::FileMask(const QString &mask)
{
    for (const QString &piece : mask.split(QLatin1Char(';'))) {
        if (!piece.isEmpty())
            m_patterns << piece.toLower();
    }
    if (mask.isEmpty())
        m_patterns << QStringLiteral("*");
    m_patterns.sort();
    m_patterns.removeDuplicates();
}

bool FileMask::showsEverything() const
{
    return m_patterns.contains(QStringLiteral("*"));
}

bool FileMask::matches(const QString &path) const
{
    QString lower = path.toLower();
    if (!lower.contains(QLatin1Char('.')))
        lower += QLatin1Char('.');
    for (const QString &pattern : m_patterns) {
        if (matchesPattern(pattern, lower))
            return true;
    }
    return false;
}

bool matchesPattern(QStringView pattern, QStringView path)
{
    if (pattern == u"*")
        return true;
    if (pattern == u"*.*")
        return path.contains(u'.');
    // Greedy matching with one point of return: the last "*" seen and where it started to
    // match. Linear in practice, never recursive.
    qsizetype p = 0, s = 0;
    qsizetype star = -1, starFrom = 0;
    while (s < path.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == path[s])) {
            ++p;
            ++s;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            starFrom = s;
        } else if (star >= 0) {
            p = star + 1;
            s = ++starFrom;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
