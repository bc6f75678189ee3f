#include "core/FileSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

bool searchFolder(const QString &folder, const QStringList &mask, const FileVisitor &visitor,
                  QSet<QString> &searched)
{
    // A link back to a folder above would otherwise make the search endless.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || searched.contains(canonical))
        return true;
    searched.insert(canonical);

    const QDir dir(folder);
    for (const QFileInfo &file :
         dir.entryInfoList(mask, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        // System lists FIFOs, sockets and devices too: nothing that could start a disc.
        if (!file.isFile())
            continue;
        if (!visitor(folder, file.fileName()))
            return false;
    }
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        if (!searchFolder(folder + name + QLatin1Char('/'), mask, visitor, searched))
            return false;
    }
    return true;
}

} // namespace

bool collectFiles(const QString &start, const QString &mask, const FileVisitor &visitor)
{
    QString folder = start.isEmpty() ? QDir::currentPath() : start;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QSet<QString> searched;
    // "*.*" is everything to Windows, dot or no dot.
    const QString pattern = mask.isEmpty() || mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    return searchFolder(folder, {pattern}, visitor, searched);
}
