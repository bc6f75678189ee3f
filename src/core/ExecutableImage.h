#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A read-only look into a Windows program or library file (DOS, 16-bit NE, PE32, PE32+):
// what kind of file it is and the resources it carries, read straight from the bytes without
// loading anything. Every offset in the file is checked before it is followed, so a damaged or
// hostile file yields fewer resources or none, never a crash.
class ExecutableImage
{
public:
    enum class Kind { NotExecutable, Dos, Pe32, Pe64, Ne };

    // Files above this size are not looked into: no icon file or program on a disc comes near it.
    static constexpr qint64 maxFileSize = qint64(512) * 1024 * 1024;

    static ExecutableImage fromBytes(const QByteArray &bytes);
    // Reads the headers and as much of a PE file as its sections reach (not the data appended
    // after them); other files whole. An unreadable file, or one whose needed part is over
    // maxFileSize, reads as NotExecutable.
    static ExecutableImage fromFile(const QString &path);

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

    // Resources of one numeric type (3 icon, 14 icon group, 16 version, ...) in directory order.
    QList<Resource> resources(quint16 type) const;
    // The data of the first resource of the type with that numeric id, in any language; empty
    // when there is none.
    QByteArray resourceData(quint16 type, quint16 id) const;
    // The data of the first version resource, or empty.
    QByteArray versionResource() const;
    // PE version blocks hold UTF-16 text, NE ones 8-bit text.
    bool versionIsWide() const { return m_kind == Kind::Pe32 || m_kind == Kind::Pe64; }

private:
    struct Section
    {
        quint32 virtualAddress = 0;
        quint32 virtualSize = 0;
        quint32 rawOffset = 0;
        quint32 rawSize = 0;
    };
    // A resource found in the directory, before its data is copied out.
    struct Found
    {
        ResourceName name;
        quint16 language = 0;
        qint64 offset = 0;
        qint64 size = 0;
    };

    void readPe(qint64 peOffset);
    void readNe(qint64 neOffset);
    qint64 fileOffset(quint32 rva, quint32 size, qint64 *regionEnd = nullptr) const;
    QList<Found> peResources(quint16 type) const;
    QList<Found> neResources(quint16 type) const;

    QByteArray m_bytes;
    Kind m_kind = Kind::NotExecutable;
    bool m_dll = false;
    // PE: the mapped sections and the file offset of the resource directory (-1: none) with
    // the end of the section that holds it.
    QList<Section> m_sections;
    quint32 m_sizeOfHeaders = 0;
    qint64 m_resourceRoot = -1;
    qint64 m_resourceEnd = 0;
    // NE: the file offset of the resource table, -1 when the module has none.
    qint64 m_neResourceTable = -1;
};
