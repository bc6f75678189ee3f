#include "core/DiscImageNames.h"

#include "core/DiscImage.h"

#include <cstdlib>

namespace {

constexpr int maxIdLength = 31; // name, dot and extension, from ISO 9660 level 2 on

} // namespace

QString plainLatin(const QString &text)
{
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
