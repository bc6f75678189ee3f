#include "core/ProfileFile.h"

#include "core/CaseFolding.h"
#include "core/CodePage.h"

#include <QStringDecoder>

#include <algorithm>

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

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(ProfileFile::maxValueLength);
}

// The key of a line in the index: its name folded.
QStringView foldedKey(const QList<QStringView> &names, qsizetype line, QString &spare)
{
    return foldedCase(names[line], spare);
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

QString ProfileFile::foldedName(QStringView name)
{
    QString spare;
    const QStringView result = foldedCase(trimBlanks(name), spare);
    return result.data() == spare.constData() ? spare : result.toString();
}

QString ProfileFile::foldedName(const QString &name)
{
    QString spare;
    const QStringView result = foldedCase(trimBlanks(name), spare);
    if (result.data() == spare.constData())
        return spare;
    return result.size() == name.size() ? name : result.toString();
}

qsizetype ProfileFile::Section::lineOf(QStringView name) const
{
    return m_index.find(name, [&](qsizetype line, QString &spare) { return foldedKey(names, line, spare); });
}

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
    profile.m_text = decodeText(bytes, codePage);
    profile.parse(profile.m_text);
    return profile;
}

void ProfileFile::parse(QStringView text)
{
    // Lines before the first header belong to a section whose name is empty.
    m_sections.append(Section());
    m_sectionByName.insert(QString(), 0);
    qsizetype current = 0; // -1 while inside a later copy of a section, which is never seen
    const auto endSection = [&] {
        if (current < 0)
            return;
        Section &s = m_sections[current];
        s.first = s.m_index.build(s.names.size(),
                                  [&](qsizetype line, QString &spare) { return foldedKey(s.names, line, spare); });
    };

    const char16_t *chars = text.utf16();
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        // One pass over the line finds its end (a CR or an LF), its first "=" and the first NUL
        // on either side of it, where the name or the value ends.
        const qsizetype start = pos;
        qsizetype end = pos;
        qsizetype eq = -1;
        qsizetype nameNul = -1;
        qsizetype valueNul = -1;
        for (; end < size; ++end) {
            const char16_t c = chars[end];
            if (c > u'=')
                continue;
            if (c == u'\n' || c == u'\r')
                break;
            if (c == u'=' && eq < 0)
                eq = end;
            else if (c == 0 && eq < 0 && nameNul < 0)
                nameNul = end;
            else if (c == 0 && eq >= 0 && valueNul < 0)
                valueNul = end;
        }
        // CR LF is one line end; a lone CR or LF is one as well.
        pos = end + 1;
        if (end < size && chars[end] == u'\r' && pos < size && chars[pos] == u'\n')
            ++pos;
        const QStringView line = trimBlanks(text.mid(start, end - start));

        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 0)
                continue; // not a header: the lines after it stay where they were
            const QString name = foldedName(line.mid(1, close - 1));
            endSection();
            if (m_sectionByName.contains(name)) {
                current = -1;
            } else {
                current = m_sections.size();
                m_sectionByName.insert(name, current);
                m_sections.append(Section());
                if (name == QLatin1String("autorun")) {
                    // The section that can hold hundreds of thousands of keys: its lists are
                    // made large at once from the size of the text left, not grown step by
                    // step (up to a million keys, so that a large file of anything else cannot
                    // make them take much memory).
                    const qsizetype lines = std::min<qsizetype>((size - pos) / 8 + 1, 1 << 20);
                    Section &autorun = m_sections.last();
                    autorun.names.reserve(lines);
                    autorun.values.reserve(lines);
                }
            }
            continue;
        }
        if (eq < 0 || current < 0 || line.startsWith(u';'))
            continue;
        // A NUL is never a blank: the first one stands inside the trimmed name or value.
        const auto cutAt = [&](QStringView s, qsizetype nul) {
            return nul < 0 ? s : s.left(nul - (s.utf16() - chars));
        };
        const qsizetype at = eq - (line.utf16() - chars); // the "=" within the trimmed line
        const QStringView name = cutAt(trimBlanks(line.left(at)), nameNul);
        if (name.isEmpty())
            continue;
        Section &target = m_sections[current];
        target.names.append(name);
        target.values.append(unquoted(cutAt(trimBlanks(line.mid(at + 1)), valueNul)));
    }
    endSection();
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
    QStringList names;
    if (s) {
        names.reserve(s->names.size());
        for (const QStringView name : s->names)
            names << name.toString();
    }
    return names;
}

bool ProfileFile::hasKey(QStringView name, QStringView key) const
{
    const Section *s = section(name);
    return s && s->lineOf(foldedName(key)) >= 0;
}

QString ProfileFile::value(QStringView name, QStringView key) const
{
    const Section *s = section(name);
    if (!s)
        return {};
    const qsizetype line = s->lineOf(foldedName(key));
    return line < 0 ? QString() : s->values[line].toString();
}
