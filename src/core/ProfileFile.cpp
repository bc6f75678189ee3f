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
    return m_index.find(name, [&](qsizetype line, QString &spare) { return foldedCase(this->name(line), spare); });
}

ProfileFile ProfileFile::fromFile(const QString &path)
{
    return fromFile(path, CodePage::system());
}

ProfileFile ProfileFile::fromFile(const QString &path, const CodePage &codePage, const std::atomic_bool *giveUp)
{
    QString text;
    FileReadError error;
    {
        QByteArray bytes;
        error = readRegularFile(path, maxFileSize, &bytes);
        text = decodeText(bytes, codePage);
    } // the bytes go before the text is parsed: a large file is not held twice meanwhile
    ProfileFile profile = fromText(std::move(text), giveUp);
    profile.m_error = error;
    return profile;
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes)
{
    return fromBytes(bytes, CodePage::system());
}

ProfileFile ProfileFile::fromBytes(QByteArrayView bytes, const CodePage &codePage)
{
    return fromText(decodeText(bytes, codePage));
}

ProfileFile ProfileFile::fromText(QString text, const std::atomic_bool *giveUp)
{
    ProfileFile profile;
    profile.m_text = std::move(text);
    profile.parse(giveUp);
    return profile;
}

// One pass over the text notes every header and every key line where it stands; the
// sections are made afterwards, only of the first header of each name, and only when it
// holds keys.
void ProfileFile::parse(const std::atomic_bool *giveUp)
{
    const QStringView text = m_text;
    const char16_t *chars = text.utf16();
    const qsizetype size = text.size();
    // The lines before the first header belong to a section whose name is empty.
    m_headers.append(Header());
    QList<qsizetype> headerLines{0}; // where each header's key lines begin in m_lines
    qsizetype pos = 0;
    for (quint32 lines = 1; pos < size; ++lines) {
        if (giveUp && lines % 65536 == 0 && giveUp->load(std::memory_order_relaxed))
            break;
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
            m_headers.append({quint32(line.utf16() + 1 - chars), quint32(close - 1), -1});
            headerLines.append(m_lines.size());
            continue;
        }
        if (eq < 0 || line.startsWith(u';'))
            continue;
        // A NUL is never a blank: the first one stands inside the trimmed name or value.
        const auto cutAt = [&](QStringView s, qsizetype nul) {
            return nul < 0 ? s : s.left(nul - (s.utf16() - chars));
        };
        const qsizetype at = eq - (line.utf16() - chars); // the "=" within the trimmed line
        const QStringView name = cutAt(trimBlanks(line.left(at)), nameNul);
        if (name.isEmpty())
            continue;
        const QStringView value = unquoted(cutAt(trimBlanks(line.mid(at + 1)), valueNul));
        m_lines.append({quint32(name.utf16() - chars), quint32(name.size()), quint32(value.utf16() - chars),
                        quint32(value.size())});
    }
    headerLines.append(m_lines.size());

    const auto headerName = [&](qsizetype i, QString &spare) {
        return foldedCase(trimBlanks(text.mid(m_headers[i].name, m_headers[i].nameLength)), spare);
    };
    const QList<bool> firstHeader = m_headerIndex.build(m_headers.size(), headerName);
    for (qsizetype i = 0; i < m_headers.size(); ++i) {
        const qsizetype count = headerLines[i + 1] - headerLines[i];
        if (!firstHeader[i] || count == 0)
            continue;
        Section section;
        section.m_text = chars;
        section.m_lines = m_lines.constData() + headerLines[i];
        section.m_count = count;
        section.m_first = section.m_index.build(
            count, [&](qsizetype line, QString &spare) { return foldedCase(section.name(line), spare); });
        m_headers[i].section = qint32(m_sections.size());
        m_sections.append(std::move(section));
    }
}

const ProfileFile::Section *ProfileFile::section(QStringView name) const
{
    const QStringView text = m_text;
    const qsizetype header = m_headerIndex.find(foldedName(name), [&](qsizetype i, QString &spare) {
        return foldedCase(trimBlanks(text.mid(m_headers[i].name, m_headers[i].nameLength)), spare);
    });
    return header < 0 || m_headers[header].section < 0 ? nullptr : &m_sections[m_headers[header].section];
}

bool ProfileFile::hasSection(QStringView name) const
{
    return section(name) != nullptr;
}

QStringList ProfileFile::keys(QStringView name) const
{
    const Section *s = section(name);
    QStringList names;
    if (s) {
        names.reserve(s->size());
        for (qsizetype i = 0; i < s->size(); ++i)
            names << s->name(i).toString();
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
    return line < 0 ? QString() : s->value(line).toString();
}
