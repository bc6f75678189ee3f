#include "app/ControlRules.h"

ControlStates controlStates(const WindowState &s)
{
    // An open panel locks the window under it; Save stays offered beside the auto-start panel,
    // whose choices are the document's as they are made.
    const bool free = s.panel == OpenPanel::None;
    ControlStates c;
    c.unlocked = free;
    c.driveMenu = free;
    c.createShown = !s.saveInsteadOfCreate;
    c.saveShown = s.saveInsteadOfCreate;
    c.create = free && s.folderThere && s.hasContent;
    c.save = s.panel != OpenPanel::Item && s.modified;
    // Refresh reads the file: without one it has nothing to do.
    c.refresh = free && s.modified && s.fileOnDisc;
    c.autoStart = free && s.folderTaken;
    c.folderArea = s.folderTaken;
    c.folderTree = free && s.folderTaken;
    c.add = c.folderTree && s.programSelected;
    c.remove = c.edit = free && s.itemSelected;
    c.fileCommands = free && s.menuFromFile && s.fileOnDisc;
    return c;
}
