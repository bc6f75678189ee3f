#include "core/CodePage.h"

#include <QList>

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char *const defaultCodePage = "windows-1250";
}

CodePage::CodePage(const QByteArray &name)
    : m_name(name)
{
    if (m_name.isEmpty() || !QStringDecoder(m_name.constData()).isValid())
        m_name = defaultCodePage;
    m_fromUnicode.fill('?');

    // Every byte value decoded at once: a page that gives one character for each without an
    // error is a single-byte page, and the characters are its table. Any other is looked at
    // byte by byte.
    char bytes[256];
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    QStringDecoder all(m_name.constData(), QStringConverter::Flag::Stateless);
    const QString chars = all.decode(QByteArrayView(bytes, 256));
    m_singleByte = chars.size() == 256 && !all.hasError();
    for (int b = 0; b < 256 && m_singleByte; ++b) {
        m_toUnicode[b] = chars[b].unicode();
        m_fromUnicode[chars[b].unicode()] = bytes[b];
        m_held.set(chars[b].unicode());
    }
    if (m_singleByte)
        return;

    m_singleByte = true;
    for (int b = 0; b < 256 && m_singleByte; ++b) {
        const char byte = char(b);
        QStringDecoder decoder(m_name.constData(), QStringConverter::Flag::Stateless);
        const QString c = decoder.decode(QByteArrayView(&byte, 1));
        m_singleByte = c.size() == 1 && !decoder.hasError();
        if (m_singleByte) {
            m_toUnicode[b] = c[0].unicode();
            m_fromUnicode[c[0].unicode()] = byte;
            m_held.set(c[0].unicode());
        }
    }
}

const CodePage &CodePage::system()
{
    static const CodePage page(qgetenv("PELMORA_CODEPAGE"));
    return page;
}

QString CodePage::decode(QByteArrayView bytes) const
{
    if (!m_singleByte) {
        QStringDecoder decoder(m_name.constData(), QStringConverter::Flag::Stateless);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(m_toUnicode[uchar(bytes[i])]);
    return text;
}

QByteArray CodePage::encode(QStringView text) const
{
    if (!m_singleByte) {
        QStringEncoder encoder(m_name.constData(), QStringConverter::Flag::Stateless);
        return encoder.encode(text);
    }
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character outside the page, one question mark
        *out++ = m_fromUnicode[c];
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QString CodePage::lostCharacters(QStringView text) const
{
    if (holds(text))
        return {};
    QString lost;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!holds(one) && !lost.contains(one))
            lost += one;
    }
    return lost;
}

bool CodePage::holds(QStringView text) const
{
    if (!m_singleByte)
        return decode(encode(text)) == text;
    // A character of the page comes back as itself; any other, a surrogate among them, as "?".
    for (const QChar c : text) {
        if (!m_held.test(c.unicode()))
            return false;
    }
    return true;
}
