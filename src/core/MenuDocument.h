#pragma once

#include <QList>
#include <QString>

#include <optional>

// One entry of the drive's context menu.
struct MenuItem
{
    QString label; // caption in the context menu
    QString file;  // the command: a disc path when made in the program, verbatim when read
    // The verb the entry was read under (the key without "shell\"); empty for an entry made in
    // the program. A "shell=" default verb kept on Save follows it. Not compared: every Save
    // renumbers the entries. "= {}" lets {label, file} initialise an item without a warning.
    QString verb = {};

    bool operator==(const MenuItem &o) const { return label == o.label && file == o.file; }
};

// A section that Windows of one processor architecture reads instead of [autorun]
// ("[autorun.amd64]": every 64-bit Windows on x64).
struct ArchitectureSection
{
    QString name;          // in lower case: "autorun.amd64", "autorun.alpha", "autorun.mips", "autorun.ppc"
    QString open;
    QString shellExecute;
    QString icon;          // the value of icon=, "file,number"
    bool hasIcon = false;
    QList<MenuItem> items; // each with its verb
    QString defaultVerb;   // "shell="
};

// Keys of [autorun] that no control edits but that change what Windows does with the disc.
struct KeptKeys
{
    std::optional<QString> useAutoPlay; // "UseAutoPlay=", when the file has it
    QString defaultIcon;                // "defaulticon=": the icon Windows shows instead of icon=
    QString defaultVerb;                // "shell=": the entry run by a double click on the drive
    QList<ArchitectureSection> sections; // in the order above, those the file has
};

// The whole edited state of one disc menu. Paths other than dataFolder are disc paths:
// relative to dataFolder, with "\" between components.
struct MenuDocument
{
    QString dataFolder;       // native path, ends with the native separator when it names a folder
    QString discLabel;
    QString autoStartProgram;
    QString iconFile;
    // The number after the icon file's comma; none: the file alone, whose first icon Windows
    // shows. A negative number is a resource id, not a position.
    std::optional<int> iconIndex;
    QList<MenuItem> items;
    // What the file read holds that Pelmora does not edit (Save keeps its lines as they are),
    // for the disc check: the document of "shellexecute=", and whether [autorun] is there with
    // a key in it. A document not read from a file is written with the section.
    QString shellExecute;
    KeptKeys kept;
    bool autorunSection = true;
    bool modified = false;
    bool loading = false;
};

// A document is worth writing when it holds at least one item, a label, a program or an icon.
bool hasContent(const MenuDocument &doc);
bool hasContent(qsizetype itemCount, const QString &discLabel, const QString &autoStartProgram,
                const QString &iconFile);
