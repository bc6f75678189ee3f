#include "core/AtomicFile.h"

#include "os/FileStatus.h"
#include "os/NativePath.h"
#include "os/ReplacementFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

const QString marker = QStringLiteral(".pelmora-");

// A name for the temporary file beside the file named name: ".NAME.pelmora-XXXXXX".
QByteArray temporaryName(const QString &name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return nativePath(QLatin1Char('.') + name + marker + suffix);
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error, FileAccess access,
                         quint32 permissions)
{
    const auto fail = [&](const SystemError &why) {
        if (error)
            *error = why.text;
        return false;
    };
    QString target = path;
    if (access == FileAccess::AsBefore && QFileInfo(path).isSymLink())
        target = QFileInfo(path).symLinkTarget();
    const QFileInfo info(target);
    ReplacementFile file;
    if (const SystemError why = file.openFolder(nativePath(info.absolutePath())))
        return fail(why);
    const SystemError created =
        file.create(access == FileAccess::OwnerOnly ? permissions : 0666, ReplacementFile::Naming::Named,
                    [&] { return temporaryName(info.fileName()); });
    if (created)
        return fail(created);
    if (access == FileAccess::AsBefore) {
        const std::optional<FileStatus> before = fileStatus(nativePath(target), Links::Follow);
        if (before && before->kind == FileKind::File)
            file.setPermissions(before->permissions);
    }
    if (const SystemError why = file.write(bytes.constData(), bytes.size()))
        return fail(why);
    if (const SystemError why = file.commit(nativePath(info.fileName())))
        return fail(why);
    return true;
}

QString linkLeavingFolder(const QString &path, const QString &folder)
{
    QString target = path;
    for (int depth = 0; QFileInfo(target).isSymLink(); ++depth) {
        if (depth == 40) // a loop: it leads nowhere one could write
            return target;
        target = QFileInfo(target).symLinkTarget();
    }
    if (target == path)
        return QString();
    const std::optional<FileStatus> top = fileStatus(nativePath(folder), Links::Follow);
    ReplacementFile at;
    if (!top || at.openFolder(nativePath(QFileInfo(target).absolutePath())) || !at.folderWithin(top->id))
        return target;
    return QString();
}

bool isTemporaryFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.pelmora-[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

void removeStaleTemporaryFiles(const QString &folder)
{
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral(".*") + marker + QStringLiteral("*")},
                                                   QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryFileName(file.fileName()) && !file.isSymLink() && file.lastModified().toUTC() < stale)
            QFile::remove(file.absoluteFilePath());
    }
}
