// Feeds arbitrary bytes to the profile reader and the autorun reader built on it.

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/KeptLines.h"
#include "core/ProfileFile.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ProfileFile profile = ProfileFile::fromBytes(bytes);
    for (const QString &key : profile.keys(u"autorun"))
        (void)profile.value(u"autorun", key);
    const AutorunContent content = readAutorun(profile);
    MenuDocument doc;
    doc.autoStartProgram = content.open;
    doc.items = content.items;
    (void)autorunBytes(doc);
    (void)autorunBytesKeeping(doc, bytes);
    return 0;
}
