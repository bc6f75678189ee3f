#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A read-only look into a Windows program or library file (DOS, 16-bit NE, PE32, PE32+):
// what kind of file it is and the resources it carries, read straight from the bytes without
// loading anything. Every offset in the file is checked before it is followed, so a damaged or
// hostile file yields fewer resources or none, never a crash. The resource tree is walked once,
// when the image is made.
class ExecutableImage
{
public:
    enum class Kind { NotExecutable, Dos, Pe32, Pe64, Ne };

    // No icon file or program on a disc comes near this size: 16-bit and DOS files above it are
    // not looked into, nor resources that would need more of a PE file to be read.
    static constexpr qint64 maxFileSize = qint64(512) * 1024 * 1024;

    static ExecutableImage fromBytes(const QByteArray &bytes);
    // Opens regular files only (a pipe or a device could block or never end). Of a PE file
    // reads the headers, the section that holds the resource directory and what the resources
    // point at elsewhere, never the rest of the sections or what follows them (an installer's
    // payload); an NE file whole. A file that cannot be read, or a DOS or NE file over
    // maxFileSize, reads as NotExecutable.
    static ExecutableImage fromFile(const QString &path);
    // The same without the bytes of the icons' images (resource type 3), for a reader that
    // reads them itself from places(3), which then lists those that lie inside the file.
    static ExecutableImage withoutIconImages(const QString &path);

    // What a program's headers say, read without its resources: its kind and, of a PE image,
    // the machine it is built for (the file header's field: 0x14C x86, 0x8664 x64, 0xAA64
    // ARM64, ...; 0 for other kinds).
    struct Header
    {
        Kind kind = Kind::NotExecutable;
        quint16 machine = 0;
    };
    // The headers of the regular file at path: two small reads, however large the file is.
    static Header headerOf(const QString &path);

    Kind kind() const { return m_kind; }
    // PE: the DLL bit of the file header; NE: a library module.
    bool isDll() const { return m_dll; }
    // As the shell answers "is this a program": DOS programs, every NE module and PE images
    // that are not DLLs.
    bool isShellExecutable() const;

    struct ResourceName
    {
        bool numeric = true;
        quint16 id = 0;
        QString name;
    };
    struct Resource
    {
        ResourceName type;
        ResourceName name;
        quint16 language = 0; // always 0 in NE files, which have no languages
        QByteArray data;
    };

    // Resources of one numeric type (3 icon, 14 icon group, 16 version, ...) in directory order,
    // every language of a name; those whose data is damaged are left out.
    QList<Resource> resources(quint16 type) const;
    // One resource per name of the type, in directory order: its first language, which Windows
    // takes when no language is asked for (NE files: every resource). The data is empty when
    // that entry is damaged, so a damaged name still takes its place in the order.
    QList<Resource> firstLanguages(quint16 type) const;
    // Where the intact resources of one type lie in the file (or the bytes given), in
    // directory order, every language: for readers that take their data later, only when
    // they need it.
    struct Place
    {
        ResourceName name;
        quint16 language = 0;
        qint64 offset = 0;
        qint64 size = 0;
    };
    QList<Place> places(quint16 type) const;
    // The data of the first resource of the type with that numeric id, in any language; empty
    // when there is none.
    QByteArray resourceData(quint16 type, quint16 id) const;
    // The data of the first version resource, or empty.
    QByteArray versionResource() const;
    // PE version blocks hold UTF-16 text, NE ones 8-bit text.
    bool versionIsWide() const { return m_kind == Kind::Pe32 || m_kind == Kind::Pe64; }

    // How many bytes fromFile read from the file; 0 for an image made from bytes.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    class Source;
    struct Section
    {
        quint32 virtualAddress = 0;
        quint32 virtualSize = 0;
        quint32 rawOffset = 0;
        quint32 rawSize = 0;
    };
    // Bytes of the file held in memory, from file offset at.
    struct Part
    {
        qint64 at = 0;
        QByteArray bytes;
    };
    // A resource of the tree; offset -1 when its data entry is damaged.
    struct Found
    {
        quint16 type = 0;
        ResourceName name;
        quint16 language = 0;
        bool firstLanguage = false;
        qint64 offset = -1;
        qint64 size = 0;
    };

    static ExecutableImage fromFile(const QString &path, bool leaveIconImages);
    void read(Source &source);
    void readPe(Source &source, qint64 peOffset);
    void readNe(const QByteArray &bytes, qint64 neOffset);
    qint64 fileOffset(quint32 rva, quint32 size, qint64 *regionEnd = nullptr) const;
    // Returns how far into the file the tree's structures reach, end when none lies past it.
    qint64 indexPe(const Part &tree, qint64 root, qint64 end);
    void indexNe(const QByteArray &bytes, qint64 table);
    bool add(const Found &found);
    void readOutsideParts(Source &source);
    std::optional<QByteArray> dataAt(qint64 offset, qint64 size) const;
    bool holds(qint64 offset, qint64 size) const;
    QList<Resource> copyOut(quint16 type, bool firstLanguagesOnly) const;

    Kind m_kind = Kind::NotExecutable;
    bool m_dll = false;
    qint64 m_fileSize = 0;
    bool m_iconImagesLeft = false; // by withoutIconImages()
    qint64 m_bytesRead = 0;
    // PE: the mapped sections, for turning addresses into file offsets.
    QList<Section> m_sections;
    quint32 m_sizeOfHeaders = 0;
    // The bytes resources are copied from: the resource tree's part first, then the ranges
    // outside it, sorted and apart.
    QList<Part> m_parts;
    QList<Found> m_index;
    // The first intact resource of each (type, id), for lookups by id.
    QHash<quint32, qsizetype> m_byId;
};
