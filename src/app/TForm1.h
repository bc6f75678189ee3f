#pragma once

#include "app/WindowLock.h"
#include "platform/AppServices.h"
#include "platform/PreviewJournal.h"
#include "core/MenuDocument.h"

#include <QPointer>
#include <QWidget>

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
class TF_Sprawdz;
class ChoiceListBox;
class TdfsIconListBox;
class TdfsSystemTreeView;
class TDirectoryEdit;
class TXPathLabel;
class TypingLimit;

// The main window. The document lives in its controls: the folder edit, the label edit, the
// hidden labels l_Program and l_Ikona, the icon list's selection and the rows of lv_Lista.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(const AppServices &services, QWidget *parent = nullptr);
    ~TForm1() override;

    // The tips and about windows, created after the main window.
    void setSideWindows(QWidget *tips, QWidget *about);

    MenuDocument document() const;
    QString dataFolder() const;
    bool fileOnDisc() const;
    bool documentHasContent() const;
    bool isModified() const { return m_modified; }
    // Whether the user changed the menu since it was last read, written or begun.
    bool hasUnsavedChanges() const;
    bool isLoading() const { return m_loading; }

    // Initialisation, run once at creation and again by New.
    void FormCreate();
    void FormShow();
    // At start-up, after the window shows: what an earlier run left undone is undone (a menu
    // file under a preview's variant is put back, drive links of an earlier boot go).
    void restoreAfterInterruption();

    void sb_ZamknijClick();
    void sb_PomocClick();
    void sb_PoradyClick();
    void sb_AboutClick();
    void sb_UtworzClick();
    void sb_ZapiszClick();
    // Auto-start panel
    void sb_AutoRunClick();
    void lb_ProgramyClick();
    void lb_IkonyClick();
    void dfsIconListBox1Click();
    void sb_Auto_OKClick();
    void sb_Auto_NOClick();
    void lb_ProgramyKeyDown(int key);
    void sb_NoweClick();
    void Nowe1Click();
    void Otwrz1Click();
    void sb_OdswiezClick();
    // Checks the current document against the folder and lists what it finds.
    void Sprawdzplyte1Click();
    // Leads the user to where a finding is mended.
    void showFinding(const DiscFinding &finding);
    // Writes the data folder as a disc image, where the user chooses.
    void Obrazplyty1Click();

    // Item panel
    void sb_DodajClick();
    void lv_ListaDblClick();
    void cb_NazwaPozycjiChange();
    void cb_NazwaPozycjiKeyDown(int key);
    void sb_Add_OKClick();
    void sb_Add_NOClick();
    // Item list
    void lv_ListaChange();
    void sb_UsunClick();
    void lv_ListaKeyDown(int key);
    void lv_ListaEdited(QTreeWidgetItem *row);
    void cb_SortujClick();
    void sortItems();
    QTreeWidgetItem *selectedRow() const;
    // Whether a panel is open over the window, which is then locked.
    bool panelOpen() const { return m_lock.isLocked(); }
    // Whether the drive picture offers its context menu (not while a panel is open).
    bool driveMenuAttached() const { return m_driveMenuAttached; }

    void dfsSystemTreeView1Change();
    void dfsSystemTreeView1DblClick();
    void dfsSystemTreeView1KeyDown(int key);
    void CheckBox1Click();
    void Ustawjakoautomatycznieuruchomiany1Click();
    // The created file and the selected program, handed to the desktop; deleting the file.
    void sb_UruchomPlikClick();
    void sb_UsunPlikClick();
    void Uruchom1Click();
    // Tries the saved menu on a temporary drive letter.
    void sb_PodgladClick();
    // Rebuilds the drive's context menu from the document, as the disc will show it.
    void pm_MenuPopup();
    // The recent folders beside the folder edit.
    void SpeedButton2Click();
    // Fills pm_Wybierane with the recent folders that exist; false when there is none.
    bool fillRecentFolders();

    // The selected entry of the tree: its native path, its disc path, and whether it is a
    // program (an ".exe" in any letter case).
    QString selectedPath() const;
    QString relativeSelectedPath() const;
    bool isProgramSelected() const;

    // The folder the user settled on in de_Folder is taken (typing alone takes nothing).
    void de_FolderChange();
    void e_EtykietaChange();
    void de_FolderKeyDown(int key);
    void OpenMenuFile(const QString &path);
    // Fills the document from the menu file; false, after one message and with nothing
    // changed, when the file cannot be read.
    bool ReadAutorunFile(const QString &path);

    // Rules that tie the buttons to the document.
    void canCreate();
    void markChanged();
    void mirrorModified();
    void fitColumns();
    // Appends one row to lv_Lista; addItems appends many.
    void addItem(const MenuItem &item);
    void addItems(const QList<MenuItem> &items);

    // Left button bar
    QFrame *Panel1;
    QToolButton *sb_Nowe, *sb_AutoRun, *sb_Utworz, *sb_Zapisz, *sb_Porady, *sb_Pomoc, *sb_About,
        *sb_Zamknij;
    // Folder and label
    QGroupBox *GroupBox1;
    TDirectoryEdit *de_Folder;
    QToolButton *SpeedButton2;
    QLabel *Label11;
    QLineEdit *e_Etykieta;
    // Folder contents
    QGroupBox *gb_Centrum;
    TdfsSystemTreeView *dfsSystemTreeView1;
    QCheckBox *CheckBox1;
    QLabel *Label6, *Label7, *Label5;
    TXPathLabel *Label4;
    QPushButton *sb_Dodaj;
    // Menu items
    QGroupBox *gb_Pozycje;
    QTreeWidget *lv_Lista;
    QCheckBox *cb_Sortuj;
    QLabel *Label1, *l_NazwaPoz, *Label15, *l_NotExists;
    TXPathLabel *l_Plik;
    QPushButton *sb_Odswiez, *sb_Usun, *sb_Edytuj;
    // Preview
    QFrame *Panel2;
    QLabel *Label2, *Image1, *l_MK;
    QFrame *Panel3;
    QLabel *Image2, *Label3, *Label8;
    QPushButton *sb_UsunPlik, *sb_UruchomPlik, *sb_Podglad;
    // Panels shown over the window
    QFrame *p_Dodaj;
    QLabel *Label9, *Label10;
    TXPathLabel *XPathLabel1;
    QComboBox *cb_NazwaPozycji;
    QPushButton *sb_Add_NO, *sb_Add_OK;
    QFrame *p_Autorun;
    QTabWidget *PageControl1;
    QWidget *TabSheet1, *TabSheet2;
    QLabel *Label12, *Label13;
    QLabel *l_Program, *l_Ikona;
    ChoiceListBox *lb_Programy, *lb_Ikony;
    QListWidget *ListBox1;
    TdfsIconListBox *dfsIconListBox1;
    QPushButton *sb_Auto_NO, *sb_Auto_OK;
    // Pop-up menus
    QMenu *pm_Nowe, *pm_Wybierane, *pm_Lista, *pm_Menu;
    TF_Sprawdz *m_check = nullptr; // made on first use
    QAction *Dodajdomenu1, *Ustawjakoautomatycznieuruchomiany1, *Uruchom1;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupLayout();
    void connectHandlers();
    void writeProgramEntry();
    bool writeMenuFile();
    void takeFolder();
    void greyFolderArea(const QString &caption);
    void setFileButtons(bool enabled);
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
    QWidget *m_tips = nullptr;
    QWidget *m_about = nullptr;
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
