#include "core/AutorunWriter.h"

#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "core/DiscPath.h"
#include "core/KeptLines.h"
#include "core/ProfileFile.h"
#include "core/RegularFile.h"

QString autorunPath(const QString &dataFolder)
{
    return nativePathOf(dataFolder, QStringLiteral("autorun.inf"));
}

QString unwritableCharacters(const MenuDocument &doc)
{
    const CodePage &page = CodePage::system();
    QString lost;
    const auto gather = [&](const QString &text) {
        for (const char32_t c : page.lostCharacters(text).toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            if (!lost.contains(one))
                lost += one;
        }
    };
    gather(doc.discLabel);
    gather(doc.autoStartProgram);
    gather(doc.iconFile);
    for (const MenuItem &item : doc.items) {
        gather(item.label);
        gather(item.file);
    }
    return lost;
}

bool breaksLines(QStringView value)
{
    return value.contains(u'\r') || value.contains(u'\n') || value.contains(QChar());
}

QString fieldBreakingLines(const MenuDocument &doc)
{
    const auto breaks = [](const QString &value) { return breaksLines(value); };
    if (breaks(doc.discLabel))
        return QStringLiteral("label");
    if (breaks(doc.autoStartProgram))
        return QStringLiteral("open");
    if (breaks(doc.iconFile))
        return QStringLiteral("iconFile");
    for (qsizetype i = 0; i < doc.items.size(); ++i) {
        const MenuItem &item = doc.items[i];
        const QString field = breaks(item.label) ? QStringLiteral("label")
            : breaks(item.file)                  ? QStringLiteral("file")
            : breaks(item.verb)                  ? QStringLiteral("verb")
                                                 : QString();
        if (!field.isEmpty())
            return QStringLiteral("items[%1].%2").arg(i).arg(field);
    }
    return QString();
}

bool writeAutorunFile(const MenuDocument &doc, QString *error, QStringList *verbs, bool replaceOutsideLink)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (const QString field = fieldBreakingLines(doc); !field.isEmpty())
        return fail(QStringLiteral("%1 holds a line break or a NUL, which would write a line of its own").arg(field));
    const QString path = autorunPath(doc.dataFolder);
    const QString outside = linkLeavingFolder(path, doc.dataFolder);
    if (!outside.isEmpty() && !replaceOutsideLink)
        return fail(QStringLiteral("%1 is a link to %2, outside the folder: not written through").arg(path, outside));
    QByteArray existing;
    const FileReadError read =
        outside.isEmpty() ? readRegularFile(path, ProfileFile::maxFileSize, &existing) : FileReadError::Missing;
    if (read != FileReadError::None && read != FileReadError::Missing) {
        // Replacing a file that could not be read would lose what Pelmora keeps of it.
        if (error)
            *error = QStringLiteral("the existing file cannot be read, so it is left as it is");
        return false;
    }
    QStringList written;
    if (!writeFileAtomically(path, autorunBytesKeeping(doc, existing, &written), error,
                             outside.isEmpty() ? FileAccess::AsBefore : FileAccess::Replacing))
        return false;
    if (verbs)
        *verbs = written;
    return true;
}
