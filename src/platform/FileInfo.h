#pragma once

#include <QString>

// What the version resource of a file says, as far as the program reads it.
struct FileVersionInfo
{
    QString typeName;
    QString companyName;
    QString fileDescription;
    QString fileVersion;
    QString internalName;
    QString legalCopyright;
    QString legalTrademarks;
    QString originalFileName;
    QString productName;
    QString productVersion;
    QString comments;
    QString specialBuild;
    QString privateBuild;
    int fileType = 0; // 0 unknown, 1 application, 2 library, ... 13 installable driver, 19 virtual device
    bool debug = false;
    bool preRelease = false;
    bool specialBuildFlag = false;
    bool privateBuildFlag = false;
    bool patched = false;
    bool infoInferred = false;
    bool isExecutable = false; // a program as the shell sees it; only programs have their strings read
};

// A file as the desktop presents it: its display name and the information of its version
// resource. Nothing here reports an error: what cannot be read stays empty.
class FileInfo
{
public:
    explicit FileInfo(const QString &fileName);

    QString fileName() const { return m_fileName; }
    // The type name comes from the MIME database; the version strings and flags are read only
    // from programs (as the Windows shell decides: not from libraries and drivers). Only a
    // regular file is opened: a FIFO, a device or a socket gets its type name alone.
    void readVersionInfo(FileVersionInfo &info) const;
    // The name as Windows shows it by default: without the extension of a known file type.
    QString displayName() const;

private:
    QString m_fileName;
};

// The running program's own version, four numbers joined by ".".
QString ownVersionText();
