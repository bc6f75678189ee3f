#include "core/PolishPlural.h"

QString polishPlural(qint64 count, const QString &one, const QString &few, const QString &many)
{
    const qint64 n = count < 0 ? -(count % 100) : count % 100;
    if (count == 1 || count == -1)
        return one;
    if (n % 10 >= 2 && n % 10 <= 4 && (n < 12 || n > 14))
        return few;
    return many;
}
