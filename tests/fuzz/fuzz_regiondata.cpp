// Feeds arbitrary bytes to the reader of stored window outlines and writes back what it read.

#include "core/RegionData.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QRect> rects = RegionData::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (RegionData::read(RegionData::write(rects)).size() != rects.size())
        __builtin_trap(); // what is read must survive a write and a read
    return 0;
}
