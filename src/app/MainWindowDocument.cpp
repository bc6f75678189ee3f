// The document in the main window: the rules that tie the buttons to it, the data folder and
// the label.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/RecentList.h"
#include "app/Texts.h"
#include "core/AtomicFile.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "platform/Messages.h"
#include "widgets/PathLabel.h"
#include "widgets/TextWidth.h"
#include "widgets/TypingLimit.h"
#include "widgets/FolderEdit.h"
#include "widgets/IconList.h"
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
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>


namespace {

// A folder is only ever an absolute path: "Mój komputer" must not name a folder below the
// working directory.
bool isFolder(const QString &text)
{
    return !text.isEmpty() && QDir::isAbsolutePath(text) && QFileInfo(text).isDir();
}

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
    return m_folder;
}

bool MainWindow::fileOnDisc() const
{
    const QString folder = dataFolder();
    return QDir::isAbsolutePath(folder) && QFileInfo(autorunPath(folder)).isFile();
}

MenuDocument MainWindow::document() const
{
    MenuDocument doc;
    doc.dataFolder = dataFolder();
    doc.discLabel = m_labelEdit->text();
    doc.autoStartProgram = m_programNameLabel->text();
    doc.iconFile = m_iconFileLabel->text();
    const bool selected = !m_iconList->selectedItems().isEmpty();
    if (m_iconIndexFromFile)
        doc.iconIndex = *m_iconIndexFromFile;
    else if (selected)
        doc.iconIndex = m_iconList->currentRow();
    for (int i = 0; i < m_itemList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = m_itemList->topLevelItem(i);
        doc.items.append({row->text(0), row->text(1), row->data(0, Qt::UserRole).toString()});
    }
    if (fileOnDisc()) {
        doc.shellExecute = m_shellExecute;
        doc.autorunSection = m_autorunSection;
    }
    doc.modified = m_modified;
    doc.loading = m_loading;
    return doc;
}

// Asked after every keystroke in the label: read from the controls, without copying the items.
bool MainWindow::documentHasContent() const
{
    return hasContent(m_itemList->topLevelItemCount(), m_labelEdit->text(), m_programNameLabel->text(),
                      m_iconFileLabel->text());
}

// Nothing is ever written outside a folder that is taken and still there.
void MainWindow::updateButtons()
{
    enable(m_createButton, isFolder(dataFolder()) && documentHasContent());
}

void MainWindow::markChanged()
{
    m_modified = fileOnDisc();
    if (!m_filling)
        m_edited = true;
    mirrorModified();
}

bool MainWindow::hasUnsavedChanges() const
{
    return m_edited && isFolder(dataFolder()) && (m_modified || (!fileOnDisc() && documentHasContent()));
}

bool MainWindow::saveChangesFirst(bool unsaved, const QString &question)
{
    if (!unsaved)
        return true;
    switch (m_services.messages.show(this, question, Texts::captionWarning, Messages::Buttons::YesNoCancel,
                                     Messages::Icon::Warning)) {
    case Messages::Answer::Yes:
        if (fileOnDisc())
            save();
        else
            createMenuFile();
        // A save that failed, or Create sent to the auto-start panel, ends the command here.
        return !m_modified && fileOnDisc() && !panelOpen();
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
    if (!m_programNameLabel->text().isEmpty() && !discFileExists(folder, m_programNameLabel->text()))
        m_programNameLabel->clear();
    if (!m_iconFileLabel->text().isEmpty() && !discFileExists(folder, m_iconFileLabel->text())) {
        m_iconFileLabel->clear();
        m_iconIndexFromFile.reset();
        const QSignalBlocker quiet(m_iconList);
        m_iconList->setFileName(QString());
    }
}

void MainWindow::mirrorModified()
{
    enable(m_saveButton, m_modified);
    enable(m_refreshButton, m_modified);
}

void MainWindow::fitColumns()
{
    const QFontMetrics metrics(font());
    for (int column = 0; column < 2; ++column) {
        const int widest = widestTextWidth(metrics, m_itemList->topLevelItemCount(),
                                           [&](int row) { return m_itemList->topLevelItem(row)->text(column); });
        const int header = metrics.horizontalAdvance(m_itemList->headerItem()->text(column));
        m_itemList->header()->resizeSection(column, qMax(widest, header) + 25);
    }
}

void MainWindow::clearItems()
{
    m_itemList->clear();
}

void MainWindow::addItem(const MenuItem &item)
{
    m_itemList->addTopLevelItem(new ItemRow(item));
}

// The rows are made apart from the list and join it at once: the list hears of them once.
void MainWindow::addItems(const QList<MenuItem> &items)
{
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items.size());
    for (const MenuItem &item : items)
        rows << new ItemRow(item);
    m_itemList->addTopLevelItems(rows);
}

// Before another folder or menu file is taken: no items, and nothing to do with them or the file.
void MainWindow::startEmpty()
{
    clearItems();
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_createButton, m_autoStartButton, m_removeButton, m_addButton,
                                          m_editButton, m_refreshButton, m_saveButton})
        enable(w, false);
    setFileButtons(false);
}

void MainWindow::setFileButtons(bool enabled)
{
    for (QPushButton *b : {m_previewButton, m_openFileButton, m_deleteFileButton})
        enable(b, enabled);
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
    generalError(Texts::setDataFailed.arg(path));
    return false;
}

// The report of a failure that ends a command.
void MainWindow::generalError(const QString &text)
{
    m_services.messages.show(this, text, Texts::title, Messages::Buttons::Ok, Messages::Icon::Error);
}

void MainWindow::greyFolderArea(const QString &caption)
{
    m_contentsGroup->setEnabled(false);
    enable(m_folderTree, false);
    setTextColour(m_folderTree, QPalette::Text, QColor(192, 192, 192));
    setTextColour(m_contentsGroup, QPalette::WindowText, QColor(255, 0, 0));
    // Only the group's caption is red: its controls are greyed as every disabled control is.
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_programsOnlyBox, m_selectedPathLabel, m_selectedNameLabel,
                                          m_selectedPathCaption, m_selectedNameCaption, m_addButton}) {
        const QPalette plain = QApplication::palette(w);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            setTextColour(w, group, QPalette::WindowText, plain.color(group, QPalette::WindowText));
    }
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_programsOnlyBox, m_selectedPathLabel, m_selectedNameLabel,
                                          m_selectedPathCaption, m_selectedNameCaption, m_addButton})
        enable(w, false);
    m_driveLabel->setText(Texts::driveCaption);
    m_contentsGroup->setTitle(caption);
}

// The folder becomes the root of the contents area, which comes alive.
void MainWindow::takeFolder()
{
    m_contentsGroup->setEnabled(true);
    m_contentsGroup->setPalette(QPalette());
    m_folderTree->setPalette(QPalette());
    m_folderTree->setRootFolder(dataFolder());
    m_folderTree->setRootCaption(m_labelEdit->text());
    enable(m_folderTree, true);
    m_contentsGroup->setTitle(Texts::areaTaken);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_programsOnlyBox, m_selectedPathLabel, m_selectedNameLabel,
                                          m_selectedPathCaption, m_selectedNameCaption, m_autoStartButton})
        enable(w, true);
}

void MainWindow::folderConfirmed()
{
    QString folder = m_folderEdit->text();
    const bool exists = isFolder(folder) && !m_loading;
    if (exists && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (panelOpen() || folder == m_folderText
        || !saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges)) {
        // Nothing changes under a panel, for the same folder, or when the user cancels.
        m_folderEdit->setText(m_folderText);
        return;
    }
    m_folderText = folder;
    m_folder = exists ? folder : QString();
    m_edited = false;
    m_modified = false;
    m_shellExecute.clear();
    m_autorunSection = true;
    startEmpty();

    if (!exists) {
        greyFolderArea(m_loading ? Texts::areaWaiting
                       : m_labelEdit->text().isEmpty() ? Texts::areaMissingNoLabel
                                                      : Texts::areaMissing);
    } else {
        m_folderEdit->setText(folder);
        removeStaleTemporaryFiles(folder); // a save killed midway must not reach the disc
        dropAutoStartOutside(folder);
        setLabelByProgram(folderName(folder)); // first: the tree reports its selection with it
        takeFolder();
        m_driveLabel->setText(m_labelEdit->text());
        m_folderTree->setRootCaption(m_labelEdit->text());
        enable(m_refreshButton, false);
        enable(m_saveButton, false);
        if (fileOnDisc()) {
            if (m_services.messages.show(this, Texts::askOpenExisting, Texts::captionWarning,
                                         Messages::Buttons::YesNo, Messages::Icon::Question)
                == Messages::Answer::Yes)
                readMenuFile(autorunPath(folder));
        } else {
            m_createButton->show();
            m_saveButton->hide();
            enable(m_saveButton, false);
            m_modified = false;
        }
        enable(m_createButton, documentHasContent());
        m_modified = false;
        m_edited = false;
        mirrorModified();
        recordFolder(folder);
    }
    m_modified = false;
}

void MainWindow::labelEdited()
{
    const QString label = m_labelEdit->text();
    m_driveLabel->setText(label.isEmpty() ? Texts::driveCaption : label);
    updateButtons();
    markChanged();
}
