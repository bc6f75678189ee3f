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

void NameIndex::grow()
{
    std::vector<Slot> old(m_slots.size() * 2, Slot());
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.name == 0)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].name != 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}
