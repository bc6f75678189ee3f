#include "widgets/TextWidth.h"

#include <QFontMetrics>

#include <algorithm>
#include <vector>

int widestTextWidth(const QFontMetrics &metrics, int count, const std::function<QString(int)> &textAt)
{
    constexpr int measured = 256;
    std::vector<std::pair<qsizetype, int>> byLength(static_cast<size_t>(qMax(0, count)));
    for (int i = 0; i < count; ++i)
        byLength[size_t(i)] = {textAt(i).size(), i};
    const auto longest = byLength.begin() + std::min(measured, qMax(0, count));
    std::partial_sort(byLength.begin(), longest, byLength.end(), std::greater<>());
    int width = 0;
    for (auto it = byLength.begin(); it != longest; ++it)
        width = qMax(width, metrics.horizontalAdvance(textAt(it->second)));
    return width;
}
