// pelmora-cli: reads, writes and inspects autorun.inf files without the window, for scripted
// disc builds. JSON on stdout, one line of error on stderr; exit 0 ok, 1 failure, 2 usage.

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscCheck.h"
#include "core/DiscImage.h"
#include "core/DiscPath.h"
#include "core/FileSearch.h"
#include "core/IconDirectory.h"
#include "core/IconSource.h"
#include "core/ProfileFile.h"
#include "core/RegularFile.h"
#include "platform/FileInfo.h"

#include "JsonText.h"
#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

enum Exit { Ok = 0, Failure = 1, Usage = 2 };

const char *const usageText =
    "usage: pelmora-cli read FOLDER\n"
    "       pelmora-cli write FOLDER < document.json\n"
    "       pelmora-cli ini FILE SECTION [KEY...]\n"
    "       pelmora-cli version FILE\n"
    "       pelmora-cli scan FOLDER\n"
    "       pelmora-cli icons FILE\n"
    "       pelmora-cli check FOLDER\n"
    "       pelmora-cli iso FOLDER OUT.iso [--label TEXT]\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return Failure;
}

int print(const QJsonObject &object)
{
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return Ok;
}

// The outputs that can hold hundreds of thousands of values are written as they are made.
void print(const JsonText &json)
{
    std::fwrite(json.bytes().constData(), 1, size_t(json.bytes().size()), stdout);
    std::fputc('\n', stdout);
}

// The folder as the program holds it: absolute, ending with the separator.
QString dataFolderOf(const QString &folder)
{
    QString path = QDir(folder).absolutePath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// Why a file was not read, as one line.
QString readErrorText(FileReadError error, const QString &file)
{
    if (error == FileReadError::NotRegularFile)
        return QStringLiteral("%1 is not a regular file").arg(file);
    if (error == FileReadError::TooLarge)
        return QStringLiteral("%1 is larger than %2 MiB").arg(file).arg(ProfileFile::maxFileSize / (1024 * 1024));
    return QStringLiteral("cannot read %1").arg(file);
}

// Why FILE cannot be read, asked of the opened file itself (a FIFO is never waited on, a file
// swapped after a check is not the one judged); empty when it can.
QString whyUnreadable(const QString &file)
{
    QFile opened;
    const FileReadError error = openRegularFile(file, opened);
    if (error == FileReadError::None)
        return QString();
    return error == FileReadError::Missing ? QStringLiteral("no file %1").arg(file) : readErrorText(error, file);
}

int readCommand(const QString &folder)
{
    const QString dataFolder = dataFolderOf(folder);
    const QString path = autorunPath(dataFolder);
    const AutorunContent content = readAutorun(path);
    if (content.readError == FileReadError::Missing)
        return fail(QStringLiteral("no autorun.inf in %1").arg(folder));
    if (content.readError != FileReadError::None)
        return fail(readErrorText(content.readError, path));
    // The keys in QJsonObject's order.
    JsonText out;
    out.beginObject();
    out.key("icon");
    if (content.icon) {
        out.beginObject();
        out.key("file");
        out.string(content.icon->file);
        out.key("index");
        if (content.icon->index)
            out.number(*content.icon->index);
        else
            out.null();
        out.endObject();
    } else {
        out.null();
    }
    out.key("items");
    out.beginArray();
    for (const MenuItem &item : content.items) {
        out.beginObject();
        out.key("file");
        out.string(item.file);
        out.key("label");
        out.string(item.label);
        out.key("verb");
        out.string(item.verb);
        out.endObject();
    }
    out.endArray();
    out.key("label");
    if (content.label)
        out.string(*content.label);
    else
        out.null();
    out.key("open");
    out.string(content.open);
    out.endObject();
    print(out);
    return Ok;
}

int writeCommand(const QString &folder)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the document from standard input"));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(input.readAll(), &error);
    if (!json.isObject())
        return fail(QStringLiteral("the document is not a JSON object: %1").arg(error.errorString()));
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("no folder %1").arg(folder));

    const QJsonObject in = json.object();
    MenuDocument doc;
    doc.dataFolder = dataFolderOf(folder);
    doc.autoStartProgram = in[u"open"].toString();
    doc.iconFile = in[u"iconFile"].toString();
    const QJsonValue index = in[u"iconIndex"];
    if (index.isDouble() && index.toDouble() == index.toInt())
        doc.iconIndex = index.toInt();
    else if (!index.isNull() && !index.isUndefined())
        return fail(QStringLiteral("iconIndex is neither a whole number nor null"));
    doc.discLabel = in[u"label"].toString();
    for (const QJsonValue &v : in[u"items"].toArray()) {
        const QJsonObject item = v.toObject();
        doc.items.append({item[u"label"].toString(), item[u"file"].toString(), item[u"verb"].toString()});
    }

    const QString path = autorunPath(doc.dataFolder);
    QString why;
    if (!writeAutorunFile(doc, &why))
        return fail(QStringLiteral("cannot write %1: %2").arg(path, why));
    return print(QJsonObject{{QStringLiteral("path"), path}});
}

int iniCommand(const QString &file, const QString &section, const QStringList &wanted)
{
    const ProfileFile profile = ProfileFile::fromFile(file);
    // A missing or unreadable file reads as an empty one, as Windows reads it; a FIFO, a
    // device or a file too large for an INI file is an error.
    const FileReadError error = profile.error();
    if (error == FileReadError::NotRegularFile || error == FileReadError::TooLarge)
        return fail(readErrorText(error, file));
    const QStringList keys = profile.keys(section);
    QJsonObject values;
    for (const QString &key : keys + wanted)
        values[key] = profile.value(section, key);
    QJsonObject out;
    out[u"present"] = profile.hasSection(section);
    out[u"keys"] = QJsonArray::fromStringList(keys);
    out[u"values"] = values;
    out[u"fileExists"] = QFileInfo(file).isFile();
    return print(out);
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
int checkCommand(const QString &folder)
{
    const QString dataFolder = dataFolderOf(folder);
    const QString path = autorunPath(dataFolder);
    const AutorunContent content = readAutorun(path);
    if (content.readError == FileReadError::Missing) {
        fail(QStringLiteral("no autorun.inf in %1").arg(folder));
        return Usage;
    }
    if (content.readError != FileReadError::None)
        return fail(readErrorText(content.readError, path));
    MenuDocument doc;
    doc.dataFolder = dataFolder;
    doc.autoStartProgram = content.open;
    if (content.icon) {
        doc.iconFile = content.icon->file;
        doc.iconIndex = content.icon->index;
    }
    doc.discLabel = content.label.value_or(QString());
    doc.items = content.items;
    doc.shellExecute = content.shellExecute;
    doc.autorunSection = content.section;

    // The keys in QJsonObject's order.
    JsonText out;
    out.beginArray();
    bool error = false;
    for (const DiscFinding &finding : checkDisc(doc, dataFolder)) {
        const bool isError = finding.severity == DiscFinding::Severity::Error;
        error = error || isError;
        out.beginObject();
        out.key("code");
        out.string(finding.code);
        out.key("key");
        out.string(finding.key);
        out.key("message");
        out.string(finding.message);
        out.key("severity");
        out.string(isError ? u"error" : u"warning");
        out.endObject();
    }
    out.endArray();
    print(out);
    return error ? Failure : Ok;
}

std::atomic_bool interrupted{false};

// The disc's label as the window takes it: that of FOLDER's autorun.inf; empty (the folder's
// name then) when the file gives none or cannot be read.
QString menuLabelOf(const QString &folder)
{
    return readAutorun(autorunPath(dataFolderOf(folder))).label.value_or(QString());
}

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.value(0);

    if (command == QLatin1String("read") && args.size() == 2)
        return readCommand(args[1]);
    if (command == QLatin1String("write") && args.size() == 2)
        return writeCommand(args[1]);
    if (command == QLatin1String("ini") && args.size() >= 3)
        return iniCommand(args[1], args[2], args.mid(3));
    if (command == QLatin1String("version") && args.size() == 2)
        return versionCommand(args[1]);
    if (command == QLatin1String("scan") && args.size() == 2)
        return scanCommand(args[1]);
    if (command == QLatin1String("icons") && args.size() == 2)
        return iconsCommand(args[1]);
    if (command == QLatin1String("check") && args.size() == 2)
        return checkCommand(args[1]);
    if (command == QLatin1String("iso") && args.size() == 3)
        return isoCommand(args[1], args[2], menuLabelOf(args[1]));
    if (command == QLatin1String("iso") && args.size() == 5 && args[3] == QLatin1String("--label"))
        return isoCommand(args[1], args[2], args[4]);
    if (command == QLatin1String("--version") && args.size() == 1) {
        std::printf("pelmora-cli %s\n", PELMORA_VERSION);
        return Ok;
    }
    std::fputs(usageText, stderr);
    return Usage;
}
