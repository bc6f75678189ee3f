#include "core/KeptLines.h"

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/CodePage.h"
#include "core/ProfileFile.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// The encoding the existing file is in, as the profile reader tells it; lines are split on
// its units so that no byte of a kept line changes.
struct Encoding
{
    enum Kind { CodePageText, Utf8, Utf16 };
    Kind kind = CodePageText;
    qsizetype bom = 0;

    int unit() const { return kind == Utf16 ? 2 : 1; }

    QString decode(QByteArrayView bytes) const
    {
        if (kind == Utf16)
            return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).decode(bytes);
        if (kind == Utf8)
            return QString::fromUtf8(bytes);
        return CodePage::system().decode(bytes);
    }

    QByteArray encode(QStringView text) const
    {
        if (kind == Utf16)
            return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).encode(text);
        if (kind == Utf8)
            return text.toUtf8();
        return CodePage::system().encode(text);
    }
};

Encoding encodingOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return {Encoding::Utf16, 2};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {Encoding::Utf8, 3};
    return {};
}

// The lines of text without their ends; CR LF, a lone CR and a lone LF each end a line.
QList<QByteArrayView> splitLines(QByteArrayView text, int unit)
{
    QList<QByteArrayView> lines;
    const qsizetype whole = text.size() - text.size() % unit;
    const auto at = [&](qsizetype i) {
        return unit == 1 ? uchar(text[i]) : uchar(text[i]) | uchar(text[i + 1]) << 8;
    };
    qsizetype start = 0;
    qsizetype pos = 0;
    while (pos < whole) {
        const int c = at(pos);
        if (c != '\r' && c != '\n') {
            pos += unit;
            continue;
        }
        lines << text.sliced(start, pos - start);
        pos += unit;
        if (c == '\r' && pos < whole && at(pos) == '\n')
            pos += unit;
        start = pos;
    }
    if (start < text.size())
        lines << text.sliced(start);
    return lines;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

// Blanks and NUL as the profile reader takes them, so that a line is read as it reads it.
QStringView trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

QStringView cutAtNul(QStringView s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

const QString shellPrefix = QStringLiteral("shell\\");

} // namespace

QByteArray autorunBytesKeeping(const MenuDocument &doc, QByteArrayView existing)
{
    const ProfileFile profile = ProfileFile::fromBytes(existing);
    const QString autorun = QStringLiteral("autorun");

    // The keys the reader turns into the document, and the entry each caption key gave.
    QSet<QString> edited{QStringLiteral("open"), QStringLiteral("icon"), QStringLiteral("name"),
                         QStringLiteral("label")};
    QHash<QString, MenuItem> entryOfVerb;
    if (const ProfileFile::Section *lines = profile.section(autorun)) {
        for (const MenuVerb &verb : menuVerbs(profile)) {
            const QString caption = ProfileFile::foldedName(shellPrefix + verb.name);
            edited << caption << ProfileFile::foldedName(shellPrefix + verb.name + QStringLiteral("\\command"));
            if (!entryOfVerb.contains(caption))
                entryOfVerb.insert(caption, {lines->values[verb.captionLine].toString(),
                                             lines->values[verb.commandLine].toString()});
        }
    }

    const Encoding encoding = encodingOf(existing);
    const QByteArray lineEnd = encoding.encode(u"\r\n");
    QByteArray leading; // comments before the first section, which head the file
    QByteArray keys;    // kept key lines of [autorun]
    QByteArray others;  // every other section
    enum { Before, InAutorun, InOther } where = Before;
    bool autorunSeen = false;
    for (const QByteArrayView raw : splitLines(existing.sliced(encoding.bom), encoding.unit())) {
        const QString text = encoding.decode(raw);
        const QStringView line = trimmed(text);
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close >= 0) {
                // Only the first [autorun] is read; a later one is kept as any other section.
                const bool first = !autorunSeen && ProfileFile::foldedName(line.mid(1, close - 1)) == autorun;
                autorunSeen = autorunSeen || first;
                where = first ? InAutorun : InOther;
            }
        }
        if (where == InOther)
            others += raw.toByteArray() + lineEnd;
        if (where == Before && line.startsWith(u';'))
            leading += raw.toByteArray() + lineEnd;
        if (where != InAutorun || line.startsWith(u'[') || line.startsWith(u';'))
            continue;
        const qsizetype eq = text.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString name = ProfileFile::foldedName(cutAtNul(trimmed(QStringView(text).left(eq))));
        if (name.isEmpty() || edited.contains(name))
            continue;
        if (name == QLatin1String("shell")) {
            const QString verb = ProfileFile::foldedName(
                shellPrefix + unquoted(cutAtNul(trimmed(QStringView(text).mid(eq + 1)))).toString());
            const auto entry = entryOfVerb.constFind(verb);
            if (entry != entryOfVerb.cend()) {
                // The default verb follows its entry to the number it has now.
                const qsizetype index = doc.items.indexOf(*entry);
                if (index >= 0)
                    keys += encoding.encode(QStringView(text).left(eq + 1))
                        + encoding.encode(menuVerbName(index)) + lineEnd;
                continue;
            }
        }
        keys += raw.toByteArray() + lineEnd;
    }

    QByteArray bytes = existing.first(encoding.bom).toByteArray() + leading;
    QString own;
    for (const QString &line : autorunLines(doc))
        own += line + QLatin1String("\r\n");
    bytes += encoding.encode(own);
    if (!keys.isEmpty())
        bytes += keys + lineEnd;
    return bytes + others;
}
