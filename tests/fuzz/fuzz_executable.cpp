// Feeds arbitrary bytes to the executable reader and to the version parser, both as the file
// says and the other way round, since a damaged file can claim either.

#include "core/ExecutableImage.h"
#include "core/VersionResource.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ExecutableImage image = ExecutableImage::fromBytes(bytes);
    (void)image.isShellExecutable();
    for (const quint16 type : {3, 14, 16}) {
        for (const ExecutableImage::Resource &r : image.resources(type))
            (void)image.resourceData(type, r.name.id);
    }
    const QByteArray version = image.versionResource();
    // The bytes themselves as a block too, so that the parser sees inputs of its own.
    for (const QByteArray &block : {version, bytes}) {
        for (const bool wide : {true, false}) {
            const VersionResource parsed = parseVersionResource(block, wide);
            (void)versionString(parsed, QStringLiteral("FileDescription"));
            if (parsed.fixed)
                (void)fileTypeValue(parsed.fixed->type, parsed.fixed->subtype);
        }
    }
    return 0;
}
