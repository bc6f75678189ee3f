// The commands on a folder's autorun.inf: read, write and check.

#include "CliCommands.h"
#include "CliOutput.h"

#include "core/AtomicFile.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/CodePage.h"
#include "core/DiscCheck.h"
#include "core/DiscPath.h"
#include "core/ProfileFile.h"

#include "JsonText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

bool isText(const QJsonValue &value)
{
    return value.isString() || value.isNull() || value.isUndefined();
}

bool isWholeNumber(const QJsonValue &value)
{
    return value.isNull() || value.isUndefined()
        || (value.isDouble() && value.toDouble() == double(value.toInt()));
}

// What is wrong with the fields of a document for write, in one line naming the field; empty
// when nothing is. Text fields may be null, as read prints a missing label.
QString wrongField(const QJsonObject &in, std::initializer_list<QStringView> known)
{
    const auto unknown = [](const QJsonObject &object, std::initializer_list<QStringView> names,
                            const QString &where) -> QString {
        for (auto key = object.begin(); key != object.end(); ++key) {
            if (std::find(names.begin(), names.end(), key.key()) != names.end())
                continue;
            QStringList taken;
            for (const QStringView name : names)
                taken << name.toString();
            return QStringLiteral("unknown field %1%2 (write takes %3)")
                .arg(where, key.key(), taken.join(QStringLiteral(", ")));
        }
        return QString();
    };
    if (QString why = unknown(in, known, QString()); !why.isEmpty())
        return why;
    for (const char16_t *text : {u"open", u"iconFile", u"label"}) {
        if (!isText(in[text]))
            return QStringLiteral("%1 is not a string").arg(QStringView(text));
    }
    if (!isWholeNumber(in[u"iconIndex"]))
        return QStringLiteral("iconIndex is neither a whole number nor null");
    const QJsonValue icon = in[u"icon"];
    if (icon.isObject()) {
        if (QString why = unknown(icon.toObject(), {u"file", u"index"}, QStringLiteral("icon.")); !why.isEmpty())
            return why;
        if (!icon[u"file"].isString())
            return QStringLiteral("icon.file is not a string");
        if (!isWholeNumber(icon[u"index"]))
            return QStringLiteral("icon.index is neither a whole number nor null");
        if (in.contains(u"iconFile") || in.contains(u"iconIndex"))
            return QStringLiteral("icon and iconFile/iconIndex given both");
    } else if (!icon.isNull() && !icon.isUndefined()) {
        return QStringLiteral("icon is neither an object nor null");
    }
    const QJsonValue items = in[u"items"];
    if (!items.isArray() && !items.isUndefined() && !items.isNull())
        return QStringLiteral("items is not an array");
    const QJsonArray list = items.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("items[%1]").arg(i);
        if (!list[i].isObject())
            return QStringLiteral("%1 is not an object").arg(where);
        const QJsonObject item = list[i].toObject();
        if (QString why = unknown(item, {u"label", u"file", u"verb"}, where + QLatin1Char('.')); !why.isEmpty())
            return why;
        for (const char16_t *text : {u"label", u"file", u"verb"}) {
            if (!isText(item[text]))
                return QStringLiteral("%1.%2 is not a string").arg(where, QStringView(text));
        }
    }
    return QString();
}

} // namespace

int readCommand(const QString &folder)
{
    if (const QString why = whyNoFolder(folder); !why.isEmpty())
        return fail(why);
    const QString dataFolder = dataFolderOf(folder);
    const QString path = autorunPath(dataFolder);
    // The entries go from the file's text to the output, never copied into a document.
    const ProfileFile profile = ProfileFile::fromFile(path, CodePage::system());
    const AutorunContent content = readAutorun(profile, false);
    if (content.readError == FileReadError::Missing)
        return fail(QStringLiteral("no autorun.inf in %1").arg(folder));
    if (content.readError != FileReadError::None)
        return fail(readErrorText(content.readError, path));
    // The keys in QJsonObject's order.
    JsonText out(stdout);
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
    const ProfileFile::Section *lines = profile.section(u"autorun");
    for (const MenuVerb &verb : menuVerbs(profile)) {
        out.beginObject();
        out.key("file");
        out.string(lines->value(verb.commandLine));
        out.key("label");
        out.string(lines->value(verb.captionLine));
        out.key("verb");
        out.string(verb.name);
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
    if (error.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("the document is not JSON: %1 at offset %2").arg(error.errorString()).arg(error.offset));
    if (!json.isObject())
        return refuse(QStringLiteral("the document is not a JSON object"));
    // Every field is checked before anything is written: a misspelt key or a value of the wrong
    // type would otherwise write an emptier menu than the script meant.
    const QJsonObject in = json.object();
    const QString wrong = wrongField(in, {u"open", u"icon", u"iconFile", u"iconIndex", u"label", u"items"});
    if (!wrong.isEmpty())
        return refuse(wrong);
    if (const QString why = whyNoFolder(folder); !why.isEmpty())
        return fail(why);
    MenuDocument doc;
    doc.dataFolder = dataFolderOf(folder);
    doc.autoStartProgram = in[u"open"].toString();
    doc.iconFile = in[u"iconFile"].toString();
    if (in[u"iconIndex"].isDouble())
        doc.iconIndex = in[u"iconIndex"].toInt();
    // The icon as read prints it, so that read's output writes back the same menu.
    if (const QJsonObject icon = in[u"icon"].toObject(); !icon.isEmpty()) {
        doc.iconFile = icon[u"file"].toString();
        if (icon[u"index"].isDouble())
            doc.iconIndex = icon[u"index"].toInt();
    }
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
    if (const QString why = whyNoFolder(folder); !why.isEmpty())
        return fail(why);
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
    JsonText out(stdout);
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
