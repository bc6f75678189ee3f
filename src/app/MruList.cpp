#include "app/MruList.h"

#include "platform/SettingsStore.h"

const QString MruList::filesKey = QStringLiteral("Software\\Quorvale\\Pelmora\\Open_File_MRU");
const QString MruList::foldersKey = QStringLiteral("Software\\Quorvale\\Pelmora\\Open_Dir_MRU");

MruList::MruList(const QString &keyPath)
    : m_keyPath(keyPath)
{
}

bool MruList::record(const QString &path) const
{
    SettingsKey key(m_keyPath);
    if (!key.isOpen())
        return false;
    return key.value(path).has_value() || key.setValue(path, QString());
}

QStringList MruList::entries() const
{
    return SettingsKey(m_keyPath).valueNames();
}
