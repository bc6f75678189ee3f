#include "core/VersionResource.h"

#include "core/CodePage.h"

#include <QByteArrayView>
#include <QSet>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr quint32 fixedSignature = 0xFEEF04BD;
constexpr qint64 fixedSize = 13 * 4;
// Real blocks nest four deep (root, StringFileInfo, table, string); anything much deeper is
// damage, and the cap keeps a crafted block from costing a walk per level.
constexpr int maxDepth = 8;

struct Node
{
    QString key;
    QByteArrayView value; // wValueLength worth of bytes, cut at the node's end
    QByteArrayView text;  // from the value to the node's end; empty when wValueLength is 0
    QList<Node> children;
    bool keyEnded = false;
};

qint64 align4(qint64 at)
{
    return (at + 3) & ~qint64(3);
}

// Every node is wLength, wValueLength, (wide only) wType, the key, padding to four bytes, the
// value, padding, the children. Offsets are aligned from the start of the block, which Windows
// keeps on a four-byte boundary.
class BlockReader
{
public:
    BlockReader(const QByteArray &data, bool wide)
        : m_data(data)
        , m_wide(wide)
    {
    }

    QList<Node> nodes(qint64 begin, qint64 end, int depth) const
    {
        QList<Node> list;
        const qint64 header = m_wide ? 6 : 4;
        qint64 at = begin;
        while (at + header <= end) {
            const qint64 length = u16(at);
            if (length < header)
                break; // would never move on
            // A node longer than its parent is read as far as the parent goes; one whose key
            // runs out before its NUL says nothing that could be trusted.
            Node n = node(at, std::min(at + length, end), depth);
            if (n.keyEnded)
                list.append(n);
            at = align4(at + length);
        }
        return list;
    }

private:
    Node node(qint64 at, qint64 end, int depth) const
    {
        Node n;
        // wType (wide blocks only) would say whether wValueLength counts UTF-16 units or bytes;
        // that matters only for text values, which are read to their NUL anyway, while the
        // values that children follow (the fixed info, the translations) are binary. Writers
        // that mark those as text too are read correctly this way.
        const qint64 valueLength = u16(at + 2);
        qint64 pos = at + (m_wide ? 6 : 4);
        if (m_wide) {
            while (pos + 2 <= end) {
                const quint16 c = u16(pos);
                pos += 2;
                if (c == 0) {
                    n.keyEnded = true;
                    break;
                }
                n.key.append(QChar(c));
            }
        } else {
            const qint64 keyStart = pos;
            while (pos < end && m_data[pos] != '\0')
                ++pos;
            n.key = CodePage::system().decode(view(keyStart, pos));
            n.keyEnded = pos < end;
            if (n.keyEnded)
                ++pos;
        }
        const qint64 valueStart = std::min(align4(pos), end);
        n.value = view(valueStart, std::min(valueStart + valueLength, end));
        if (valueLength > 0)
            n.text = view(valueStart, end);
        if (depth + 1 < maxDepth)
            n.children = nodes(align4(valueStart + valueLength), end, depth + 1);
        return n;
    }

    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(m_data.constData() + at); }

    QByteArrayView view(qint64 begin, qint64 end) const
    {
        return QByteArrayView(m_data).sliced(begin, end - begin);
    }

    const QByteArray &m_data;
    bool m_wide;
};

// A string value runs to its terminating NUL; wValueLength is often miscounted by the tools
// that write it, so it only says whether there is a value at all.
QString textOf(const Node &node, bool wide)
{
    const QByteArrayView bytes = node.text;
    if (!wide) {
        const qsizetype nul = bytes.indexOf('\0');
        return CodePage::system().decode(nul < 0 ? bytes : bytes.first(nul));
    }
    QString text;
    for (qsizetype i = 0; i + 2 <= bytes.size(); i += 2) {
        const quint16 c = qFromLittleEndian<quint16>(bytes.data() + i);
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    return text;
}

bool named(const Node &node, QStringView name)
{
    return node.key.compare(name, Qt::CaseInsensitive) == 0;
}

FixedFileInfo fixedInfo(QByteArrayView value)
{
    quint32 f[13];
    for (int i = 0; i < 13; ++i)
        f[i] = qFromLittleEndian<quint32>(value.data() + 4 * i);
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12]};
}

} // namespace

VersionResource parseVersionResource(const QByteArray &data, bool wide)
{
    VersionResource version;
    const BlockReader reader(data, wide);
    const QList<Node> roots = reader.nodes(0, data.size(), 0);
    if (roots.isEmpty())
        return version;
    const Node &root = roots.first();

    if (root.value.size() >= fixedSize
        && qFromLittleEndian<quint32>(root.value.data()) == fixedSignature)
        version.fixed = fixedInfo(root.value);

    // Lookups search the first block of each name only, so later ones are never seen.
    bool strings = false;
    bool translation = false;
    for (const Node &child : root.children) {
        if (!strings && named(child, u"StringFileInfo")) {
            strings = true;
            QSet<QString> tableNames;
            for (const Node &table : child.children) {
                if (tableNames.contains(table.key.toCaseFolded()))
                    continue;
                tableNames.insert(table.key.toCaseFolded());
                QHash<QString, QString> values;
                QSet<QString> keys;
                for (const Node &entry : table.children) {
                    if (keys.contains(entry.key.toCaseFolded()))
                        continue;
                    keys.insert(entry.key.toCaseFolded());
                    values.insert(entry.key, textOf(entry, wide));
                }
                version.tables.insert(table.key, values);
            }
        } else if (!translation && named(child, u"VarFileInfo")) {
            for (const Node &var : child.children) {
                if (!named(var, u"Translation"))
                    continue;
                translation = true;
                for (qsizetype i = 0; i + 4 <= var.value.size(); i += 4)
                    version.translations.append(
                        {qFromLittleEndian<quint16>(var.value.data() + i),
                         qFromLittleEndian<quint16>(var.value.data() + i + 2)});
                break;
            }
        }
    }
    return version;
}

QString versionString(const VersionResource &version, const QString &key)
{
    if (version.translations.isEmpty())
        return {};
    const auto [language, codePage] = version.translations.first();
    const QString tableName = QString::asprintf("%04x%04x", language, codePage);
    for (auto table = version.tables.cbegin(); table != version.tables.cend(); ++table) {
        if (table.key().compare(tableName, Qt::CaseInsensitive) != 0)
            continue;
        for (auto value = table->cbegin(); value != table->cend(); ++value) {
            if (value.key().compare(key, Qt::CaseInsensitive) == 0)
                return value.value();
        }
        return {};
    }
    return {};
}

int fileTypeValue(quint32 type, quint32 subtype)
{
    enum : quint32 { App = 1, Dll = 2, Driver = 3, Font = 4, VirtualDevice = 5, StaticLib = 7 };
    switch (type) {
    case App:
        return 1;
    case Dll:
        return 2;
    case StaticLib:
        return 3;
    case VirtualDevice:
        return 19;
    case Driver: {
        // VFT2_DRV_* by value: unknown 0, printer 1, keyboard 2, language 3, display 4, mouse 5,
        // network 6, system 7, installable 8, sound 9, comm 10. The column lists communications
        // right after unknown, the others in their own order.
        if (subtype == 0)
            return 4;
        if (subtype == 10)
            return 5;
        if (subtype >= 1 && subtype <= 9)
            return int(subtype) + 5;
        return 0;
    }
    case Font:
        // VFT2_FONT_*: unknown 0, raster 1, vector 2, TrueType 3.
        return subtype <= 3 ? 15 + int(subtype) : 0;
    default:
        return 0;
    }
}

bool fixedFlag(const FixedFileInfo &info, quint32 bit)
{
    return (info.flags & info.flagsMask & bit) != 0;
}
