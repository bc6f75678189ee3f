// The document in the main window: the rules that tie the buttons to it, the data folder and
// the label.

#include "app/MainWindow.h"
#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"

#include "app/ItemDelegates.h"
#include "app/RecentList.h"
#include "app/Texts.h"
#include "core/AtomicFile.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscCheck.h"
#include "core/DiscPath.h"
#include "platform/Messages.h"
#include "widgets/PathLabel.h"
#include "widgets/TextWidth.h"
#include "widgets/TypingLimit.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>


// A folder is only ever an absolute path: "Mój komputer" must not name a folder below the
// working directory.
bool MainWindow::isFolder(const QString &text)
{
    return !text.isEmpty() && QDir::isAbsolutePath(text) && QFileInfo(text).isDir();
}

namespace {

void setTextColour(QWidget *widget, QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(group, role, colour);
    widget->setPalette(palette);
}

void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        setTextColour(widget, group, role, colour);
}

} // namespace

bool MainWindow::folderStillThere() const
{
    return isFolder(dataFolder());
}

QString MainWindow::dataFolder() const
{
    return m_document.dataFolder;
}

bool MainWindow::fileOnDisc() const
{
    const QString folder = dataFolder();
    return QDir::isAbsolutePath(folder) && QFileInfo(autorunPath(folder)).isFile();
}

// What the file read holds and no control edits is the document's while that file is on disc.
MenuDocument MainWindow::document() const
{
    MenuDocument doc = m_document;
    if (!fileOnDisc()) {
        doc.shellExecute.clear();
        doc.kept = {};
        doc.autorunSection = true;
    }
    return doc;
}

// Asked after every keystroke in the label: without copying the items.
bool MainWindow::documentHasContent() const
{
    return hasContent(m_document);
}

WindowState MainWindow::windowState() const
{
    WindowState state;
    state.folderTaken = !dataFolder().isEmpty();
    state.folderThere = state.folderTaken && isFolder(dataFolder());
    state.hasContent = documentHasContent();
    state.saveInsteadOfCreate = m_saveInsteadOfCreate;
    state.menuFromFile = m_menuFromFile;
    state.fileOnDisc = state.folderTaken && fileOnDisc();
    state.modified = m_document.modified;
    state.programSelected = m_programSelected;
    state.itemSelected = m_itemList->selectionModel()->hasSelection();
    state.panel = m_openPanel;
    return state;
}

void MainWindow::updateControls()
{
    applyControls(windowState());
}

void MainWindow::applyControls(const WindowState &state)
{
    const ControlStates c = controlStates(state);
    applyActions(c);
    for (QWidget *w : std::initializer_list<QWidget *>{m_contentsGroup, m_selectedPathLabel, m_selectedNameLabel,
                                                       m_selectedPathCaption, m_selectedNameCaption})
        w->setEnabled(c.folderArea);
    m_folderTree->setEnabled(c.folderTree);
    m_programsOnlyBox->setEnabled(c.folderTree);
    for (QWidget *w : std::initializer_list<QWidget *>{m_folderGroup, m_itemList, m_sortBox})
        w->setEnabled(c.unlocked);
    m_driveMenuHint->setVisible(c.driveMenu);
    if (c.driveMenu != m_driveMenuAttached)
        setDriveMenuAttached(c.driveMenu);
    showDriveInPreview();
    refreshDiscCheck();
}

// Asked after every keystroke in the label: the state is gathered once.
void MainWindow::markChanged()
{
    WindowState state = windowState();
    m_document.modified = state.modified = state.fileOnDisc;
    if (!m_filling)
        m_edited = true;
    applyControls(state);
}

bool MainWindow::differsFromFile() const
{
    return m_document.modified || (!fileOnDisc() && documentHasContent());
}

// A folder removed after it was taken keeps its edits unsaved: closing still asks.
bool MainWindow::hasUnsavedChanges() const
{
    return m_edited && !dataFolder().isEmpty() && differsFromFile();
}

bool MainWindow::saveChangesFirst(bool unsaved, const QString &question)
{
    if (!unsaved)
        return true;
    switch (m_services.messages.show(this, question, Texts::captionWarning(), Messages::Buttons::YesNoCancel,
                                     Messages::Icon::Warning)) {
    case Messages::Answer::Yes:
        if (fileOnDisc())
            save();
        else
            createMenuFile();
        // A save that failed, or Create sent to the auto-start panel, ends the command here.
        return !differsFromFile() && !panelOpen();
    case Messages::Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::setLabelByProgram(const QString &label)
{
    const bool filling = m_filling;
    m_filling = true;
    m_labelLimit->setText(label);
    m_filling = filling;
}

void MainWindow::dropAutoStartOutside(const QString &folder)
{
    // A program with arguments ("setup.exe /auto") stays when the folder holds the program.
    if (!m_document.autoStartProgram.isEmpty()
        && !discFileExists(folder, commandProgram(m_document.autoStartProgram, folder)))
        m_document.autoStartProgram.clear();
    if (!m_document.iconFile.isEmpty() && !discFileExists(folder, m_document.iconFile)) {
        m_document.iconFile.clear();
        m_document.iconIndex.reset();
    }
}

void MainWindow::fitColumns()
{
    const QFontMetrics metrics(font());
    for (int column = 0; column < 2; ++column) {
        const QList<MenuItem> &items = m_document.items;
        const int widest = widestTextWidth(metrics, int(items.size()), [&](int row) {
            return column == 0 ? items[row].label : items[row].file;
        });
        const int header = metrics.horizontalAdvance(m_items->headerData(column, Qt::Horizontal).toString());
        m_itemList->header()->resizeSection(column, qMax(widest, header) + 25);
    }
}

void MainWindow::clearItems()
{
    m_items->clear();
}

void MainWindow::addItem(const MenuItem &item)
{
    m_items->append({item});
}

void MainWindow::addItems(const QList<MenuItem> &items)
{
    m_items->append(items);
}

// Before another folder or menu file is taken: no items, and no file the menu is read from.
void MainWindow::startEmpty()
{
    clearItems();
    m_menuFromFile = false;
}

bool MainWindow::recordFile(const QString &path)
{
    return recordRecent(RecentList::filesKey, path);
}

bool MainWindow::recordFolder(const QString &path)
{
    return recordRecent(RecentList::foldersKey, path);
}

// A store that refuses the value gets the general error report, as any failed setting does,
// and the report ends the command: each command records last, so its state is complete.
bool MainWindow::recordRecent(const QString &listKey, const QString &path)
{
    if (RecentList(listKey).record(path))
        return true;
    generalError(Texts::setDataFailed().arg(path));
    return false;
}

// The report of a failure that ends a command.
void MainWindow::generalError(const QString &text)
{
    m_services.messages.show(this, text, Texts::title(), Messages::Buttons::Ok, Messages::Icon::Error);
}

void MainWindow::greyFolderArea(const QString &caption)
{
    // The whole tree is silver, its branch arrows too (drawn in the window or button text
    // colour, which would otherwise come red from the group).
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        setTextColour(m_folderTree, role, QColor(192, 192, 192));
    setTextColour(m_contentsGroup, QPalette::WindowText, QColor(255, 0, 0));
    // Only the group's caption is red: its controls are greyed as every disabled control is.
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_programsOnlyBox, m_selectedPathLabel, m_selectedNameLabel,
                                          m_selectedPathCaption, m_selectedNameCaption, m_addButton}) {
        const QPalette plain = QApplication::palette(w);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            setTextColour(w, group, QPalette::WindowText, plain.color(group, QPalette::WindowText));
    }
    m_driveLabel->setText(Texts::driveCaption());
    m_contentsGroup->setTitle(caption);
}

// The folder becomes the root of the contents area, which comes alive.
void MainWindow::takeFolder()
{
    m_contentsGroup->setPalette(QPalette());
    m_folderTree->setPalette(QPalette());
    m_folderTree->setRootFolder(dataFolder());
    m_folderTree->setRootCaption(m_labelEdit->text());
    m_contentsGroup->setTitle(Texts::areaTaken());
}

void MainWindow::folderConfirmed()
{
    m_itemList->commitOpenEdit();
    QString folder = m_folderEdit->text();
    const bool exists = isFolder(folder) && !isLoading();
    if (exists && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (panelOpen() || folder == m_folderText
        || !saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges())) {
        // Nothing changes under a panel, for the same folder, or when the user cancels.
        m_folderEdit->setText(m_folderText);
        return;
    }
    m_folderText = folder;
    m_document.dataFolder = exists ? folder : QString();
    m_edited = false;
    m_document.modified = false;
    m_document.shellExecute.clear();
    m_document.kept = {};
    m_document.autorunSection = true;
    m_imageFindings.clear(); // another folder, another image
    startEmpty();

    if (!exists) {
        greyFolderArea(isLoading() ? Texts::areaWaiting()
                       : m_labelEdit->text().isEmpty() ? Texts::areaMissingNoLabel()
                                                      : Texts::areaMissing());
    } else {
        m_folderEdit->setText(folder);
        removeStaleTemporaryFiles(folder); // a save killed midway must not reach the disc
        dropAutoStartOutside(folder);
        setLabelByProgram(folderName(folder)); // first: the tree reports its selection with it
        takeFolder();
        m_driveLabel->setText(m_labelEdit->text());
        m_folderTree->setRootCaption(m_labelEdit->text());
        // A file declined leaves Save or Create standing as it was.
        if (!fileOnDisc()) {
            m_saveInsteadOfCreate = false;
        } else {
            m_document.modified = false; // Save and Refresh are off while the question is up
            updateControls();
            if (m_services.messages.show(this, Texts::askOpenExisting(), Texts::captionWarning(),
                                         Messages::Buttons::YesNo, Messages::Icon::Question)
                == Messages::Answer::Yes)
                readMenuFile(autorunPath(folder));
        }
        m_document.modified = false;
        m_edited = false;
        updateControls();
        recordFolder(folder);
    }
    m_document.modified = false;
    updateControls();
}

// The label is the document's as it is typed.
void MainWindow::labelEdited()
{
    QString label = m_labelEdit->text();
    // A line break or a NUL (pasted, or in a folder's name) would write lines of its own.
    if (breaksLines(label)) {
        label.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QChar());
        m_labelLimit->setText(label); // and this handler again, with the text kept
        return;
    }
    m_document.discLabel = label;
    m_driveLabel->setText(label.isEmpty() ? Texts::driveCaption() : label);
    markChanged();
}
