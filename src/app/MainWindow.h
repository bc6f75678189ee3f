#pragma once

#include "app/WindowLock.h"
#include "platform/AppServices.h"
#include "platform/PreviewJournal.h"
#include "core/MenuDocument.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QTabWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
struct AutorunContent;
struct DiscFinding;
class DiscCheckWindow;
class ChoiceList;
class IconList;
class FolderTree;
class FolderEdit;
class PathLabel;
class TypingLimit;

// The main window. The document lives in its controls: the folder edit, the label edit, the
// hidden labels m_programNameLabel and m_iconFileLabel, the icon list's selection and the rows
// of m_itemList.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const AppServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Where the tips and about windows come from: they are made when first shown.
    void setSideWindows(std::function<QWidget *()> tips, std::function<QWidget *()> about);

    MenuDocument document() const;
    QString dataFolder() const;
    bool fileOnDisc() const;
    bool documentHasContent() const;
    bool isModified() const { return m_modified; }
    // Whether the user changed the menu since it was last read, written or begun.
    bool hasUnsavedChanges() const;
    bool isLoading() const { return m_loading; }

    // Initialisation, run once at creation and again by New.
    void resetToNewMenu();
    void refreshOnShow();
    // At start-up, after the window shows: what an earlier run left undone is undone (a menu
    // file under a preview's variant is put back, drive links of an earlier boot go).
    void restoreAfterInterruption();

    void closeWindow();
    void showHelp();
    void showTips();
    void showAbout();
    void createMenuFile();
    void save();
    // Auto-start panel
    void openAutoStartPanel();
    void programChosen();
    void iconFileChosen();
    void iconChosen();
    void acceptAutoStart();
    void cancelAutoStart();
    void programListKeyPressed(int key);
    void showFileMenu();
    void newMenu();
    void openMenu();
    void refresh();
    // Checks the current document against the folder and lists what it finds.
    void showDiscCheck();
    // Leads the user to where a finding is mended.
    void showFinding(const DiscFinding &finding);
    // Writes the data folder as a disc image, where the user chooses.
    void makeDiscImage();

    // Item panel
    void openNewItemPanel();
    void openEditItemPanel();
    void itemCaptionEdited();
    void itemCaptionKeyPressed(int key);
    void acceptItem();
    void cancelItem();
    // Item list
    void itemSelectionChanged();
    void removeSelectedItem();
    void itemListKeyPressed(int key);
    void itemRenamed(QTreeWidgetItem *row);
    void sortingToggled();
    void sortItems();
    QTreeWidgetItem *selectedRow() const;
    // Whether a panel is open over the window, which is then locked.
    bool panelOpen() const { return m_lock.isLocked(); }
    // Whether the drive picture offers its context menu (not while a panel is open).
    bool driveMenuAttached() const { return m_driveMenuAttached; }

    void treeSelectionChanged();
    void treeEntryDoubleClicked();
    void treeKeyPressed(int key);
    void programsOnlyToggled();
    void setSelectedAsAutoStart();
    // The created file and the selected program, handed to the desktop; deleting the file.
    void openMenuFileOnDesktop();
    void deleteMenuFile();
    void runSelectedProgram();
    // Tries the saved menu on a temporary drive letter.
    void previewOnDrive();
    // Rebuilds the drive's context menu from the document, as the disc will show it.
    void fillDriveMenu();
    // The recent folders beside the folder edit.
    void showRecentFolders();
    // Fills m_recentFoldersMenu with the recent folders that exist; false when there is none.
    bool fillRecentFolders();

    // The selected entry of the tree: its native path, its disc path, and whether it is a
    // program (an ".exe" in any letter case).
    QString selectedPath() const;
    QString relativeSelectedPath() const;
    bool isProgramSelected() const;

    // The folder the user settled on in m_folderEdit is taken (typing alone takes nothing).
    void folderConfirmed();
    void labelEdited();
    void folderEditKeyPressed(int key);
    void openMenuFile(const QString &path);
    // Fills the document from the menu file; false, after one message and with nothing
    // changed, when the file cannot be read.
    bool readMenuFile(const QString &path);

    // Rules that tie the buttons to the document.
    void updateButtons();
    void markChanged();
    void mirrorModified();
    void fitColumns();
    // Appends one row to m_itemList; addItems appends many.
    void addItem(const MenuItem &item);
    void addItems(const QList<MenuItem> &items);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
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
    QTreeWidget *m_itemList;
    QCheckBox *m_sortBox;
    QLabel *m_itemNameCaption, *m_itemNameLabel, *m_itemFileCaption, *m_fileMissingLabel;
    PathLabel *m_itemFileLabel;
    QPushButton *m_refreshButton, *m_removeButton, *m_editButton;
    // Preview
    QFrame *m_previewArea;
    QLabel *m_previewCaption, *m_computerPicture, *m_computerNameLabel;
    QFrame *m_driveFrame;
    QLabel *m_drivePicture, *m_driveLabel, *m_driveMenuHint;
    QPushButton *m_deleteFileButton, *m_openFileButton, *m_previewButton;
    // Panels shown over the window
    QFrame *m_itemPanel;
    QLabel *m_itemPanelHeading, *m_itemCaptionPrompt;
    PathLabel *m_itemPanelPath;
    QComboBox *m_itemCaptionBox;
    QPushButton *m_itemCancelButton, *m_itemOkButton;
    QFrame *m_autoStartPanel;
    QTabWidget *m_autoStartTabs;
    QWidget *m_programPage, *m_iconPage;
    QLabel *m_programPrompt, *m_iconPrompt;
    QLabel *m_programNameLabel, *m_iconFileLabel;
    ChoiceList *m_programList, *m_iconFileList;
    QListWidget *m_foundIconFiles;
    IconList *m_iconList;
    QPushButton *m_autoStartCancelButton, *m_autoStartOkButton;
    // Pop-up menus
    QMenu *m_fileMenu, *m_recentFoldersMenu, *m_treeMenu, *m_driveMenu;
    DiscCheckWindow *m_check = nullptr; // made on first use
    QAction *m_addToMenuAction, *m_setAsAutoStartAction, *m_runAction;

    void setupLayout();
    void connectHandlers();
    void writeProgramEntry();
    bool writeMenuFile();
    // Whether the taken folder is still there: nothing is written outside it.
    bool folderStillThere() const;
    void takeFolder();
    void greyFolderArea(const QString &caption);
    void setFileButtons(bool enabled);
    void startEmpty();
    // Every rule that enables a control of the window goes through here, so that nothing is
    // enabled under an open panel.
    void enable(QWidget *control, bool enabled) { m_lock.setEnabled(control, enabled); }
    void deleteSelectedRow();
    void lockForPanel(bool keepSave = false);
    // Loads the icon list with a file of the folder; the same file is loaded afresh.
    void loadIconList(const QString &discPath);
    void setAutoOkEnabled(bool requireIcons);
    void unlockAfterPanel(bool accepted);
    void showPanel(QWidget *panel, QWidget *focus);
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
    void clearItems();
    // Offers to save unsaved changes before they would be lost: true to go on (saved, or the
    // user let them go), false when the user cancelled or the save did not happen.
    bool saveChangesFirst(bool unsaved, const QString &question);
    // The program or icon file of the document that the folder does not hold is let go.
    void dropAutoStartOutside(const QString &folder);
    void setLabelByProgram(const QString &label);
    // Where the keys go again when a panel closes: the control that had them before.
    void closePanel(QWidget *panel);

    AppServices m_services;
    WindowLock m_lock;
    // Sets the label's text as the program does: whole, past the typing limit.
    TypingLimit *m_labelLimit = nullptr;
    std::function<QWidget *()> m_tips;
    std::function<QWidget *()> m_about;
    // The folder taken (ending with the separator), empty while none is; the text of the
    // folder edit when it was last taken or refused.
    QString m_folder;
    QString m_folderText;
    bool m_modified = false;
    // Set by the user's edits, cleared when the menu is read, written or begun.
    bool m_edited = false;
    // Set while the program fills the controls, whose change handlers then record no edit.
    bool m_filling = false;
    QPointer<QWidget> m_focusBeforePanel;
    // What the auto-start panel's Anuluj puts back.
    struct AutoStartChoice
    {
        QString program, iconFile, iconListFile;
        int iconRow = -1;
        std::optional<std::optional<int>> iconIndexFromFile;
        bool modified = false, edited = false;
    };
    AutoStartChoice m_choiceBeforePanel;
    bool m_loading = false;
    bool m_driveMenuAttached = true;
    // The icon location read from the file when no row of the icon list shows it (a number
    // the file does not hold, a file not in the folder, or no number at all): written back
    // unchanged until the user picks an icon.
    std::optional<std::optional<int>> m_iconIndexFromFile;
    // What the file read holds that no control edits and Save keeps, for the disc check.
    QString m_shellExecute;
    bool m_autorunSection = true;
};
