#include "CliOutput.h"

#include "core/ProfileFile.h"

#include "JsonText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return Failure;
}

int refuse(const QString &message)
{
    fail(message);
    return Usage;
}

QString whyNoFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return QString();
    return info.exists() ? QStringLiteral("%1 is not a folder").arg(folder) : QStringLiteral("no folder %1").arg(folder);
}

int print(const QJsonObject &object)
{
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return Ok;
}

void print(const JsonText &json)
{
    std::fwrite(json.bytes().constData(), 1, size_t(json.bytes().size()), stdout);
    std::fputc('\n', stdout);
}

QString dataFolderOf(const QString &folder)
{
    QString path = QDir(folder).absolutePath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString readErrorText(FileReadError error, const QString &file)
{
    if (error == FileReadError::NotRegularFile)
        return QStringLiteral("%1 is not a regular file").arg(file);
    if (error == FileReadError::TooLarge)
        return QStringLiteral("%1 is larger than %2 MiB").arg(file).arg(ProfileFile::maxFileSize / (1024 * 1024));
    return QStringLiteral("cannot read %1").arg(file);
}

QString whyUnreadable(const QString &file)
{
    QFile opened;
    const FileReadError error = openRegularFile(file, opened);
    if (error == FileReadError::None)
        return QString();
    return error == FileReadError::Missing ? QStringLiteral("no file %1").arg(file) : readErrorText(error, file);
}
