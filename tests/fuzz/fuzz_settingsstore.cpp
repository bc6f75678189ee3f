// Feeds arbitrary bytes to the parser of the settings store file. What it reads must come
// back unchanged after a write and a read, as the store rewrites the file on every change.

#include "platform/SettingsStore.h"

#include <QByteArray>

namespace {

bool same(const QList<SettingsStoreKey> &a, const QList<SettingsStoreKey> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].path != b[i].path || a[i].values.size() != b[i].values.size())
            return false;
        for (qsizetype j = 0; j < a[i].values.size(); ++j) {
            if (a[i].values[j].name != b[i].values[j].name || a[i].values[j].data != b[i].values[j].data)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QList<SettingsStoreKey>> keys =
        parseSettingsStore(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!keys)
        return 0;
    const std::optional<QList<SettingsStoreKey>> again = parseSettingsStore(settingsStoreBytes(*keys));
    if (!again || !same(*keys, *again))
        __builtin_trap();
    return 0;
}
