#include "core/NameIndex.h"

#include <QHash>

#include <functional>
#include <string_view>

size_t NameIndex::hashOf(QStringView key) const
{
    if (m_seeded)
        return qHash(key, QHashSeed::globalSeed());
    return std::hash<std::u16string_view>()(std::u16string_view(key.utf16(), size_t(key.size())));
}
