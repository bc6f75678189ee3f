// Feeds arbitrary bytes to the icon directory reader, as an .ico file or an icon of a program
// may hold them.

#include "core/IconDirectory.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)iconImages(bytes);
    (void)drawnImageOf(bytes);
    return 0;
}
