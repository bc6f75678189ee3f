#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <vector>

// The first of each name among many, found by the hash of the name: open addressing over a
// table at most half full of the names that differ, so that placing or finding a name touches
// one slot, and the text of a name only when two hashes agree. The hash is a quick one; names
// that pile up under it, as only names made to collide do, are placed again under Qt's, seeded
// afresh in each run.
// Names are given by number: key(i, spare) gives the text name i is known by (its folded
// form, say), made in spare when it has to be made.
class NameIndex
{
public:
    // Places names 0 .. count - 1 in turn; tells for each whether it is the first of its key.
    template <typename Key>
    QList<bool> build(qsizetype count, const Key &key);
    // The first name whose key is text; -1 when there is none.
    template <typename Key>
    qsizetype find(QStringView text, const Key &key) const;

private:
    struct Slot
    {
        quint32 hash = 0; // the low bits of the key's hash
        quint32 name = 0; // the name's number + 1; 0 for a free slot
    };

    size_t hashOf(QStringView key) const;
    // Twice the slots, each name placed again by the hash it keeps.
    void grow();
    // The slot of the name that hash and isName (which tells whether name i is it) find, or
    // the free slot where it goes.
    template <typename IsName>
    size_t slotOf(size_t hash, const IsName &isName) const;
    // Makes the table for count names and says which come first; false when a name took too
    // many steps to its slot under the quick hash.
    template <typename Key>
    bool place(qsizetype count, const Key &key, QList<bool> *first);

    std::vector<Slot> m_slots; // a power of two of them
    bool m_seeded = false;     // the seeded hash, the names having piled up under the quick one
};

template <typename IsName>
size_t NameIndex::slotOf(size_t hash, const IsName &isName) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.name == 0 || (slot.hash == quint32(hash) && isName(qsizetype(slot.name) - 1)))
            return i;
    }
}

template <typename Key>
bool NameIndex::place(qsizetype count, const Key &key, QList<bool> *first)
{
    // The table grows with the names that differ, not with all of them: a million lines of
    // one name take a table of a few slots.
    m_slots.assign(16, Slot());
    size_t placed = 0;
    first->clear();
    first->reserve(count);
    QString spare;
    QString otherSpare;
    // The hashes of a block of names are made first, so that the slots of the names a little
    // ahead are fetched while one is placed: a large table is far larger than the caches, and
    // its memory is then waited for once for many names.
    constexpr qsizetype block = 4096;
    constexpr qsizetype ahead = 16;
    // Names that pile up take far more steps than this.
    constexpr size_t mostSteps = 100;
    std::vector<size_t> hashes;
    for (qsizetype from = 0; from < count; from += block) {
        const qsizetype to = std::min(count, from + block);
        hashes.resize(size_t(to - from));
        for (qsizetype i = from; i < to; ++i)
            hashes[size_t(i - from)] = hashOf(key(i, spare));
        for (qsizetype i = from; i < to; ++i) {
            const size_t mask = m_slots.size() - 1;
            const size_t hash = hashes[size_t(i - from)];
            if (i + ahead < to)
                __builtin_prefetch(&m_slots[hashes[size_t(i + ahead - from)] & mask]);
            const size_t at =
                slotOf(hash, [&](qsizetype other) { return key(other, otherSpare) == key(i, spare); });
            if (!m_seeded && ((at - hash) & mask) > mostSteps)
                return false;
            Slot &slot = m_slots[at];
            first->append(slot.name == 0);
            if (slot.name == 0) {
                slot = {quint32(hash), quint32(i + 1)};
                if (++placed * 2 > m_slots.size())
                    grow();
            }
        }
    }
    return true;
}

template <typename Key>
QList<bool> NameIndex::build(qsizetype count, const Key &key)
{
    QList<bool> first;
    m_seeded = false;
    if (!place(count, key, &first)) {
        m_seeded = true;
        place(count, key, &first);
    }
    return first;
}

template <typename Key>
qsizetype NameIndex::find(QStringView text, const Key &key) const
{
    if (m_slots.empty())
        return -1;
    QString spare;
    const size_t slot = slotOf(hashOf(text), [&](qsizetype name) { return key(name, spare) == text; });
    return qsizetype(m_slots[slot].name) - 1;
}
