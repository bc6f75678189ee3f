#include "platform/FileInfo.h"

#include "core/ExecutableImage.h"
#include "core/VersionResource.h"

#include "Version.h"

#include <QFileInfo>
#include <QMimeDatabase>

FileInfo::FileInfo(const QString &fileName)
    : m_fileName(fileName)
{
}

void FileInfo::readVersionInfo(FileVersionInfo &info) const
{
    info = FileVersionInfo();
    const QFileInfo file(m_fileName);
    if (!file.exists())
        return;
    static const QMimeDatabase mimes;
    // Matching by content opens the file, and opening a FIFO waits for a writer: only a
    // regular file is ever opened.
    const bool regular = file.isFile();
    info.typeName =
        mimes.mimeTypeForFile(file, regular ? QMimeDatabase::MatchDefault : QMimeDatabase::MatchExtension)
            .comment()
            .left(80);
    if (!regular)
        return;

    const ExecutableImage image = ExecutableImage::fromFile(m_fileName);
    info.isExecutable = image.isShellExecutable();
    if (!info.isExecutable)
        return;
    const QByteArray block = image.versionResource();
    if (block.isEmpty())
        return;
    const VersionResource version = parseVersionResource(block, image.versionIsWide());
    const auto string = [&](const char *key) { return versionString(version, QLatin1String(key)); };
    info.companyName = string("CompanyName");
    info.fileDescription = string("FileDescription");
    info.fileVersion = string("FileVersion");
    info.internalName = string("InternalName");
    info.legalCopyright = string("LegalCopyRight");
    info.legalTrademarks = string("LegalTradeMarks");
    info.originalFileName = string("OriginalFileName");
    info.productName = string("ProductName");
    info.productVersion = string("ProductVersion");
    info.comments = string("Comments");
    info.specialBuild = string("SpecialBuild");
    info.privateBuild = string("PrivateBuild");
    if (const std::optional<FixedFileInfo> fixed = version.fixed) {
        info.debug = fixedFlag(*fixed, 0x01);
        info.preRelease = fixedFlag(*fixed, 0x02);
        info.patched = fixedFlag(*fixed, 0x04);
        info.privateBuildFlag = fixedFlag(*fixed, 0x08);
        info.infoInferred = fixedFlag(*fixed, 0x10);
        info.specialBuildFlag = fixedFlag(*fixed, 0x20);
        info.fileType = fileTypeValue(fixed->type, fixed->subtype);
    }
}

QString FileInfo::displayName() const
{
    const QString name = QFileInfo(m_fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name;
    // Known: the file's last extension alone names a type in the MIME database.
    static const QMimeDatabase mimes;
    const bool known = !mimes.mimeTypesForFileName(QStringLiteral("x") + name.mid(dot)).isEmpty();
    return known ? name.left(dot) : name;
}

QString ownVersionText()
{
    return QStringLiteral(PELMORA_VERSION);
}
