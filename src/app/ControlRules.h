#pragma once

// Which of the main window's controls are enabled and shown, decided in one place from what
// the window holds. Nothing here touches a widget: the window gathers its state, asks, and
// applies the answer.

enum class OpenPanel { None, AutoStart, Item };

struct WindowState
{
    bool folderTaken = false;  // a data folder is the root of the contents area
    bool folderThere = false;  // and it is still on disc (nothing is written outside it)
    bool hasContent = false;   // the document is worth writing
    bool saveInsteadOfCreate = false; // since a file was read or created (see MainWindow)
    bool menuFromFile = false; // the menu was read from or written to the folder's file
    bool fileOnDisc = false;   // the folder's autorun.inf exists
    bool modified = false;     // edited since it was last read or written
    bool programSelected = false; // the tree's selection is a program
    bool itemSelected = false;    // a row of the item list is selected
    OpenPanel panel = OpenPanel::None;
};

struct ControlStates
{
    bool create = false, createShown = true;
    bool save = false, saveShown = false;
    bool autoStart = false;
    bool folderArea = false; // the folder contents group and the lines under the tree
    bool folderTree = false; // the tree and its filter
    bool add = false;
    bool remove = false, edit = false, refresh = false;
    bool fileCommands = false; // preview, run and delete the file on disc
    bool unlocked = true;      // the menu button, the folder group, the item list and sorting
    bool driveMenu = true;     // the drive picture offers its context menu, with its hint
};

ControlStates controlStates(const WindowState &state);
