#include "JsonText.h"

void JsonText::startValue()
{
    if (!m_first)
        m_bytes += ',';
    m_first = false;
}

void JsonText::beginObject()
{
    startValue();
    m_bytes += '{';
    m_first = true;
}

void JsonText::endObject()
{
    m_bytes += '}';
    m_first = false;
    writeOut();
}

void JsonText::writeOut()
{
    constexpr qsizetype chunk = 256 * 1024;
    if (!m_out || m_bytes.size() < chunk)
        return;
    std::fwrite(m_bytes.constData(), 1, size_t(m_bytes.size()), m_out);
    m_bytes.resize(0); // its room kept for the next chunk
}

void JsonText::beginArray()
{
    startValue();
    m_bytes += '[';
    m_first = true;
}

void JsonText::endArray()
{
    m_bytes += ']';
    m_first = false;
}

void JsonText::key(const char *name)
{
    startValue();
    m_bytes += '"';
    m_bytes += name;
    m_bytes += "\":";
    m_first = true;
}

void JsonText::key(QStringView name)
{
    string(name);
    m_bytes += ':';
    m_first = true;
}

void JsonText::boolean(bool value)
{
    startValue();
    m_bytes += value ? "true" : "false";
}

void JsonText::number(int value)
{
    startValue();
    m_bytes += QByteArray::number(value);
}

void JsonText::null()
{
    startValue();
    m_bytes += "null";
}

void JsonText::string(QStringView text)
{
    startValue();
    m_bytes += '"';
    appendEscaped(m_bytes, text);
    m_bytes += '"';
    writeOut();
}

// As QJsonDocument escapes: the quote, the backslash and the control characters; other
// characters in UTF-8, a surrogate without its partner as "\uXXXX".
void JsonText::appendEscaped(QByteArray &bytes, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = bytes.size();
    bytes.resize(start + 6 * text.size()); // the most a character takes is "\uXXXX"
    char *out = bytes.data() + start;
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    while (c != end) {
        const char16_t u = *c++;
        if (u >= 0x20 && u < 0x80 && u != u'"' && u != u'\\') {
            *out++ = char(u);
        } else if (u < 0x80) {
            *out++ = '\\';
            switch (u) {
            case u'"': *out++ = '"'; break;
            case u'\\': *out++ = '\\'; break;
            case u'\b': *out++ = 'b'; break;
            case u'\f': *out++ = 'f'; break;
            case u'\n': *out++ = 'n'; break;
            case u'\r': *out++ = 'r'; break;
            case u'\t': *out++ = 't'; break;
            default:
                *out++ = 'u';
                *out++ = '0';
                *out++ = '0';
                *out++ = hex[u >> 4];
                *out++ = hex[u & 0xF];
            }
        } else if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (!QChar::isSurrogate(u)) {
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && c != end && QChar::isLowSurrogate(*c)) {
            const char32_t code = QChar::surrogateToUcs4(u, *c++);
            *out++ = char(0xF0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3F));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
            *out++ = char(0x80 | (code & 0x3F));
        } else {
            *out++ = '\\';
            *out++ = 'u';
            *out++ = hex[u >> 12];
            *out++ = hex[(u >> 8) & 0xF];
            *out++ = hex[(u >> 4) & 0xF];
            *out++ = hex[u & 0xF];
        }
    }
    bytes.resize(out - bytes.constData());
}
