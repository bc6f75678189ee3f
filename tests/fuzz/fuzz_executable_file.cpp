// Feeds arbitrary bytes to the executable reader through a real file, so that its reads of
// parts of the file see every odd layout.

#include "core/ExecutableImage.h"
#include "core/IconSource.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.exe"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const ExecutableImage image = ExecutableImage::fromFile(path);
    (void)image.isShellExecutable();
    (void)image.versionResource();
    for (const quint16 type : {3, 14, 16}) {
        for (const ExecutableImage::Resource &r : image.firstLanguages(type))
            (void)image.resourceData(type, r.name.id);
    }
    const IconSource icons(path);
    for (int i = 0; i < icons.count() && i < 16; ++i)
        (void)icons.icoFile(i);
    return 0;
}
