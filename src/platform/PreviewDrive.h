#pragma once

#include <QString>

// A temporary drive letter for a folder, so that the folder can be tried as the disc it will
// become. Windows maps letters with "subst"; here the letters are those of the user's Wine
// prefix ($WINEPREFIX, else ~/.wine): letter X stands for the link dosdevices/x: there.
class PreviewDrive
{
public:
    PreviewDrive();

    // The free letter nearest the end of the alphabet, "A" to "Z"; empty when none is free.
    QString freeLetter() const;
    // Makes letter stand for folder; false when that could not be done.
    bool map(const QString &letter, const QString &folder) const;
    // Removes the letter's mapping, when it is a mapping (a link) at all.
    bool unmap(const QString &letter) const;
    // Where the letter's link lives.
    QString linkOf(const QString &letter) const;

    // The name of the volume that holds path, and that volume's root ("the drive part").
    static QString volumeLabel(const QString &path);
    static QString volumeRoot(const QString &path);

private:
    QString m_devices; // the prefix's dosdevices folder
};
