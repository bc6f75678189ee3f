// The commands on other files of the folder: an INI section, version data, the files the
// auto-start panel lists, a file's icons, and the disc image.

#include "CliCommands.h"
#include "CliOutput.h"

#include "core/DiscImage.h"
#include "core/DiscPath.h"
#include "core/FileSearch.h"
#include "core/IconDirectory.h"
#include "core/IconSource.h"
#include "core/ProfileFile.h"
#include "platform/FileInfo.h"

#include "JsonText.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>

#include <unistd.h>
#include <vector>

namespace {
std::atomic_bool interrupted{false};
} // namespace

int iniCommand(const QString &file, const QString &section, const QStringList &wanted)
{
    const ProfileFile profile = ProfileFile::fromFile(file);
    // A missing or unreadable file reads as an empty one, as Windows reads it; a FIFO, a
    // device or a file too large for an INI file is an error.
    const FileReadError error = profile.error();
    if (error == FileReadError::NotRegularFile || error == FileReadError::TooLarge)
        return fail(readErrorText(error, file));
    const ProfileFile::Section *lines = profile.section(section);
    const qsizetype count = lines ? lines->size() : 0;
    // The object's keys as QJsonDocument orders them, sorted once (a QJsonObject filled key by
    // key moves its keys for each one that comes out of order, which is quadratic), each with
    // its line; -1 for a name asked for. The first line of a name holds the name's value.
    std::vector<std::pair<QStringView, qsizetype>> names;
    names.reserve(size_t(count + wanted.size()));
    for (qsizetype i = 0; i < count; ++i)
        names.emplace_back(lines->name(i), i);
    for (const QString &name : wanted)
        names.emplace_back(name, -1);
    const auto byName = [](const auto &a, const auto &b) { return a.first < b.first; };
    std::stable_sort(names.begin(), names.end(), byName);
    names.erase(std::unique(names.begin(), names.end(), [](const auto &a, const auto &b) { return a.first == b.first; }),
                names.end());
    JsonText out(stdout);
    out.beginObject();
    out.key("fileExists");
    out.boolean(QFileInfo(file).isFile());
    out.key("keys");
    out.beginArray();
    for (qsizetype i = 0; i < count; ++i)
        out.string(lines->name(i));
    out.endArray();
    out.key("present");
    out.boolean(count > 0);
    out.key("values");
    out.beginObject();
    for (const auto &[name, line] : names) {
        out.key(name);
        if (line >= 0 && lines->isFirst(line))
            out.string(lines->value(line));
        else
            out.string(profile.value(section, name));
    }
    out.endObject();
    out.endObject();
    print(out);
    return Ok;
}

int versionCommand(const QString &file)
{
    if (const QString why = whyUnreadable(file); !why.isEmpty())
        return fail(why);
    FileVersionInfo info;
    FileInfo(file).readVersionInfo(info);
    return print(QJsonObject{
        {QStringLiteral("isExecutable"), info.isExecutable},
        {QStringLiteral("typeName"), info.typeName},
        {QStringLiteral("companyName"), info.companyName},
        {QStringLiteral("fileDescription"), info.fileDescription},
        {QStringLiteral("fileVersion"), info.fileVersion},
        {QStringLiteral("internalName"), info.internalName},
        {QStringLiteral("legalCopyright"), info.legalCopyright},
        {QStringLiteral("legalTrademarks"), info.legalTrademarks},
        {QStringLiteral("originalFileName"), info.originalFileName},
        {QStringLiteral("productName"), info.productName},
        {QStringLiteral("productVersion"), info.productVersion},
        {QStringLiteral("comments"), info.comments},
        {QStringLiteral("specialBuild"), info.specialBuild},
        {QStringLiteral("privateBuild"), info.privateBuild},
        {QStringLiteral("fileType"), info.fileType},
        {QStringLiteral("debug"), info.debug},
        {QStringLiteral("preRelease"), info.preRelease},
        {QStringLiteral("specialBuildFlag"), info.specialBuildFlag},
        {QStringLiteral("privateBuildFlag"), info.privateBuildFlag},
        {QStringLiteral("patched"), info.patched},
        {QStringLiteral("infoInferred"), info.infoInferred},
        {QStringLiteral("displayName"), FileInfo(file).displayName()},
    });
}

// What the auto-start panel offers for FOLDER, in its order: the programs of the whole tree,
// then the libraries, icon libraries and icon files, as disc paths.
int scanCommand(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("no folder %1").arg(folder));
    const QString data = dataFolderOf(folder);
    // The JSON of each mask's paths, each after a comma, made as the walk finds them: the
    // disc path of a folder once for all its files, and a name of plain ASCII, which JSON
    // takes as it is, without decoding it.
    const QStringList masks = autoStartMasks();
    QList<QByteArray> found(masks.size());
    QString lastFolder;
    QByteArray folderPath;
    visitFilesByMasks(data, masks, [&](qsizetype mask, const QString &in, QByteArrayView name) {
        if (in != lastFolder) {
            lastFolder = in;
            folderPath.clear();
            JsonText::appendEscaped(folderPath, discPathOf(data, in));
        }
        QByteArray &json = found[mask];
        json += ",\"";
        json += folderPath;
        const auto plain = [](char c) { return uchar(c) >= 0x20 && uchar(c) < 0x80 && c != '"' && c != '\\'; };
        if (std::all_of(name.begin(), name.end(), plain))
            json += name;
        else
            JsonText::appendEscaped(json, QFile::decodeName(QByteArray::fromRawData(name.data(), name.size())));
        json += '"';
    });
    QByteArray paths = found.join();
    if (paths.isEmpty())
        paths = "[";
    else
        paths[0] = '['; // in place of the first comma
    paths += "]\n";
    std::fwrite(paths.constData(), 1, size_t(paths.size()), stdout);
    return Ok;
}

// Each icon as the icon list draws it: the image its cell shows, as the icon's directory
// entry states it.
int iconsCommand(const QString &file)
{
    if (const QString why = whyUnreadable(file); !why.isEmpty())
        return fail(why);
    const IconSource source(file);
    QJsonArray icons;
    for (int i = 0; i < source.count(); ++i) {
        const std::optional<IconImageInfo> drawn = drawnImageOf(source.icoFile(i));
        if (!drawn) {
            icons.append(QJsonValue());
            continue;
        }
        icons.append(QJsonObject{{QStringLiteral("width"), drawn->width},
                                 {QStringLiteral("height"), drawn->height},
                                 {QStringLiteral("bitCount"), drawn->bitCount}});
    }
    return print(QJsonObject{{QStringLiteral("count"), source.count()},
                             {QStringLiteral("icons"), icons}});
}

// The findings of the disc check on FOLDER/autorun.inf; exit 1 when one of them is an error,
// 2 when there is no autorun.inf to check.

// The disc image of FOLDER; progress on stderr only when someone is watching it. Ctrl+C
// cancels, so that the temporary image is removed rather than left beside OUT.iso.
int isoCommand(const QString &folder, const QString &imagePath, const QString &label)
{
    DiscImageJob job{folder, imagePath, label};
    job.cancel = &interrupted;
    std::signal(SIGINT, [](int) { interrupted = true; });
    std::signal(SIGTERM, [](int) { interrupted = true; });
    const bool terminal = isatty(STDERR_FILENO);
    if (terminal)
        job.progress = [](int percent, const QString &file) {
            std::fprintf(stderr, "\r\033[K%3d%% %s", percent, file.toLocal8Bit().constData());
        };
    const DiscImageResult result = writeDiscImage(job);
    if (terminal)
        std::fputs("\r\033[K", stderr);
    if (!result.ok)
        return fail(result.error);
    return print(QJsonObject{{QStringLiteral("path"), QFileInfo(imagePath).absoluteFilePath()},
                             {QStringLiteral("bytes"), result.bytes},
                             {QStringLiteral("files"), result.files},
                             {QStringLiteral("volumeId"), result.volumeId},
                             {QStringLiteral("jolietVolumeId"), result.jolietVolumeId},
                             {QStringLiteral("skipped"), QJsonArray::fromStringList(result.skipped)}});
}
