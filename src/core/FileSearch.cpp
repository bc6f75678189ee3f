#include "core/FileSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <cstring>
#include <functional>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

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
            decoded = QFile::decodeName(QByteArray(name, length));
        return m_pattern.match(decoded).hasMatch();
    }

private:
    QByteArray m_suffix;
    QRegularExpression m_pattern;
};

// Answers, for a file met in folder, whether the search goes on.
using FileFound = std::function<bool(const QString &folder, const char *name, qsizetype length)>;

#ifdef Q_OS_UNIX

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
        struct stat self;
        if (::stat(native.constData(), &self) != 0 || !S_ISDIR(self.st_mode))
            return true;
        if (m_searched.contains({quint64(self.st_dev), quint64(self.st_ino)}))
            return true;
        m_searched.insert({quint64(self.st_dev), quint64(self.st_ino)});

        DIR *dir = ::opendir(native.constData());
        if (!dir)
            return true;
        std::vector<QByteArray> subfolders;
        bool goOn = true;
        while (const dirent *entry = ::readdir(dir)) {
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            bool isFile = entry->d_type == DT_REG;
            bool isFolder = entry->d_type == DT_DIR;
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                // A link counts as what it leads to; FIFOs, sockets and devices count as nothing.
                struct stat target;
                if (::fstatat(::dirfd(dir), name, &target, 0) == 0) {
                    isFile = S_ISREG(target.st_mode);
                    isFolder = S_ISDIR(target.st_mode);
                }
            }
            if (isFile && !m_found(path, name, qsizetype(std::strlen(name)))) {
                goOn = false;
                break;
            }
            if (isFolder && name[0] != '.')
                subfolders.emplace_back(name);
        }
        ::closedir(dir);
        for (const QByteArray &name : subfolders) {
            if (!goOn)
                break;
            goOn = folder(native + name + '/', path + QFile::decodeName(name) + QLatin1Char('/'));
        }
        return goOn;
    }

private:
    const FileFound &m_found;
    QSet<QPair<quint64, quint64>> m_searched;
};

bool walk(const QString &start, const FileFound &found)
{
    return Walk(found).folder(QFile::encodeName(start), start);
}

#else

bool walkFolder(const QString &folder, const FileFound &found, QSet<QString> &searched)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || searched.contains(canonical))
        return true;
    searched.insert(canonical);
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (!file.isFile())
            continue;
        const QByteArray name = QFile::encodeName(file.fileName());
        if (!found(folder, name.constData(), name.size()))
            return false;
    }
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        if (!walkFolder(folder + name + QLatin1Char('/'), found, searched))
            return false;
    }
    return true;
}

bool walk(const QString &start, const FileFound &found)
{
    QSet<QString> searched;
    return walkFolder(start, found, searched);
}

#endif

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
        return visitor(folder, decoded.isNull() ? QFile::decodeName(QByteArray(name, length)) : decoded);
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
        found[mask] << folder + QFile::decodeName(QByteArray::fromRawData(name.data(), name.size()));
    });
    return found;
}
