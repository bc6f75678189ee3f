#include "core/CaseFolding.h"

QStringView foldedCase(QStringView text, QString &spare)
{
    const char16_t *const chars = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && chars[i] < 0x80 && !(chars[i] >= u'A' && chars[i] <= u'Z'))
        ++i;
    if (i == size)
        return text;
    if (chars[i] < 0x80) {
        // ASCII up to here: lowered into spare while the rest is ASCII too.
        spare.resize(size);
        char16_t *out = reinterpret_cast<char16_t *>(spare.data());
        for (qsizetype j = 0; j < size; ++j) {
            const char16_t c = chars[j];
            if (c >= 0x80)
                break;
            out[j] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
            if (j + 1 == size)
                return spare;
        }
    }
    spare = text.toString().toCaseFolded();
    return spare;
}
