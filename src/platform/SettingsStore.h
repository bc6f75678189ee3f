#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The per-user settings store, standing in for the registry under HKEY_CURRENT_USER: keys
// named by paths ("Software\Quorvale\Pelmora"), string values under each key, names that
// are unique without regard to letter case and listed in the order of first creation.
// Everything lives in one file in the XDG config folder. Every change re-reads the file
// under a lock and replaces it atomically, so two running copies lose nothing and a crash
// never leaves it half-written.
class SettingsKey
{
public:
    // Opens the key, creating it (empty) when it is missing. isOpen() tells whether that worked.
    explicit SettingsKey(const QString &path, const QString &storeFile = defaultStoreFile());

    static QString defaultStoreFile();

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // The value as it was when the key was opened or last written; the default value has
    // the empty name.
    std::optional<QString> value(const QString &name) const;
    QStringList valueNames() const;

    // Creates or overwrites the value (an existing value keeps its place and its spelling).
    // False when the store could not be written; the store is then unchanged.
    bool setValue(const QString &name, const QString &data);

    struct Value
    {
        QString name;
        QString data;
    };

private:
    bool update(const QString *name, const QString *data);

    QString m_path;
    QString m_storeFile;
    QList<Value> m_values;
    bool m_open = false;
};

// One key of the store file.
struct SettingsStoreKey
{
    QString path;
    QList<SettingsKey::Value> values;
};

// The keys that the bytes of a store file hold, in file order; nullopt when the bytes are
// not the store's format.
std::optional<QList<SettingsStoreKey>> parseSettingsStore(const QByteArray &bytes);
// The bytes of a store file that holds keys.
QByteArray settingsStoreBytes(const QList<SettingsStoreKey> &keys);
