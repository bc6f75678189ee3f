#include "core/ProfileFile.h"

#include "core/CodePage.h"

#include <QStringDecoder>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

// A NUL ends a name or a value where it stands.
QStringView cutAtNul(QStringView s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

QString foldedName(QStringView name)
{
    return trimBlanks(name).toString().toCaseFolded();
}

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(ProfileFile::maxValueLength).toString();
}

QString decodeText(QByteArrayView bytes, const CodePage &codePage)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        return utf16.decode(bytes.sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    return codePage.decode(bytes);
}

} // namespace

ProfileFile ProfileFile::fromFile(const QString &path)
{
    return fromFile(path, CodePage::system());
}

ProfileFile ProfileFile::fromFile(const QString &path, const CodePage &codePage)
{
    QByteArray bytes;
    const FileReadError error = readRegularFile(path, maxFileSize, &bytes);
    ProfileFile profile = fromBytes(bytes, codePage);
    profile.m_error = error;
    return profile;
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes)
{
    return fromBytes(bytes, CodePage::system());
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes, const CodePage &codePage)
{
    ProfileFile profile;
    profile.parse(decodeText(bytes, codePage));
    return profile;
}

void ProfileFile::parse(QStringView text)
{
    // Lines before the first header belong to a section whose name is empty.
    m_sections.append(Section());
    m_sectionByName.insert(QString(), 0);
    qsizetype current = 0; // -1 while inside a later copy of a section, which is never seen

    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = trimBlanks(text.mid(pos, end - pos));
        // CR LF is one line end; a lone CR or LF is one as well.
        pos = end + 1;
        if (end < size && text[end] == u'\r' && pos < size && text[pos] == u'\n')
            ++pos;

        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 0)
                continue; // not a header: the lines after it stay where they were
            const QString name = foldedName(line.mid(1, close - 1));
            if (m_sectionByName.contains(name)) {
                current = -1;
            } else {
                current = m_sections.size();
                m_sectionByName.insert(name, current);
                m_sections.append(Section());
            }
            continue;
        }
        if (line.startsWith(u';') || current < 0)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QStringView name = cutAtNul(trimBlanks(line.left(eq)));
        if (name.isEmpty())
            continue;
        Section &target = m_sections[current];
        const QString folded = name.toString().toCaseFolded();
        if (!target.firstByName.contains(folded))
            target.firstByName.insert(folded, target.names.size());
        target.names.append(name.toString());
        target.values.append(unquoted(cutAtNul(trimBlanks(line.mid(eq + 1)))));
    }
}

const ProfileFile::Section *ProfileFile::section(QStringView name) const
{
    const auto it = m_sectionByName.constFind(foldedName(name));
    return it == m_sectionByName.cend() ? nullptr : &m_sections[*it];
}

bool ProfileFile::hasSection(QStringView name) const
{
    const Section *s = section(name);
    return s && !s->names.isEmpty();
}

QStringList ProfileFile::keys(QStringView name) const
{
    const Section *s = section(name);
    return s ? s->names : QStringList();
}

bool ProfileFile::hasKey(QStringView name, QStringView key) const
{
    const Section *s = section(name);
    return s && s->firstByName.contains(foldedName(key));
}

QString ProfileFile::value(QStringView name, QStringView key) const
{
    const Section *s = section(name);
    if (!s)
        return {};
    const auto it = s->firstByName.constFind(foldedName(key));
    return it == s->firstByName.cend() ? QString() : s->values[*it];
}
