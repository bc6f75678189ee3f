#include "core/DiscImagePrimaryTree.h"

#include "core/DiscImageNames.h"

#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <string_view>
#include <cstring>

namespace {

// One entry of an ISO 9660 folder: one directory record, or one for each piece of a file over
// 4 GiB, which follow each other under one name.
struct Record {
    struct Piece {
        QByteArray fixed;     // the 33 bytes before the name
        QByteArray systemUse; // the Rock Ridge entries, kept as they are
    };
    QList<Piece> pieces;
    QByteArray id;
    QByteArray name;     // the Rock Ridge name, the entry's own
    bool folder = false; // named as a folder: one, or what stands for one moved deeper than 8

    bool isFolder() const { return pieces[0].fixed[25] & 2; }
    quint32 extent() const { return qFromLittleEndian<quint32>(pieces[0].fixed.constData() + 2); }
    int length(const Piece &piece) const
    {
        return 33 + int(id.size()) + (id.size() % 2 == 0 ? 1 : 0) + int(piece.systemUse.size());
    }
    void writeTo(const Piece &piece, char *at) const
    {
        std::memcpy(at, piece.fixed.constData(), 33);
        at[0] = char(length(piece));
        at[32] = char(id.size());
        std::memcpy(at + 33, id.constData(), size_t(id.size()));
        std::memcpy(at + length(piece) - piece.systemUse.size(), piece.systemUse.constData(),
                    size_t(piece.systemUse.size()));
    }
};

// Names that came out alike are numbered as the library numbers its own: each gets a
// number of the fewest digits that leaves every name in the folder unique. records are sorted.
void numberAlike(QList<Record> &records)
{
    QSet<QByteArray> taken;
    for (const Record &record : records)
        taken.insert(record.id);
    for (qsizetype first = 0; first < records.size();) {
        qsizetype end = first + 1;
        while (end < records.size() && records[end].id == records[first].id)
            ++end;
        // Numbered by their own names, the same way whatever the order the library left them in.
        std::sort(records.begin() + first, records.begin() + end,
                  [](const Record &a, const Record &b) { return a.name < b.name; });
        for (int digits = 1, limit = 10; end - first > 1 && digits < 8; ++digits, limit *= 10) {
            QList<QByteArray> ids;
            for (int number = 0; ids.size() < end - first && number < limit; ++number) {
                const QByteArray id = numbered(records[first].id, records[first].folder, digits, number);
                if (!taken.contains(id))
                    ids.append(id);
            }
            if (ids.size() < end - first)
                continue;
            for (qsizetype i = 0; i < ids.size(); ++i) {
                records[first + i].id = ids[i];
                taken.insert(ids[i]);
            }
            break;
        }
        first = end;
    }
}

// Places the records one after another, none across the end of a block; the bytes they take.
template <typename Place>
qint64 pack(const QList<Record> &records, Place place)
{
    qint64 at = 0;
    for (const Record &record : records) {
        for (const Record::Piece &piece : record.pieces) {
            const int length = record.length(piece);
            if (at % blockSize + length > blockSize)
                at += blockSize - at % blockSize;
            place(record, piece, at);
            at += length;
        }
    }
    return at;
}

struct RockRidge {
    QByteArray name;
    bool moved = false;  // a folder moved up from deeper than 8
    quint32 movedTo = 0; // where the folder this entry stands for was moved
};

// The Rock Ridge entries of a record that matter here, continuation areas followed; false
// while head is too short for them, with *need how long it must be.
bool readRockRidge(const QByteArray &head, QByteArray area, RockRidge *entries, qint64 *need)
{
    for (int areas = 0; !area.isEmpty() && areas < 64; ++areas) {
        QByteArray next;
        for (qsizetype at = 0; at + 4 <= area.size();) {
            const char *entry = area.constData() + at;
            const int length = uchar(entry[2]);
            if (length < 4 || at + length > area.size() || QByteArray(entry, 2) == "ST")
                break;
            const QByteArray signature(entry, 2);
            if (signature == "NM" && length > 5)
                entries->name += QByteArray(entry + 5, length - 5);
            else if (signature == "RE")
                entries->moved = true;
            else if (signature == "CL" && length >= 12)
                entries->movedTo = qFromLittleEndian<quint32>(entry + 4);
            else if (signature == "CE" && length >= 28) {
                const qint64 from = qint64(qFromLittleEndian<quint32>(entry + 4)) * blockSize
                    + qFromLittleEndian<quint32>(entry + 12);
                const qint64 size = qFromLittleEndian<quint32>(entry + 20);
                if (from + size > head.size()) {
                    *need = from + size;
                    return false;
                }
                next = head.mid(from, size);
            }
            at += length;
        }
        area = next;
    }
    return true;
}

} // namespace

struct PrimaryTree::Folder {
    quint32 extent = 0;
    quint32 size = 0;
    bool walked = false;
    QList<Record> records; // "." and ".." first
    // What holds it in the library's tree (not where it was moved) and its name there.
    int parent = -1;
    QByteArray name;
};

PrimaryTree::PrimaryTree() = default;

PrimaryTree::~PrimaryTree() = default;

bool PrimaryTree::read(const QByteArray &head, qint64 *need)
{
    m_folders.clear();
    m_at.clear();
    m_broken = false;
    *need = 0;
    if (head.size() < 17 * blockSize) {
        *need = 17 * blockSize;
        return false;
    }
    const char *descriptor = head.constData() + 16 * blockSize;
    m_tableSize = qFromLittleEndian<quint32>(descriptor + 132);
    m_tables = {qFromLittleEndian<quint32>(descriptor + 140), qFromLittleEndian<quint32>(descriptor + 144),
                qFromBigEndian<quint32>(descriptor + 148), qFromBigEndian<quint32>(descriptor + 152)};
    for (const quint32 table : m_tables)
        *need = qMax(*need, qint64(table) * blockSize + tableRoom());
    if (*need > head.size())
        return false;
    m_queue = {folderAt(qFromLittleEndian<quint32>(descriptor + 156 + 2))};
    m_folders[0].size = qFromLittleEndian<quint32>(descriptor + 156 + 10);
    m_folders[0].walked = true;
    for (qsizetype i = 0; i < m_queue.size() && !m_broken; ++i) {
        if (!readFolder(head, m_queue[i], need))
            return false;
    }
    return true;
}

PrimaryTree::Fit PrimaryTree::rename(IsoWriteOpts *opts, const QByteArray &roomPrefix,
                                     QList<std::pair<QByteArray, qint64>> *crowded)
{
    if (m_broken)
        return Fit::Never;
    for (int i = 0; i < m_folders.size(); ++i) {
        Folder &folder = m_folders[i];
        QList<Record> entries = folder.records.mid(2);
        entries.removeIf([&](const Record &record) { return record.name.startsWith(roomPrefix); });
        for (Record &record : entries) {
            const QByteArray id = record.name.isEmpty() ? QByteArray() : isoName(opts, record.name, record.folder);
            if (!id.isEmpty())
                record.id = id;
        }
        // By sortKey(), compared where the ids lie.
        const auto keyOf = [](const QByteArray &id) {
            const qsizetype version = id.indexOf(';');
            return std::string_view(id.constData(), size_t(version < 0 ? id.size() : version));
        };
        const auto byId = [&](const Record &a, const Record &b) { return keyOf(a.id) < keyOf(b.id); };
        std::sort(entries.begin(), entries.end(), byId);
        numberAlike(entries);
        std::sort(entries.begin(), entries.end(), byId);
        folder.records = folder.records.mid(0, 2) + entries;
        bool tooLong = false;
        const qint64 used = pack(folder.records, [&](const Record &record, const Record::Piece &piece, qint64) {
            tooLong = tooLong || record.length(piece) > 255;
        });
        if (tooLong)
            return Fit::Never;
        if (used > folder.size)
            crowded->append({realPath(i), used - folder.size});
    }
    if (!crowded->isEmpty())
        return Fit::Crowded;
    return makeTables() ? Fit::Fits : Fit::Never;
}

void PrimaryTree::write(QByteArray &head) const
{
    for (const Folder &folder : m_folders) {
        if (!folder.walked)
            continue;
        char *start = head.data() + qint64(folder.extent) * blockSize;
        std::memset(start, 0, folder.size);
        pack(folder.records, [&](const Record &record, const Record::Piece &piece, qint64 at) {
            record.writeTo(piece, start + at);
        });
    }
    for (int i = 0; i < 4; ++i) {
        if (m_tables[i] == 0)
            continue;
        char *table = head.data() + qint64(m_tables[i]) * blockSize;
        const QByteArray &bytes = i < 2 ? m_littleTable : m_bigTable;
        std::memset(table, 0, size_t(tableRoom()));
        std::memcpy(table, bytes.constData(), size_t(bytes.size()));
    }
    char *descriptor = head.data() + 16 * blockSize;
    qToLittleEndian<quint32>(quint32(m_littleTable.size()), descriptor + 132);
    qToBigEndian<quint32>(quint32(m_littleTable.size()), descriptor + 136);
}

qint64 PrimaryTree::tableRoom() const
{
    return (qint64(m_tableSize) + blockSize - 1) / blockSize * blockSize;
}

int PrimaryTree::folderAt(quint32 extent)
{
    const auto found = m_at.constFind(extent);
    if (found != m_at.cend())
        return *found;
    Folder folder;
    folder.extent = extent;
    m_folders.append(folder);
    m_at.insert(extent, int(m_folders.size() - 1));
    return int(m_folders.size() - 1);
}

bool PrimaryTree::readFolder(const QByteArray &head, int index, qint64 *need)
{
    const qint64 start = qint64(m_folders[index].extent) * blockSize;
    const qint64 end = start + m_folders[index].size;
    if (end > head.size()) {
        *need = end;
        return false;
    }
    QList<Record> records;
    for (qint64 at = start; at < end;) {
        const int length = uchar(head[at]);
        if (length == 0) {
            at += blockSize - at % blockSize;
            continue;
        }
        const int idLength = length >= 34 && at + length <= end ? uchar(head[at + 32]) : 0;
        const int systemUse = 33 + idLength + (idLength % 2 == 0 ? 1 : 0);
        if (idLength == 0 || systemUse > length) {
            m_broken = true;
            return true;
        }
        const Record::Piece piece{head.mid(at, 33), head.mid(at + systemUse, length - systemUse)};
        at += length;
        if (!records.isEmpty() && records.last().pieces.last().fixed[25] & 0x80) {
            records.last().pieces.append(piece);
            continue;
        }
        Record record;
        record.pieces = {piece};
        record.id = head.mid(at - length + 33, idLength);
        record.folder = !record.id.contains(';');
        if (records.size() >= 2) {
            RockRidge entries;
            if (!readRockRidge(head, piece.systemUse, &entries, need))
                return false;
            record.name = entries.name;
            const quint32 holds = record.isFolder() ? record.extent() : entries.movedTo;
            if (holds != 0) {
                const int sub = folderAt(holds);
                if (record.isFolder() && !m_folders[sub].walked) {
                    m_folders[sub].size = qFromLittleEndian<quint32>(piece.fixed.constData() + 10);
                    m_folders[sub].walked = true;
                    m_queue.append(sub);
                }
                if (!entries.moved) {
                    m_folders[sub].parent = index;
                    m_folders[sub].name = entries.name;
                }
            }
        }
        records.append(record);
    }
    m_folders[index].records = records;
    return true;
}

QByteArray PrimaryTree::realPath(int index) const
{
    QByteArray path;
    for (int hops = 0; index >= 0 && m_folders[index].parent >= 0 && hops < 4096; ++hops) {
        path = '/' + m_folders[index].name + path;
        index = m_folders[index].parent;
    }
    return path.isEmpty() ? QByteArray("/") : path;
}

// The path tables of the folders in their new names: by depth, then by the number of the
// folder holding them, then by name; false when they outgrow the library's blocks.
bool PrimaryTree::makeTables()
{
    m_littleTable.clear();
    m_bigTable.clear();
    const auto add = [&](const QByteArray &id, quint32 extent, quint16 parent) {
        char little[8] = {char(id.size()), 0};
        char big[8] = {char(id.size()), 0};
        qToLittleEndian(extent, little + 2);
        qToLittleEndian(parent, little + 6);
        qToBigEndian(extent, big + 2);
        qToBigEndian(parent, big + 6);
        const QByteArray pad(id.size() % 2, '\0');
        m_littleTable += QByteArray(little, 8) + id + pad;
        m_bigTable += QByteArray(big, 8) + id + pad;
    };
    QList<int> order{0};
    add(QByteArray(1, '\0'), m_folders[0].extent, 1);
    for (qsizetype number = 0; number < order.size(); ++number) {
        for (const Record &record : m_folders[order[number]].records.mid(2)) {
            if (!record.isFolder())
                continue;
            order.append(m_at.value(record.extent()));
            add(record.id, record.extent(), quint16(number + 1));
        }
        if (order.size() > qMin<qsizetype>(m_folders.size(), 65535))
            return false;
    }
    return m_littleTable.size() <= tableRoom();
}
