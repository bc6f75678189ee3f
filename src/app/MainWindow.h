#pragma once

#include "app/ControlRules.h"
#include "platform/AppServices.h"
#include "platform/PreviewJournal.h"
#include "core/AutorunReader.h"
#include "core/MenuDocument.h"
#include "panels/AutoStartPanel.h"

#include <QKeySequence>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidget;
class ItemListView;
class MenuItemModel;
#include "core/DiscCheck.h"
class DiscCheckWindow;
class FolderTree;
class FolderEdit;
class PathLabel;
class TypingLimit;
class ItemPanel;
class AutoStartPanel;

// The main window: a view of one menu document. The user's input changes the document here,
// and the controls show it; which of them are enabled follows from the document, the
// selections, the files on disc and the open panel (updateControls).
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const AppServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Where the tips and about windows come from: they are made when first shown.
    void setSideWindows(std::function<QWidget *()> tips, std::function<QWidget *()> about);
    // At start-up, after the window shows: what an earlier run left undone is undone (a menu
    // file under a preview's variant is put back, drive links of an earlier boot go).
    void restoreAfterInterruption();

    // The menu as Save would write it.
    MenuDocument document() const;
    QString dataFolder() const;
    bool isModified() const { return m_document.modified; }
    // Whether the menu in the window is not what the folder's autorun.inf holds: changed since it
    // was read or written, or not written at all while it has something to write. Every
    // command that works on the file on disc asks this.
    bool differsFromFile() const;
    // Whether the user made that difference (not the program filling the window): what
    // closing, New, Open or another folder would lose.
    bool hasUnsavedChanges() const;
    bool isLoading() const { return m_document.loading; }
    // Whether a panel is open over the window, which is then locked.
    bool panelOpen() const { return m_openPanel != OpenPanel::None; }
    // Whether the drive picture offers its context menu (not while a panel is open).
    bool driveMenuAttached() const { return m_driveMenuAttached; }
    // The selected entry's row; -1 when none is.
    int selectedRow() const;

    // A folder or a menu file the desktop hands over (the command line, a drop on the window):
    // the folder is taken, the file opened, each with its usual questions.
    void openPath(const QString &path);

    // Commands, as the window's controls give them.
    void openMenuFile(const QString &path);
    void save();
    void refresh();
    // The created file handed to the desktop.
    void openMenuFileOnDesktop();
    // Rebuilds the drive's context menu from the document, as the disc will show it.
    void fillDriveMenu();
    // Fills the recent folders' menu with those that exist; false when there is none.
    bool fillRecentFolders();
    void treeEntryDoubleClicked();

    // The menu's entries: appended one or many at a time, all removed, sorted by label; the
    // list's columns fitted to the widest text.
    void addItem(const MenuItem &item);
    void addItems(const QList<MenuItem> &items);
    void clearItems();
    void sortItems();
    void fitColumns();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a command asks of input the user has typed and not yet confirmed. Every command
    // takes an open rename first; those that act on the data folder also take a folder typed
    // in its edit, as Enter would.
    enum class Pending {
        Editors,     // commit open editors only (close, New, Open, help, tips, about)
        Folder,      // and take a typed folder; the command then acts in it
        FolderWrite, // and take a typed folder; a command that writes stops when it changed
    };
    // False when the command must not run: the user cancelled, the typed text names no
    // folder, or (FolderWrite) another menu now stands in the window.
    bool settlePendingInput(Pending pending);
    // Runs command from confirmed input while control (if any) still offers it.
    void runCommand(Pending pending, QWidget *control, void (MainWindow::*command)());
    // The same for an action: while the action is still offered.
    void runCommand(Pending pending, QAction *action, void (MainWindow::*command)());
    // The slot a control's signal runs: the command through runCommand.
    std::function<void()> command(Pending pending, QWidget *control, void (MainWindow::*handler)());

    // Whether text names an existing folder by an absolute path.
    static bool isFolder(const QString &text);
    bool fileOnDisc() const;
    bool documentHasContent() const;

    // Initialisation, run once at creation and again by New.
    void resetToNewMenu();
    void refreshOnShow();

    void closeWindow();
    void showHelp();
    void showTips();
    void showAbout();
    void createMenuFile();
    // Auto-start panel
    void openAutoStartPanel();
    void autoStartChanged(const AutoStartChoice &choice);
    void acceptAutoStart(const AutoStartChoice &choice);
    void cancelAutoStart();
    void showFileMenu();
    void newMenu();
    void openMenu();
    void openChosenFile(const QString &path);
    // Checks the current document against the folder and lists what it finds.
    void showDiscCheck();
    // Leads the user to where a finding is mended.
    void showFinding(const DiscFinding &finding);
    // Writes the data folder as a disc image, where the user chooses.
    void makeDiscImage();

    // Item panel
    void openNewItemPanel();
    void openEditItemPanel();
    void acceptItem(const QString &caption);
    void cancelItem();
    // Item list
    void itemSelectionChanged();
    void removeSelectedItem();
    // The selected entry one place up or down the menu.
    void moveSelectedItemUp();
    void moveSelectedItemDown();
    void moveSelectedItem(int by);
    // The entry at row from goes to stand before the one at row to (a drag in the list).
    void moveItem(int from, int to);
    void itemListKeyPressed(int key);
    void itemRenamed(int row);
    void sortingToggled();

    void treeSelectionChanged();
    void treeKeyPressed(int key);
    void programsOnlyToggled();
    void setSelectedAsAutoStart();
    void deleteMenuFile();
    void runSelectedProgram();
    // Tries the saved menu on a temporary drive letter.
    void previewOnDrive();
    // The recent folders beside the folder edit.
    void showRecentFolders();

    // The selected entry of the tree: its native path, its disc path, and whether it is a
    // program (an ".exe" in any letter case).
    QString selectedPath() const;
    QString relativeSelectedPath() const;
    // A name with a line break cannot be written into autorun.inf: true, after saying so.
    bool refuseLineBreak(const QString &discPath);
    bool isProgramSelected() const;

    // The folder the user settled on in m_folderEdit is taken (typing alone takes nothing).
    void folderConfirmed();
    void labelEdited();
    void folderEditKeyPressed(int key);
    // Fills the document from the menu file; false, after one message and with nothing
    // changed, when the file cannot be read (or, silently, when the user gave up reading it).
    bool readMenuFile(const QString &path);
    std::optional<AutorunContent> readInBackground(const QString &path);

    // Enables and shows the controls as the window's state decides.
    void updateControls();
    void applyControls(const WindowState &state);
    void markChanged();
    // The findings of the disc check follow the menu while their window is up.
    void refreshDiscCheck();

    // Left button bar
    QFrame *m_buttonBar;
    QToolButton *m_menuButton, *m_autoStartButton, *m_createButton, *m_saveButton, *m_tipsButton,
        *m_helpButton, *m_aboutButton, *m_closeButton;
    // Folder and label
    QGroupBox *m_folderGroup;
    FolderEdit *m_folderEdit;
    QToolButton *m_recentFoldersButton;
    QLabel *m_labelCaption;
    QLineEdit *m_labelEdit;
    // Folder contents
    QGroupBox *m_contentsGroup;
    FolderTree *m_folderTree;
    QCheckBox *m_programsOnlyBox;
    QLabel *m_selectedPathCaption, *m_selectedNameCaption, *m_selectedNameLabel;
    PathLabel *m_selectedPathLabel;
    QPushButton *m_addButton;
    // Menu items
    QGroupBox *m_itemsGroup;
    ItemListView *m_itemList;
    MenuItemModel *m_items; // the document's entries, as the list shows them
    QCheckBox *m_sortBox;
    QLabel *m_itemNameCaption, *m_itemNameLabel, *m_itemFileCaption, *m_fileMissingLabel;
    PathLabel *m_itemFileLabel;
    QPushButton *m_refreshButton, *m_removeButton, *m_editButton;
    // Preview
    QFrame *m_previewArea;
    QLabel *m_previewCaption, *m_computerPicture, *m_computerNameLabel;
    QFrame *m_driveFrame;
    QLabel *m_drivePicture, *m_driveLabel, *m_driveMenuHint, *m_autoStartLabel;
    QLabel *m_sectionsLabel; // the architecture sections the file has, which no control edits
    // The disc's icon and program as the preview last showed them.
    QString m_shownDrive;
    // The preview shows the drive as Windows will: the chosen icon, the label, the program.
    void showDriveInPreview();
    QPushButton *m_deleteFileButton, *m_openFileButton, *m_previewButton;
    // Panels shown over the window, made when first opened
    ItemPanel *m_itemPanel = nullptr;
    AutoStartPanel *m_autoStartPanel = nullptr;
    ItemPanel *itemPanel();
    AutoStartPanel *autoStartPanel();
    // Pop-up menus
    QMenu *m_fileMenu, *m_recentFoldersMenu, *m_treeMenu, *m_driveMenu, *m_itemMenu;
    DiscCheckWindow *m_check = nullptr; // made on first use
    // The image's findings of the last check: the folder's, kept while the menu is checked again.
    QList<DiscFinding> m_imageFindings;
    QAction *m_addToMenuAction, *m_setAsAutoStartAction, *m_runAction;
    // The window's commands; the buttons and the "Menu ..." pop-up show them.
    struct Actions
    {
        QAction *menu, *autoStart, *create, *save, *tips, *help, *about, *close;
        QAction *add, *refresh, *remove, *edit, *moveUp, *moveDown;
        QAction *deleteFile, *openFile, *preview, *recentFolders;
        QAction *newMenu, *openMenu, *check, *image;
    } m_actions;
    QAction *makeAction(const char *name, const QString &text, Pending pending, void (MainWindow::*handler)(),
                        const QList<QKeySequence> &keys = {});
    void setupActions();
    void applyActions(const ControlStates &c);
    void saveOrCreate();

    void setupLayout();
    void nameControls();
    // The context menu of the focused control, as the Menu key opens it (Shift+F10).
    void openFocusedContextMenu();
    void connectHandlers();
    void writeProgramEntry();
    enum class WriteResult { Written, Failed, Cancelled };
    WriteResult writeMenuFile();
    // Characters the menu file cannot hold are named to the user first: true to write them as
    // "?", false to go back.
    bool acceptUnwritableCharacters();
    // Whether the taken folder is still there: nothing is written outside it.
    bool folderStillThere() const;
    void takeFolder();
    void greyFolderArea(const QString &caption);
    void startEmpty();
    WindowState windowState() const;
    void showSelectedItem();
    void deleteSelectedRow();
    // The panel stands over the window, which is locked until closePanel.
    void showPanel(OpenPanel which, QWidget *panel, QWidget *focus);
    void placePanel(QWidget *panel);
    void setDriveMenuAttached(bool attached);
    // False, after the general error report, when the store refuses the path.
    bool recordFile(const QString &path);
    bool recordFolder(const QString &path);
    bool recordRecent(const QString &listKey, const QString &path);
    void generalError(const QString &text);
    bool readableMenuFile(const AutorunContent &content, const QString &path);
    // Fills the document from what the menu file at path holds.
    void fillFromMenuFile(const AutorunContent &content, const QString &path);
    void previewRun(const QString &folder, const QString &letter);
    // Tells in one message what became of the menu files of interrupted previews.
    void reportRestored(const QList<PreviewJournal::Restored> &restored);
    // Offers to save unsaved changes before they would be lost: true to go on (saved, or the
    // user let them go), false when the user cancelled or the save did not happen.
    bool saveChangesFirst(bool unsaved, const QString &question);
    // The program or icon file of the document that the folder does not hold is let go.
    void dropAutoStartOutside(const QString &folder);
    void setLabelByProgram(const QString &label);
    // Where the keys go again when a panel closes: the control that had them before.
    void closePanel(QWidget *panel);
    void applyAutoStart(const AutoStartChoice &choice);

    AppServices m_services;
    // The menu being made: what Save writes and what the controls show. Its label follows the
    // label edit; its entries are shown by m_items, and change only through it.
    MenuDocument m_document;
    // The text of the folder edit when it was last taken or refused.
    QString m_folderText;
    // The menu was read from or written to the taken folder's file: the file's commands
    // (preview, run, delete) are offered while it is there.
    bool m_menuFromFile = false;
    // Save stands where Create did: since a file was read or created, until a folder without
    // one is taken, the menu begun anew or the file deleted.
    bool m_saveInsteadOfCreate = false;
    // Set by the user's edits, cleared when the menu is read, written or begun.
    bool m_edited = false;
    // Set while the program fills the controls, whose change handlers then record no edit.
    bool m_filling = false;
    OpenPanel m_openPanel = OpenPanel::None;
    // Whether the tree's selection is a program, as it was last reported.
    bool m_programSelected = false;
    QPointer<QWidget> m_focusBeforePanel;
    // What the auto-start panel's Anuluj puts back.
    struct ChoiceBeforePanel
    {
        AutoStartChoice choice;
        bool modified = false, edited = false;
    };
    ChoiceBeforePanel m_choiceBeforePanel;
    // The entry the item panel edits (-1: a new one) and the file it opens.
    int m_editedRow = -1;
    QString m_panelFile;
    bool m_driveMenuAttached = true;
    // Sets the label's text as the program does: whole, past the typing limit.
    TypingLimit *m_labelLimit = nullptr;
    std::function<QWidget *()> m_tips;
    std::function<QWidget *()> m_about;
};
