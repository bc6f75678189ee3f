#include "app/RecentList.h"

#include "platform/SettingsStore.h"

const QString RecentList::filesKey = QStringLiteral("Software\\Quorvale\\Pelmora\\Open_File_MRU");
const QString RecentList::foldersKey = QStringLiteral("Software\\Quorvale\\Pelmora\\Open_Dir_MRU");

RecentList::RecentList(const QString &keyPath)
    : m_keyPath(keyPath)
{
}

bool RecentList::record(const QString &path) const
{
    SettingsKey key(m_keyPath);
    if (!key.isOpen())
        return false;
    return key.value(path).has_value() || key.setValue(path, QString());
}

QStringList RecentList::entries() const
{
    return SettingsKey(m_keyPath).valueNames();
}
