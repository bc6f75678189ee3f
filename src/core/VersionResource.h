#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// VS_FIXEDFILEINFO, field for field.
struct FixedFileInfo
{
    quint32 signature = 0;
    quint32 structVersion = 0;
    quint32 fileVersionMS = 0;
    quint32 fileVersionLS = 0;
    quint32 productVersionMS = 0;
    quint32 productVersionLS = 0;
    quint32 flagsMask = 0;
    quint32 flags = 0;
    quint32 os = 0;
    quint32 type = 0;
    quint32 subtype = 0;
    quint32 dateMS = 0;
    quint32 dateLS = 0;
};

// What a version resource (VS_VERSIONINFO) holds.
struct VersionResource
{
    // Present when the root value is a VS_FIXEDFILEINFO (signature 0xFEEF04BD).
    std::optional<FixedFileInfo> fixed;
    // \VarFileInfo\Translation in file order: (language, code page).
    QList<QPair<quint16, quint16>> translations;
    // String table name as written in the file (e.g. "041504e2") -> key -> value. Of tables
    // or keys whose names differ only in letter case the first one is kept, as lookups find it.
    QHash<QString, QHash<QString, QString>> tables;
};

// wide: the UTF-16 blocks of PE files; otherwise the 8-bit blocks of NE files, whose text is
// in CodePage::system(). A damaged block gives whatever could be read before the damage.
VersionResource parseVersionResource(const QByteArray &data, bool wide);

// The value of key in the string table of the first translation ("%04x%04x" of language and
// code page); table and key names compare without regard to letter case. Empty when there is
// no translation, no such table or no such key.
QString versionString(const VersionResource &version, const QString &key);

// The number the file-type column shows for a fixed type and subtype (VFT_* and VFT2_*):
// 0 unknown, 1 application, 2 DLL, 3 static library, 4..14 drivers (unknown, communications,
// printer, keyboard, language, display, mouse, network, system, installable, sound),
// 15..18 fonts (unknown, raster, vector, TrueType), 19 virtual device. Anything else is 0.
int fileTypeValue(quint32 type, quint32 subtype);

// True when bit is set in the flags and also in the mask that says which flags are valid.
bool fixedFlag(const FixedFileInfo &info, quint32 bit);
