#pragma once

#include <QString>

#include <memory>
#include <vector>

// Disc paths are what autorun.inf holds: relative to the data folder, components separated
// by "\". Windows reads a disc without regard to letter case, so turning one into a native
// path matches each component case-insensitively when no exact match exists.

// The native path of discPath under dataFolder (which ends with the native separator).
// Components that exist on disk take their on-disk spelling; the rest stay as written.
QString nativePathOf(const QString &dataFolder, const QString &discPath);

// True when discPath names an existing file (not a folder) under dataFolder. One leading
// "\" starts at the root of the disc (the data folder), as Windows joins such a path to the
// drive. An empty path, an empty component (a doubled "\") or a drive-absolute path names
// nothing.
bool discFileExists(const QString &dataFolder, const QString &discPath);

// The files of a data folder for one look at many disc paths, such as the disc check's: each
// folder is listed once, when a path first leads into it, and then answers from its listing
// without asking the file system again. Changes made after a folder was listed are not seen.
class DiscFiles
{
public:
    explicit DiscFiles(const QString &dataFolder);
    ~DiscFiles();

    // discFileExists(dataFolder, discPath) from the listings.
    bool exists(QStringView discPath);
    // The native path of the file discPath names, spelled as on disk; empty when there is none.
    QString nativePathOf(QStringView discPath);

private:
    struct Entry;
    struct Folder;
    // A new listing of the folder at path (ending with the separator).
    Folder *listed(const QString &path);
    bool lookUp(QStringView discPath);

    std::vector<std::unique_ptr<Folder>> m_folders;
    Folder *m_root = nullptr;
    Folder *m_lastFolder = nullptr; // the folder of the last path asked about, found as m_lastFolderPath
    QString m_lastFolderPath;
    QString m_lastPath; // the last path asked about, and the answer
    bool m_lastAnswer = false;
    QString m_lastNative; // the file it names, when it does
    QString m_spare; // room for a folded name
};

// The disc path of a native path inside dataFolder: dataFolder's length of characters is
// dropped, unchecked, and "/" becomes "\". Callers pass paths they found under dataFolder,
// so nothing is resolved: the path keeps the spelling it was found by, links and all.
QString discPathOf(const QString &dataFolder, const QString &nativePath);

// The default disc label of a folder: its last component (the text after the last separator,
// once a trailing separator is dropped). The root gives the empty text.
QString folderName(const QString &folder);

// Whether a native path names a program: its extension (from the last dot of its name) is
// ".exe" in any letter case. Only the name is looked at.
bool isProgramPath(const QString &path);
