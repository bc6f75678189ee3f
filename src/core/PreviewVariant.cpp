#include "core/PreviewVariant.h"

#include "core/AutorunReader.h"
#include "core/DiscPath.h"
#include "core/ProfileFile.h"

namespace {

const QString section = QStringLiteral("autorun");

} // namespace

QStringList previewLines(const ProfileFile &saved, const QString &dataFolder)
{
    // Linux has no short 8.3 names: a path that names a file stays as written.
    const auto shortPath = [&](const QString &path) {
        return discFileExists(dataFolder, path) ? path : QString();
    };

    QStringList lines{QStringLiteral("[autorun]")};
    const QString open = saved.value(section, u"open");
    if (!open.isEmpty())
        lines << QStringLiteral("open=") + shortPath(open);
    if (saved.hasKey(section, u"icon")) {
        // "file,index"; a value without a comma is a file with its first icon.
        const QString icon = saved.value(section, u"icon");
        const qsizetype comma = icon.lastIndexOf(QLatin1Char(','));
        const QString file = comma < 0 ? icon : icon.left(comma);
        int index = 0;
        if (comma < 0 || !parseWholeNumber(QStringView(icon).mid(comma + 1), &index))
            index = 0;
        if (!file.isEmpty())
            lines << QStringLiteral("Icon=") + shortPath(file) + QLatin1Char(',') + QString::number(index);
    }
    const QString name = saved.value(section, u"name");
    if (!name.isEmpty())
        lines << QStringLiteral("Name=") + name;
    lines << QString();

    const ProfileFile::Section *keys = saved.section(section);
    for (const MenuVerb &verb : menuVerbs(saved)) {
        const QString caption = QStringLiteral("shell\\") + verb.name;
        lines << caption + QLatin1Char('=') + keys->value(verb.captionLine).toString();
        lines << caption + QStringLiteral("\\command=") + shortPath(keys->value(verb.commandLine).toString());
        lines << QString();
    }
    return lines;
}
