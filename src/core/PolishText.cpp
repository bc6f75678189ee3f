#include "core/PolishText.h"

QString polishPlural(qint64 count, const QString &one, const QString &few, const QString &many)
{
    const qint64 n = count < 0 ? -(count % 100) : count % 100;
    if (count == 1 || count == -1)
        return one;
    if (n % 10 >= 2 && n % 10 <= 4 && (n < 12 || n > 14))
        return few;
    return many;
}

QString polishNumber(qint64 count)
{
    const QString digits = QString::number(count < 0 ? -count : count);
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += QChar(0x00A0);
        text += digits[i];
    }
    return count < 0 ? QLatin1Char('-') + text : text;
}
