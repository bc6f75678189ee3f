#pragma once

#include <QString>

// The form of a Polish noun that follows count: one for 1 ("1 znak"), few when the last digit
// is 2 to 4 and the last two are not 12 to 14 ("22 znaki"), many otherwise ("5 znaków",
// "12 znaków", "0 znaków"). The sign does not count.
QString polishPlural(qint64 count, const QString &one, const QString &few, const QString &many);

// count with its digits in groups of three, as Polish writes them: "4 689 920" (the groups
// kept together by no-break spaces). Qt's own Polish form leaves a four-digit top group.
QString polishNumber(qint64 count);
