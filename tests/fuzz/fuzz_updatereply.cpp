// Feeds arbitrary bytes to the update check as the server's reply, read as the about window
// reads it: the profile reader on the bytes, the reply taken into the update state, the
// version comparison and the check of the addresses it may open.

#include "core/ProfileFile.h"
#include "core/UpdateCheck.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ProfileFile reply =
        ProfileFile::fromBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    UpdateState state;
    applyUpdateData(reply, QStringLiteral("http://www.quorvale.example/"), state);
    (void)isNewerVersion(QStringLiteral("1.2.0.28"), state.publishedVersion);
    if (isNewerVersion(state.publishedVersion, state.publishedVersion))
        __builtin_trap(); // no version is newer than itself
    for (const QString &address : {state.homePage, state.noticeTarget, state.downloadAddress, state.news})
        (void)isOpenableAddress(address);
    return 0;
}
