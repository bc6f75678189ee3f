#include "core/DiscImageNames.h"

#include "core/DiscImage.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace {

constexpr int maxIdLength = 31; // name, dot and extension, from ISO 9660 level 2 on

} // namespace

void initImageLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        iso_init();
        iso_set_local_charset(const_cast<char *>("UTF-8"), 0);
        // Errors reach the user through the result, not as lines on stderr.
        iso_set_msgs_severities(const_cast<char *>("NEVER"), const_cast<char *>("NEVER"),
                                const_cast<char *>("pelmora"));
    });
}

void setNaming(IsoWriteOpts *opts)
{
    iso_write_opts_set_iso_level(opts, 3);
    iso_write_opts_set_rockridge(opts, 1);
    iso_write_opts_set_joliet(opts, 1);
    iso_write_opts_set_joliet_longer_paths(opts, 1);
    iso_write_opts_set_joliet_long_names(opts, 1);
    iso_write_opts_set_output_charset(opts, "UTF-8");
}

QString jolietName(const QString &name, bool folder)
{
    // Most names the library keeps as they are: short, of characters it takes, and (for a file)
    // with an extension. Those are answered without asking it.
    if (name.size() <= 64 && (folder || name.contains(QLatin1Char('.')))) {
        const bool kept = std::all_of(name.cbegin(), name.cend(), [](QChar c) {
            return c.unicode() >= 0x20 && !c.isSurrogate() && !QStringView(u"*/:;?\\").contains(c);
        });
        if (kept)
            return name;
    }
    static IsoWriteOpts *const opts = [] {
        initImageLibrary();
        IsoWriteOpts *made = nullptr;
        iso_write_opts_new(&made, 0);
        setNaming(made);
        return made;
    }();
    QByteArray utf8 = name.toUtf8();
    char *made = nullptr;
    size_t length = 0;
    if (iso_conv_name_chars(opts, utf8.data(), size_t(utf8.size()), &made, &length,
                            2 | (folder ? 0x100 : 0) | 0x200)
        < 0)
        return QString();
    // UCS-2, big-endian.
    QString joliet(qsizetype(length / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < joliet.size(); ++i)
        joliet[i] = QChar(char16_t(quint8(made[2 * i]) << 8 | quint8(made[2 * i + 1])));
    std::free(made);
    if (!folder && joliet.endsWith(QLatin1String(";1")))
        joliet.chop(2);
    // The library ends a file name without an extension with a dot, which readers and Windows
    // drop.
    if (!folder && joliet.endsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('.')))
        joliet.chop(1);
    return joliet;
}

QStringList namesNotOnWindows(const QList<std::pair<QString, bool>> &entries)
{
    QList<bool> hidden(entries.size(), false);
    QHash<QString, qsizetype> firstOf; // of each folded Joliet name
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const auto &[name, folder] = entries[i];
        if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' '))
            || std::any_of(name.cbegin(), name.cend(), [](QChar c) { return QStringView(u"<>\"|").contains(c); }))
            hidden[i] = true;
        const QString folded = jolietName(name, folder).toCaseFolded();
        const auto first = firstOf.constFind(folded);
        if (first == firstOf.cend())
            firstOf.insert(folded, i);
        else
            hidden[i] = hidden[*first] = true;
    }
    QStringList names;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (hidden[i])
            names << entries[i].first;
    }
    return names;
}

QString plainLatin(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text;
    QString plain;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c < 0x80) {
            plain += one;
        } else if (QChar::category(c) == QChar::Mark_NonSpacing) {
            continue;
        } else if (c == 0x141 || c == 0x142) { // Ł and ł have no decomposition
            plain += QLatin1Char(c == 0x141 ? 'L' : 'l');
        } else {
            const QChar base = one.normalized(QString::NormalizationForm_D).at(0);
            plain += base.unicode() < 0x80 && base.isLetter() ? QString(base) : one;
        }
    }
    return plain;
}

QByteArray isoName(IsoWriteOpts *opts, const QByteArray &name, bool folder)
{
    QByteArray plain = plainLatin(QString::fromUtf8(name)).toUtf8();
    if (plain.isEmpty())
        plain = "_";
    char *made = nullptr;
    size_t length = 0;
    if (iso_conv_name_chars(opts, plain.data(), size_t(plain.size()), &made, &length,
                            3 | (folder ? 0x100 : 0) | 0x200)
        < 0)
        return {};
    const QByteArray result(made, qsizetype(length));
    std::free(made);
    return result;
}

QByteArray sortKey(const QByteArray &id)
{
    const qsizetype version = id.indexOf(';');
    return version < 0 ? id : id.left(version);
}

QByteArray numbered(const QByteArray &id, bool folder, int digits, int number)
{
    QByteArray name = sortKey(id);
    const QByteArray version = id.mid(name.size());
    const qsizetype dot = folder ? -1 : name.lastIndexOf('.');
    QByteArray extension = dot < 0 ? QByteArray() : name.mid(dot);
    name.truncate(dot < 0 ? name.size() : dot);
    qsizetype room = maxIdLength - extension.size() - digits;
    if (room < 1) {
        extension.chop(1 - room);
        room = 1;
    }
    return name.left(room) + QByteArray::number(number).rightJustified(digits, '0') + extension + version;
}

QString isoVolumeId(const QString &label)
{
    QString id;
    for (const char32_t c : plainLatin(label).toUcs4()) {
        const char32_t upper = QChar::toUpper(c);
        const bool dChar = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        id += dChar ? QLatin1Char(char(upper)) : QLatin1Char('_');
        if (id.size() == 32)
            break;
    }
    return id;
}

QString jolietVolumeId(const QString &label)
{
    return label.left(16);
}
