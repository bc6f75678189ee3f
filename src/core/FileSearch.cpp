#include "core/FileSearch.h"

#include "os/FolderReader.h"
#include "os/NativePath.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <vector>

namespace {

// One file-name mask with Windows' wildcards, letter case aside. "*.ext" (the masks the
// program asks for) is compared on the name's bytes, so most names are never decoded.
class Mask
{
public:
    explicit Mask(const QString &mask)
    {
        // "*.*" is everything to Windows, dot or no dot.
        const QString m = mask.isEmpty() || mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
        const QString rest = m.mid(1);
        if (m.startsWith(QLatin1Char('*')) && !rest.contains(QLatin1Char('*')) && !rest.contains(QLatin1Char('?'))
            && rest.size() < 64 && QStringView(rest).toLatin1() == rest.toUtf8())
            m_suffix = rest.toLatin1();
        else
            m_pattern = QRegularExpression(QRegularExpression::wildcardToRegularExpression(m),
                                           QRegularExpression::CaseInsensitiveOption);
    }

    bool matches(const char *name, qsizetype length, QString &decoded) const
    {
        if (m_pattern.pattern().isEmpty()) {
            if (length < m_suffix.size())
                return false;
            return qstrnicmp(name + length - m_suffix.size(), m_suffix.constData(), m_suffix.size()) == 0;
        }
        if (decoded.isNull())
            decoded = pathFromNative(QByteArray(name, length));
        return m_pattern.match(decoded).hasMatch();
    }

private:
    QByteArray m_suffix;
    QRegularExpression m_pattern;
};

// Answers, for a file met in folder, whether the search goes on.
using FileFound = std::function<bool(const QString &folder, const char *name, qsizetype length)>;

// The walk: each folder is listed once, its files handed out in the order the file system
// lists them, then its subfolders searched in that order, depth first. Hidden folders are
// not entered; a folder reached twice through links (the same device and inode) is searched
// once, so a link loop cannot make the search endless.
class Walk
{
public:
    explicit Walk(const FileFound &found)
        : m_found(found)
    {
    }

    bool folder(const QByteArray &native, const QString &path)
    {
        FolderReader reader;
        if (reader.open(native, Links::Follow))
            return true;
        const std::optional<FileStatus> self = reader.status();
        if (!self || m_searched.contains({self->id.device, self->id.inode}))
            return true;
        m_searched.insert({self->id.device, self->id.inode});

        std::vector<QByteArray> subfolders;
        bool goOn = true;
        FolderEntry entry;
        while (reader.next(&entry)) {
            FileKind kind = entry.kind;
            if (kind == FileKind::Link || kind == FileKind::Unknown) {
                // A link counts as what it leads to; FIFOs, sockets and devices count as nothing.
                const std::optional<FileStatus> target = reader.statusOf(entry, Links::Follow);
                if (target)
                    kind = target->kind;
            }
            if (kind == FileKind::File && !m_found(path, entry.name.data(), entry.name.size())) {
                goOn = false;
                break;
            }
            if (kind == FileKind::Folder && entry.name[0] != '.')
                subfolders.emplace_back(entry.name.toByteArray());
        }
        for (const QByteArray &name : subfolders) {
            if (!goOn)
                break;
            goOn = folder(native + name + '/', path + pathFromNative(name) + QLatin1Char('/'));
        }
        return goOn;
    }

private:
    const FileFound &m_found;
    QSet<QPair<quint64, quint64>> m_searched;
};

bool walk(const QString &start, const FileFound &found)
{
    return Walk(found).folder(nativePath(start), start);
}

QString startFolder(const QString &start)
{
    QString folder = start.isEmpty() ? QDir::currentPath() : start;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

bool collectFiles(const QString &start, const QString &mask, const FileVisitor &visitor)
{
    const Mask wanted(mask);
    return walk(startFolder(start), [&](const QString &folder, const char *name, qsizetype length) {
        QString decoded;
        if (!wanted.matches(name, length, decoded))
            return true;
        return visitor(folder, decoded.isNull() ? pathFromNative(QByteArray(name, length)) : decoded);
    });
}

void visitFilesByMasks(const QString &start, const QStringList &masks, const MaskedFileFound &found)
{
    std::vector<Mask> wanted;
    for (const QString &mask : masks)
        wanted.emplace_back(mask);
    walk(startFolder(start), [&](const QString &folder, const char *name, qsizetype length) {
        QString decoded;
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i].matches(name, length, decoded))
                found(qsizetype(i), folder, QByteArrayView(name, length));
        }
        return true;
    });
}

QList<QStringList> collectFilesByMasks(const QString &start, const QStringList &masks)
{
    QList<QStringList> found(masks.size());
    visitFilesByMasks(start, masks, [&](qsizetype mask, const QString &folder, QByteArrayView name) {
        found[mask] << folder + pathFromNative(QByteArray::fromRawData(name.data(), name.size()));
    });
    return found;
}
