#pragma once

// Writes small but complete Windows program files (PE32, PE32+, NE, plain DOS) carrying any
// resources, so that tests read real file layouts rather than hand-patched bytes.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace ExecutableWriter {

struct ResourceEntry
{
    quint16 type = 0;
    quint16 id = 0;
    quint16 language = 0; // PE only; NE files have no languages
    QByteArray data;
    QString name; // a string name instead of id when not empty
};

// Where the PE writer puts things, for tests that damage a file on purpose.
namespace PeLayout {
constexpr qint64 newHeader = 0x80;                    // "PE\0\0"
constexpr qint64 fileHeader = newHeader + 4;          // IMAGE_FILE_HEADER
constexpr qint64 optionalHeader = fileHeader + 20;    // IMAGE_OPTIONAL_HEADER32/64
constexpr qint64 resourceFileOffset = 0x400;          // the resource directory root
constexpr quint32 resourceRva = 0x2000;
} // namespace PeLayout

// Where the NE writer puts things.
namespace NeLayout {
constexpr qint64 newHeader = 0x80;                    // "NE"
constexpr qint64 resourceTable = newHeader + 0x40;    // starts with the alignment shift
} // namespace NeLayout

// A PE32 (i386) or PE32+ (x86-64) GUI image with a .text section and, when there are
// resources, a .rsrc section whose resource tree has types, names and languages sorted as the
// linker sorts them.
QByteArray writePe(bool pe64, bool dll, const QList<ResourceEntry> &resources);
// A PE32 program as writePe writes it with a .data section of payloadSize zero bytes, an
// installer's payload, between .text and .rsrc. Written to path sparsely: the payload takes
// no disc space. False when the file cannot be written.
bool writePeWithPayload(const QString &path, quint32 payloadSize,
                        const QList<ResourceEntry> &resources);
// A 16-bit Windows application or library module with the resources in its resource table.
// Names are written in CodePage::system().
QByteArray writeNe(bool library, const QList<ResourceEntry> &resources);
// An MZ program whose e_lfanew holds newHeaderOffset, which leads to nothing but DOS code.
QByteArray writeDosProgram(quint32 newHeaderOffset = 0);

struct VersionContent
{
    quint32 fileVersionMS = 0x00010002;
    quint32 fileVersionLS = 0x0000001C;
    quint32 flagsMask = 0x3F;
    quint32 flags = 0;
    quint32 type = 1;
    quint32 subtype = 0;
    QList<QPair<quint16, quint16>> translations; // (language, code page)
    QList<QPair<QString, QList<QPair<QString, QString>>>> tables; // name -> (key, value)
    bool withFixed = true;
};

// A VS_VERSIONINFO block: UTF-16 as PE files hold it (wide), or 8-bit text in
// CodePage::system() as NE files hold it. The product version equals the file version.
QByteArray versionBlock(const VersionContent &content, bool wide);

} // namespace ExecutableWriter
