#include "platform/SettingsStore.h"

#include "core/AtomicFile.h"
#include "core/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

namespace {

using Value = SettingsKey::Value;
using Key = SettingsStoreKey;

// A few thousand recent files take kilobytes; a file this large is not the program's own.
constexpr qint64 maxStoreSize = 64 * 1024 * 1024;

QString normalisedKeyPath(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (p.startsWith(QLatin1Char('\\')))
        p.remove(0, 1);
    while (p.endsWith(QLatin1Char('\\')))
        p.chop(1);
    return p;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

template <typename List>
auto findNamed(List &list, const QString &name, QString (*nameOf)(const typename List::value_type &))
{
    return std::find_if(list.begin(), list.end(),
                        [&](const auto &item) { return sameName(nameOf(item), name); });
}

QString keyName(const Key &k) { return k.path; }
QString valueName(const Value &v) { return v.name; }

// The store file as a list of keys. A file that is there but cannot be taken as the store
// (not a regular file, too large, unreadable, not the store's format) yields ok == false.
QList<Key> readStore(const QString &file, bool *ok)
{
    QByteArray bytes;
    const FileReadError error = readRegularFile(file, maxStoreSize, &bytes);
    if (error == FileReadError::Missing) {
        *ok = true;
        return {};
    }
    const std::optional<QList<Key>> keys =
        error == FileReadError::None ? parseSettingsStore(bytes) : std::nullopt;
    *ok = keys.has_value();
    return keys.value_or(QList<Key>());
}

// Moves a store that cannot be read aside, for the user to look at, under a name of its own:
// the time, and a number when that name is taken.
bool setAside(const QString &storeFile)
{
    const QString stem = storeFile + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    for (int n = 1; n <= 100; ++n) {
        const QString aside = n == 1 ? stem : stem + QStringLiteral("-%1").arg(n);
        const QFileInfo taken(aside);
        if (!taken.exists() && !taken.isSymLink())
            return QFile::rename(storeFile, aside);
    }
    return false;
}

} // namespace

std::optional<QList<SettingsStoreKey>> parseSettingsStore(const QByteArray &bytes)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject() || !doc.object().value(u"keys").isArray())
        return std::nullopt;
    QList<Key> keys;
    for (const QJsonValue &k : doc.object().value(u"keys").toArray()) {
        Key key{k[u"path"].toString(), {}};
        for (const QJsonValue &v : k[u"values"].toArray())
            key.values.append({v[u"name"].toString(), v[u"data"].toString()});
        keys.append(key);
    }
    return keys;
}

QByteArray settingsStoreBytes(const QList<SettingsStoreKey> &keys)
{
    QJsonArray array;
    for (const Key &key : keys) {
        QJsonArray values;
        for (const Value &v : key.values)
            values.append(QJsonObject{{QStringLiteral("name"), v.name}, {QStringLiteral("data"), v.data}});
        array.append(QJsonObject{{QStringLiteral("path"), key.path}, {QStringLiteral("values"), values}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("keys"), array}}).toJson(QJsonDocument::Indented);
}

SettingsKey::SettingsKey(const QString &path, const QString &storeFile)
    : m_path(normalisedKeyPath(path))
    , m_storeFile(storeFile)
{
    m_open = update(nullptr, nullptr);
}

QString SettingsKey::defaultStoreFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pelmora/registry.json");
}

std::optional<QString> SettingsKey::value(const QString &name) const
{
    const auto it = std::find_if(m_values.cbegin(), m_values.cend(),
                                 [&](const Value &v) { return sameName(v.name, name); });
    return it == m_values.cend() ? std::nullopt : std::optional<QString>(it->data);
}

QStringList SettingsKey::valueNames() const
{
    QStringList names;
    for (const Value &v : m_values)
        names << v.name;
    return names;
}

bool SettingsKey::setValue(const QString &name, const QString &data)
{
    return m_open && update(&name, &data);
}

// Reads the store under its lock, creates the key and sets the value when asked, and writes
// the store back when anything changed. Keeps this key's values as found.
bool SettingsKey::update(const QString *name, const QString *data)
{
    // Opening a key that is there changes nothing, and needs no lock (whose file Qt writes
    // through to the disk): the store is only ever replaced whole, so it reads whole.
    if (!name) {
        bool readable = false;
        const QList<Key> keys = readStore(m_storeFile, &readable);
        const auto key = findNamed(keys, m_path, keyName);
        if (readable && key != keys.end()) {
            m_values = key->values;
            return true;
        }
    }
    // Which discs the user prepared is theirs alone: the folder is made private, the store too.
    const QString folder = QFileInfo(m_storeFile).absolutePath();
    // Another copy may make it at the same moment: what counts is that it is there.
    if (!QFileInfo(folder).isDir() && QDir().mkpath(QFileInfo(folder).path()) && QDir().mkdir(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!QFileInfo(folder).isDir())
        return false;
    const QString lockFile = m_storeFile + QStringLiteral(".lock");
    // QLockFile reads a lock file it finds, and would wait on a FIFO or read a device for ever.
    const QFileInfo lockInfo(lockFile);
    if (lockInfo.exists() && !lockInfo.isFile())
        return false;
    QLockFile lock(lockFile);
    if (!lock.tryLock(10000))
        return false;

    bool readable = false;
    QList<Key> keys = readStore(m_storeFile, &readable);
    // Keep a store we cannot read for the user to look at, rather than overwrite it.
    if (!readable && !setAside(m_storeFile))
        return false;

    bool changed = !readable;
    auto key = findNamed(keys, m_path, keyName);
    if (key == keys.end()) {
        keys.append(Key{m_path, {}});
        key = keys.end() - 1;
        changed = true;
    }
    if (name) {
        auto value = findNamed(key->values, *name, valueName);
        if (value == key->values.end()) {
            key->values.append({*name, *data});
            changed = true;
        } else if (value->data != *data) {
            value->data = *data;
            changed = true;
        }
    }
    const QList<Value> values = key->values;
    if (changed && !writeFileAtomically(m_storeFile, settingsStoreBytes(keys), nullptr, FileAccess::OwnerOnly))
        return false;
    m_values = values;
    return true;
}
