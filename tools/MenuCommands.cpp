// The commands on a folder's autorun.inf: read, write and check.

#include "CliCommands.h"
#include "CliOutput.h"

#include "core/AtomicFile.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/CodePage.h"
#include "core/DiscCheck.h"
#include "core/DiscPath.h"

#include "JsonText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

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

int writeCommand(const QString &folder, bool replaceUnwritable)
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

    removeStaleTemporaryFiles(doc.dataFolder); // what a write killed midway left, as the window does
    const QString path = autorunPath(doc.dataFolder);
    const QString lost = unwritableCharacters(doc);
    if (!lost.isEmpty() && !replaceUnwritable)
        return fail(QStringLiteral("the code page %1 cannot hold %2 (--replace-unwritable writes them as ?)")
                        .arg(QString::fromLatin1(CodePage::system().name()), lost));
    QString why;
    if (!writeAutorunFile(doc, &why))
        return fail(QStringLiteral("cannot write %1: %2").arg(path, why));
    return print(QJsonObject{{QStringLiteral("path"), path}});
}

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
    doc.kept = content.kept;
    doc.autorunSection = content.section;

    // The keys in QJsonObject's order.
    JsonText out;
    out.beginArray();
    bool error = false;
    // The menu's findings, then the image's; information never fails the check.
    const QList<DiscFinding> findings = checkDisc(doc, dataFolder) + checkDiscImage(dataFolder, doc.discLabel);
    for (const DiscFinding &finding : findings) {
        const bool isError = finding.severity == DiscFinding::Severity::Error;
        error = error || isError;
        out.beginObject();
        out.key("code");
        out.string(finding.code);
        out.key("key");
        out.string(finding.key);
        out.key("message");
        out.string(finding.message);
        out.key("section");
        out.string(finding.section);
        out.key("severity");
        out.string(isError ? u"error" : finding.severity == DiscFinding::Severity::Warning ? u"warning" : u"info");
        out.endObject();
    }
    out.endArray();
    print(out);
    return error ? Failure : Ok;
}

QString menuLabelOf(const QString &folder)
{
    return readAutorun(autorunPath(dataFolderOf(folder))).label.value_or(QString());
}
