#include "core/KeptLines.h"

#include "core/AutorunReader.h"
#include "core/AutorunLines.h"
#include "core/CaseFolding.h"
#include "core/CodePage.h"
#include "core/NameIndex.h"
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

// The caption key of each verb a kept key uses, folded: its own verb ("shell\X" and
// "shell\X\..."), and the verb the reader would look up for it, which takes any key holding
// "shell" for a caption key of what follows its sixth character.
void addVerbsOf(QStringView name, QSet<QString> *taken)
{
    const QString folded = ProfileFile::foldedName(name);
    if (folded.startsWith(shellPrefix)) {
        const qsizetype end = folded.indexOf(u'\\', shellPrefix.size());
        taken->insert(end < 0 ? folded : folded.left(end));
    }
    if (name.contains(u"shell") && !name.contains(u"command"))
        taken->insert(ProfileFile::foldedName(shellPrefix + name.mid(6).toString()));
}

// The verb of each item: the numbers in order, past those a kept key uses.
QStringList verbNames(qsizetype count, const QSet<QString> &taken)
{
    QStringList verbs;
    verbs.reserve(count);
    for (qsizetype n = 0; verbs.size() < count; ++n) {
        const QString verb = menuVerbName(n);
        if (taken.isEmpty() || !taken.contains(shellPrefix + verb))
            verbs << verb;
    }
    return verbs;
}

} // namespace

QByteArray autorunBytesKeeping(const MenuDocument &doc, QByteArrayView existing, QStringList *verbs)
{
    const ProfileFile profile = ProfileFile::fromBytes(existing);
    const QString autorun = QStringLiteral("autorun");

    // The keys the reader turns into the document, folded; every key line is looked up here.
    const QList<MenuVerb> menu = menuVerbs(profile);
    QStringList edited{QStringLiteral("open"), QStringLiteral("icon"), QStringLiteral("name"),
                       QStringLiteral("label")};
    edited.reserve(edited.size() + 2 * menu.size());
    for (const MenuVerb &verb : menu) {
        edited << ProfileFile::foldedName(shellPrefix + verb.name)
               << ProfileFile::foldedName(shellPrefix + verb.name + QStringLiteral("\\command"));
    }
    NameIndex editedIndex;
    const auto editedKey = [&](qsizetype i, QString &) { return QStringView(edited[i]); };
    editedIndex.build(edited.size(), editedKey);
    // For a "shell=" default verb, made when one is met: the caption keys of the entries, and
    // the first item read under each verb.
    QSet<QString> entries;
    QHash<QString, qsizetype> itemOfVerb;
    bool defaultVerbMet = false;

    const Encoding encoding = encodingOf(existing);
    const QByteArray lineEnd = encoding.encode(u"\r\n");
    QByteArray leading; // comments before the first section, which head the file
    QByteArray others;  // every other section
    // The kept lines of [autorun] in their order; a default verb waits for the entries' verbs.
    struct Kept
    {
        QByteArray bytes;
        qsizetype item = -1; // for "shell=": the item it names
    };
    QList<Kept> kept;
    QSet<QString> taken;
    QString spare; // room for a folded name
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
        if (where == InOther) {
            others += raw;
            others += lineEnd;
        }
        if (where == Before && line.startsWith(u';')) {
            leading += raw;
            leading += lineEnd;
        }
        if (where != InAutorun || line.startsWith(u'['))
            continue;
        if (line.startsWith(u';')) {
            kept.append({raw.toByteArray()});
            continue;
        }
        const qsizetype eq = text.indexOf(u'=');
        if (eq < 0)
            continue;
        const QStringView name = cutAtNul(trimmed(QStringView(text).left(eq)));
        const QStringView folded = foldedCase(trimmed(name), spare); // as ProfileFile::foldedName()
        if (folded.isEmpty() || editedIndex.find(folded, editedKey) >= 0)
            continue;
        if (folded == u"shell") {
            if (!defaultVerbMet) {
                defaultVerbMet = true;
                for (const MenuVerb &verb : menu)
                    entries << ProfileFile::foldedName(shellPrefix + verb.name);
                for (qsizetype i = doc.items.size() - 1; i >= 0; --i) {
                    if (!doc.items[i].verb.isEmpty())
                        itemOfVerb.insert(ProfileFile::foldedName(shellPrefix + doc.items[i].verb), i);
                }
            }
            const QString verb = ProfileFile::foldedName(
                shellPrefix + unquoted(cutAtNul(trimmed(QStringView(text).mid(eq + 1)))).toString());
            const qsizetype item = itemOfVerb.value(verb, -1);
            if (item >= 0) {
                kept.append({encoding.encode(QStringView(text).left(eq + 1)), item});
                continue;
            }
            if (entries.contains(verb))
                continue; // its entry was deleted
        }
        addVerbsOf(name, &taken);
        kept.append({raw.toByteArray()});
    }

    const QStringList names = verbNames(doc.items.size(), taken);
    QByteArray keys;
    for (const Kept &line : kept) {
        keys += line.bytes;
        if (line.item >= 0) // the default verb follows its entry to the name it has now
            keys += encoding.encode(names[line.item]);
        keys += lineEnd;
    }

    QByteArray bytes = existing.first(encoding.bom).toByteArray() + leading;
    const QStringList lines = autorunLines(doc, names);
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString own;
    own.reserve(size);
    for (const QString &line : lines) {
        own += line;
        own += QLatin1String("\r\n");
    }
    bytes += encoding.encode(own);
    if (!keys.isEmpty())
        bytes += keys + lineEnd;
    if (verbs)
        *verbs = names;
    return bytes + others;
}
