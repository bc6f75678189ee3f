#pragma once

#include "core/DiscImageLibrary.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <array>
#include <utility>

constexpr int blockSize = 2048;

// The ISO 9660 side of an image as the library laid it out, read from the image's first bytes
// and named anew. The library makes its names of the file names with every letter but A-Z
// as "_" (żółw.ico is ___W.ICO); readers without Joliet or Rock Ridge (DOS, old players) show
// them. Names in plain Latin letters change the records' order and length, so each folder's
// records are sorted and laid out anew in the blocks the library gave it, and the path tables
// written anew in theirs.
class PrimaryTree
{
public:
    enum class Fit { Fits, Crowded, Never };

    PrimaryTree();
    ~PrimaryTree();

    // false while head is too short, with *need how long it must be.
    bool read(const QByteArray &head, qint64 *need);
    // Names every entry by isoName, leaving out the stand-ins whose name starts with
    // roomPrefix. Crowded: crowded lists the folders that no longer hold their records (their
    // paths, as the library's tree has them) and the bytes each lacks.
    Fit rename(IsoWriteOpts *opts, const QByteArray &roomPrefix, QList<std::pair<QByteArray, qint64>> *crowded);
    void write(QByteArray &head) const;

private:
    struct Folder;

    QList<Folder> m_folders;
    QHash<quint32, int> m_at; // by extent
    QList<int> m_queue;       // the folders to read, as they are found
    bool m_broken = false;
    quint32 m_tableSize = 0;
    std::array<quint32, 4> m_tables{}; // first and second little-endian, then big-endian
    QByteArray m_littleTable;
    QByteArray m_bigTable;

    qint64 tableRoom() const;
    int folderAt(quint32 extent);
    bool readFolder(const QByteArray &head, int index, qint64 *need);
    QByteArray realPath(int index) const;
    bool makeTables();
};
