#pragma once

#include <QString>

// A temporary drive letter for a folder, so that the folder can be tried as the disc it will
// become. Windows maps letters with "subst"; here the letters are those of the user's Wine
// prefix ($WINEPREFIX, else ~/.wine): letter X stands for the link dosdevices/x: there.
// A subst drive vanishes when the computer restarts: every link made here is recorded with
// the system's boot id, and the first start in a later boot removes it.
class PreviewDrive
{
public:
    PreviewDrive();

    // The Wine prefix, and whether it exists with its dosdevices folder; nothing is ever
    // created in a prefix that does not.
    QString prefix() const { return m_prefix; }
    bool hasPrefix() const;
    // The free letter nearest the end of the alphabet, "A" to "Z"; empty when none is free.
    QString freeLetter() const;
    // Makes letter stand for folder and records the link; false when that could not be done.
    bool map(const QString &letter, const QString &folder) const;
    // Removes the letter's mapping, when it is a link at all, and its record.
    bool unmap(const QString &letter) const;
    // Where the letter's link lives.
    QString linkOf(const QString &letter) const;

    // Removes the links recorded in an earlier boot that still point where they were made to
    // point; a link that was changed or made by anyone else is never touched. Returns how
    // many were removed.
    static int removeLinksOfEarlierBoots();
    // The system's boot id; empty where the system has none.
    static QString bootId();
    // Records a link as made in boot (for the start-up clean-up).
    static bool recordLink(const QString &link, const QString &target, const QString &boot);

    // The name of the volume that holds path, and that volume's root ("the drive part").
    static QString volumeLabel(const QString &path);
    static QString volumeRoot(const QString &path);

private:
    QString m_prefix;
    QString m_devices; // the prefix's dosdevices folder
};
