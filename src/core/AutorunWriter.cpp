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

bool writeAutorunLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeFileAtomically(path, autorunBytes(lines), error);
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

bool writeAutorunFile(const MenuDocument &doc, QString *error, QStringList *verbs)
{
    const QString path = autorunPath(doc.dataFolder);
    QByteArray existing;
    const FileReadError read = readRegularFile(path, ProfileFile::maxFileSize, &existing);
    if (read != FileReadError::None && read != FileReadError::Missing) {
        // Replacing a file that could not be read would lose what Pelmora keeps of it.
        if (error)
            *error = QStringLiteral("the existing file cannot be read, so it is left as it is");
        return false;
    }
    QStringList written;
    if (!writeFileAtomically(path, autorunBytesKeeping(doc, existing, &written), error))
        return false;
    if (verbs)
        *verbs = written;
    return true;
}
