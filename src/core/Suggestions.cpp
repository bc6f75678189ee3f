#include "core/Suggestions.h"

namespace {

QString withoutTrailingSpaces(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

QStringList suggestionList(const QString &description, const QString &displayName)
{
    static const QStringList prefixes = {
        QString(),
        QStringLiteral("Uruchom "),
        QStringLiteral("Zainstaluj "),
        QStringLiteral("Podglądnij "),
        QStringLiteral("Przejrzyj "),
        QStringLiteral("Zobacz "),
        QStringLiteral("Odpal "),
        QStringLiteral("Run "),
        QStringLiteral("Install "),
        QStringLiteral("View "),
    };
    QStringList list;
    for (const QString &name : description.isEmpty() ? QStringList{displayName}
                                                      : QStringList{description, displayName}) {
        for (const QString &prefix : prefixes)
            list << withoutTrailingSpaces(prefix + name);
    }
    return list;
}
