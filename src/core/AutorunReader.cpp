#include "core/AutorunReader.h"

#include "core/CodePage.h"
#include "core/ProfileFile.h"

#include <limits>

namespace {

const QString section = QStringLiteral("autorun");

// The entries of a section, in the order of their caption lines, each with its verb.
QList<MenuItem> itemsOf(const ProfileFile &profile, const QString &sectionName)
{
    QList<MenuItem> items;
    const ProfileFile::Section *lines = profile.section(sectionName);
    const QList<MenuVerb> verbs = menuVerbs(profile, sectionName);
    items.reserve(verbs.size());
    for (const MenuVerb &verb : verbs)
        items.append({lines->value(verb.captionLine).toString(), lines->value(verb.commandLine).toString(),
                      verb.name});
    return items;
}

} // namespace

AutorunIcon readIconValue(const QString &value)
{
    AutorunIcon icon{value, std::nullopt};
    if (fileExtension(value).toLower() == QLatin1String(".ico"))
        return icon;
    // "file,number"; without a comma the whole value is the file and Windows takes its first
    // icon. The number stands whether or not the file is there yet.
    const qsizetype comma = value.lastIndexOf(QLatin1Char(','));
    if (comma < 0)
        return icon;
    icon.file = value.left(comma);
    QStringView number = QStringView(value).mid(comma + 1);
    while (!number.isEmpty() && (number.front() == u' ' || number.front() == u'\t'))
        number = number.mid(1);
    while (!number.isEmpty() && (number.back() == u' ' || number.back() == u'\t'))
        number.chop(1);
    int index = 0;
    if (parseWholeNumber(number, &index))
        icon.index = index;
    return icon;
}


AutorunContent readAutorun(const QString &path, const std::atomic_bool *giveUp)
{
    return readAutorun(ProfileFile::fromFile(path, CodePage::system(), giveUp));
}

AutorunContent readAutorun(const ProfileFile &profile, bool withItems)
{
    AutorunContent content;
    content.readError = profile.error();
    content.section = profile.hasSection(section);
    content.open = profile.value(section, u"open");
    content.shellExecute = profile.value(section, u"shellexecute");
    if (profile.hasKey(section, u"useautoplay"))
        content.kept.useAutoPlay = profile.value(section, u"useautoplay");
    content.kept.defaultIcon = profile.value(section, u"defaulticon");
    content.kept.defaultVerb = profile.value(section, u"shell");
    if (profile.hasKey(section, u"icon"))
        content.icon = readIconValue(profile.value(section, u"icon"));
    // "label" is what Windows shows; "name" is the key this program writes the label under,
    // beside "label", so where the two differ this program's own key wins.
    if (profile.hasKey(section, u"name"))
        content.label = profile.value(section, u"name");
    else if (profile.hasKey(section, u"label"))
        content.label = profile.value(section, u"label");

    if (withItems)
        content.items = itemsOf(profile, section);
    for (const QString &name : architectureSectionNames()) {
        if (!profile.hasSection(name))
            continue;
        ArchitectureSection arch{name, profile.value(name, u"open"), profile.value(name, u"shellexecute"),
                                 profile.value(name, u"icon"), profile.hasKey(name, u"icon"),
                                 itemsOf(profile, name), profile.value(name, u"shell")};
        content.kept.sections.append(arch);
    }
    return content;
}

const QStringList &architectureSectionNames()
{
    static const QStringList names{QStringLiteral("autorun.amd64"), QStringLiteral("autorun.alpha"),
                                   QStringLiteral("autorun.mips"), QStringLiteral("autorun.ppc")};
    return names;
}

QList<MenuVerb> menuVerbs(const ProfileFile &profile)
{
    return menuVerbs(profile, section);
}

QList<MenuVerb> menuVerbs(const ProfileFile &profile, const QString &sectionName)
{
    // The "shell" and "command" tests respect letter case; the lookups do not. Every key is
    // looked at once, with the section's own index of names.
    QList<MenuVerb> verbs;
    const ProfileFile::Section *lines = profile.section(sectionName);
    if (!lines)
        return verbs;
    const QString shell = QStringLiteral("shell\\");
    const QString command = QStringLiteral("\\command");
    // A key that is the first of its name is found where it stands, and the command key is
    // looked for next to its caption, where writers put it; the index answers the rest.
    const auto commandAt = [&](qsizetype line, QStringView caption) {
        if (line < 0 || line >= lines->size() || !lines->isFirst(line))
            return false;
        const QStringView name = lines->name(line);
        if (name.size() != caption.size() + command.size())
            return false;
        return (name.startsWith(caption) && name.endsWith(command))
            || (name.startsWith(caption, Qt::CaseInsensitive) && name.endsWith(command, Qt::CaseInsensitive));
    };
    verbs.reserve(lines->size() / 2);
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const QStringView key = lines->name(i);
        const bool isCaption = key.startsWith(shell); // then the caption key is the key itself
        if ((!isCaption && !key.contains(u"shell")) || key.contains(u"command"))
            continue;
        const QString made = isCaption ? QString() : shell + key.mid(6).toString();
        const QStringView caption = isCaption ? key : QStringView(made);
        const qsizetype captionLine =
            isCaption && lines->isFirst(i) ? i : lines->lineOf(ProfileFile::foldedName(caption));
        if (captionLine < 0)
            continue;
        const qsizetype commandLine = commandAt(i - 1, caption) ? i - 1
            : commandAt(i + 1, caption)
            ? i + 1
            : lines->lineOf(ProfileFile::foldedName(caption.toString() + command));
        if (commandLine >= 0)
            verbs.append({key.mid(6).toString(), captionLine, commandLine});
    }
    return verbs;
}

bool parseWholeNumber(QStringView text, int *value)
{
    qsizetype pos = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        pos = 1;
    if (pos == text.size())
        return false;
    qint64 n = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c - u'0');
        if (n > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        n = -n;
    if (n > std::numeric_limits<int>::max())
        return false;
    *value = int(n);
    return true;
}

QString fileExtension(QStringView path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype sep = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
    return dot > sep ? path.mid(dot).toString() : QString();
}
