// Feeds arbitrary bytes to the icon source, as an .ico file or a program, and draws its icons
// as the icon list does.

#include "core/IconDirectory.h"
#include "core/IconSource.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const IconSource source = IconSource::fromBytes(bytes);
    // The list draws the cells in view; the first ones and the last stand for them all.
    for (int i = 0; i < source.count() && i < 16; ++i)
        (void)drawnImageOf(source.icoFile(i));
    (void)drawnImageOf(source.icoFile(source.count() - 1));
    (void)source.icoFile(-1);
    (void)source.icoFile(source.count());
    return 0;
}
