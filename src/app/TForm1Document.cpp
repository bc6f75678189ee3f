// The document in the main window: the rules that tie the buttons to it, the data folder and
// the label, reading autorun.inf into the controls, and Create and Save.

#include "app/TForm1.h"

#include "app/ItemDelegates.h"
#include "app/MruList.h"
#include "app/Texts.h"
#include "core/AtomicFile.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "platform/Messages.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TextWidth.h"
#include "widgets/TypingLimit.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"

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

QString TForm1::dataFolder() const
{
    return m_folder;
}

bool TForm1::fileOnDisc() const
{
    const QString folder = dataFolder();
    return QDir::isAbsolutePath(folder) && QFileInfo(autorunPath(folder)).isFile();
}

MenuDocument TForm1::document() const
{
    MenuDocument doc;
    doc.dataFolder = dataFolder();
    doc.discLabel = e_Etykieta->text();
    doc.autoStartProgram = l_Program->text();
    doc.iconFile = l_Ikona->text();
    const bool selected = !dfsIconListBox1->selectedItems().isEmpty();
    if (m_iconIndexFromFile)
        doc.iconIndex = *m_iconIndexFromFile;
    else if (selected)
        doc.iconIndex = dfsIconListBox1->currentRow();
    for (int i = 0; i < lv_Lista->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = lv_Lista->topLevelItem(i);
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
bool TForm1::documentHasContent() const
{
    return hasContent(lv_Lista->topLevelItemCount(), e_Etykieta->text(), l_Program->text(), l_Ikona->text());
}

// Nothing is ever written outside a folder that is taken and still there.
void TForm1::canCreate()
{
    enable(sb_Utworz, isFolder(dataFolder()) && documentHasContent());
}

void TForm1::markChanged()
{
    m_modified = fileOnDisc();
    if (!m_filling)
        m_edited = true;
    mirrorModified();
}

bool TForm1::hasUnsavedChanges() const
{
    return m_edited && isFolder(dataFolder()) && (m_modified || (!fileOnDisc() && documentHasContent()));
}

bool TForm1::saveChangesFirst(bool unsaved, const QString &question)
{
    if (!unsaved)
        return true;
    switch (m_services.messages.show(this, question, Texts::captionWarning, Messages::Buttons::YesNoCancel,
                                     Messages::Icon::Warning)) {
    case Messages::Answer::Yes:
        if (fileOnDisc())
            sb_ZapiszClick();
        else
            sb_UtworzClick();
        // A save that failed, or Create sent to the auto-start panel, ends the command here.
        return !m_modified && fileOnDisc() && !panelOpen();
    case Messages::Answer::No:
        return true;
    default:
        return false;
    }
}

void TForm1::setLabelByProgram(const QString &label)
{
    const bool filling = m_filling;
    m_filling = true;
    m_labelLimit->setText(label);
    m_filling = filling;
}

void TForm1::dropAutoStartOutside(const QString &folder)
{
    if (!l_Program->text().isEmpty() && !discFileExists(folder, l_Program->text()))
        l_Program->clear();
    if (!l_Ikona->text().isEmpty() && !discFileExists(folder, l_Ikona->text())) {
        l_Ikona->clear();
        m_iconIndexFromFile.reset();
        const QSignalBlocker quiet(dfsIconListBox1);
        dfsIconListBox1->setFileName(QString());
    }
}

void TForm1::mirrorModified()
{
    enable(sb_Zapisz, m_modified);
    enable(sb_Odswiez, m_modified);
}

void TForm1::fitColumns()
{
    const QFontMetrics metrics(font());
    for (int column = 0; column < 2; ++column) {
        const int widest = widestTextWidth(metrics, lv_Lista->topLevelItemCount(),
                                           [&](int row) { return lv_Lista->topLevelItem(row)->text(column); });
        const int header = metrics.horizontalAdvance(lv_Lista->headerItem()->text(column));
        lv_Lista->header()->resizeSection(column, qMax(widest, header) + 25);
    }
}

void TForm1::clearItems()
{
    lv_Lista->clear();
}

void TForm1::addItem(const MenuItem &item)
{
    lv_Lista->addTopLevelItem(new ItemRow(item));
}

// The rows are made apart from the list and join it at once: the list hears of them once.
void TForm1::addItems(const QList<MenuItem> &items)
{
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items.size());
    for (const MenuItem &item : items)
        rows << new ItemRow(item);
    lv_Lista->addTopLevelItems(rows);
}

void TForm1::setFileButtons(bool enabled)
{
    for (QPushButton *b : {sb_Podglad, sb_UruchomPlik, sb_UsunPlik})
        enable(b, enabled);
}

bool TForm1::recordFile(const QString &path)
{
    return recordRecent(MruList::filesKey, path);
}

bool TForm1::recordFolder(const QString &path)
{
    return recordRecent(MruList::foldersKey, path);
}

// A store that refuses the value gets the general error report, as any failed setting does,
// and the report ends the command: each command records last, so its state is complete.
bool TForm1::recordRecent(const QString &listKey, const QString &path)
{
    if (MruList(listKey).record(path))
        return true;
    generalError(Texts::setDataFailed.arg(path));
    return false;
}

// The report of a failure that ends a command.
void TForm1::generalError(const QString &text)
{
    m_services.messages.show(this, text, Texts::title, Messages::Buttons::Ok, Messages::Icon::Error);
}

void TForm1::greyFolderArea(const QString &caption)
{
    gb_Centrum->setEnabled(false);
    enable(dfsSystemTreeView1, false);
    setTextColour(dfsSystemTreeView1, QPalette::Text, QColor(192, 192, 192));
    setTextColour(gb_Centrum, QPalette::WindowText, QColor(255, 0, 0));
    // Only the group's caption is red: its controls are greyed as every disabled control is.
    for (QWidget *w : std::initializer_list<QWidget *>{CheckBox1, Label4, Label5, Label6, Label7, sb_Dodaj}) {
        const QPalette plain = QApplication::palette(w);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            setTextColour(w, group, QPalette::WindowText, plain.color(group, QPalette::WindowText));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{CheckBox1, Label4, Label5, Label6, Label7, sb_Dodaj})
        enable(w, false);
    Label3->setText(Texts::driveCaption);
    gb_Centrum->setTitle(caption);
}

// The folder becomes the root of the contents area, which comes alive.
void TForm1::takeFolder()
{
    gb_Centrum->setEnabled(true);
    gb_Centrum->setPalette(QPalette());
    dfsSystemTreeView1->setPalette(QPalette());
    dfsSystemTreeView1->setCustomDir(dataFolder());
    dfsSystemTreeView1->setCustomDirCaption(e_Etykieta->text());
    enable(dfsSystemTreeView1, true);
    gb_Centrum->setTitle(Texts::areaTaken);
    for (QWidget *w : std::initializer_list<QWidget *>{CheckBox1, Label4, Label5, Label6, Label7, sb_AutoRun})
        enable(w, true);
}

void TForm1::de_FolderChange()
{
    QString folder = de_Folder->text();
    const bool exists = isFolder(folder) && !m_loading;
    if (exists && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (panelOpen() || folder == m_folderText
        || !saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges)) {
        // Nothing changes under a panel, for the same folder, or when the user cancels.
        de_Folder->setText(m_folderText);
        return;
    }
    m_folderText = folder;
    m_folder = exists ? folder : QString();
    m_edited = false;
    m_modified = false;
    m_shellExecute.clear();
    m_autorunSection = true;
    clearItems();
    for (QWidget *w : std::initializer_list<QWidget *>{sb_Utworz, sb_AutoRun, sb_Usun, sb_Dodaj, sb_Edytuj,
                                                        sb_Odswiez, sb_Zapisz})
        enable(w, false);
    setFileButtons(false);

    if (!exists) {
        greyFolderArea(m_loading ? Texts::areaWaiting
                       : e_Etykieta->text().isEmpty() ? Texts::areaMissingNoLabel
                                                      : Texts::areaMissing);
    } else {
        de_Folder->setText(folder);
        removeStaleTemporaryFiles(folder); // a save killed midway must not reach the disc
        dropAutoStartOutside(folder);
        setLabelByProgram(folderName(folder)); // first: the tree reports its selection with it
        takeFolder();
        Label3->setText(e_Etykieta->text());
        dfsSystemTreeView1->setCustomDirCaption(e_Etykieta->text());
        enable(sb_Odswiez, false);
        enable(sb_Zapisz, false);
        if (fileOnDisc()) {
            if (m_services.messages.show(this, Texts::askOpenExisting, Texts::captionWarning,
                                         Messages::Buttons::YesNo, Messages::Icon::Question)
                == Messages::Answer::Yes)
                ReadAutorunFile(autorunPath(folder));
        } else {
            sb_Utworz->show();
            sb_Zapisz->hide();
            enable(sb_Zapisz, false);
            m_modified = false;
        }
        enable(sb_Utworz, documentHasContent());
        m_modified = false;
        m_edited = false;
        mirrorModified();
        recordFolder(folder);
    }
    m_modified = false;
}

void TForm1::e_EtykietaChange()
{
    const QString label = e_Etykieta->text();
    Label3->setText(label.isEmpty() ? Texts::driveCaption : label);
    canCreate();
    markChanged();
}

void TForm1::OpenMenuFile(const QString &path)
{
    if (panelOpen() || !saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges))
        return;
    // A file that cannot be read changes nothing: the window stays as it was.
    // The file is read once, before anything changes.
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    const AutorunContent content = readAutorun(path);
    if (!readableMenuFile(content, path))
        return;
    m_loading = true;
    m_folder = folder;
    m_folderText = folder;
    de_Folder->setText(folder);
    removeStaleTemporaryFiles(folder);
    dropAutoStartOutside(folder);
    clearItems();
    for (QWidget *w : std::initializer_list<QWidget *>{sb_Utworz, sb_AutoRun, sb_Usun, sb_Dodaj, sb_Edytuj,
                                                        sb_Odswiez, sb_Zapisz})
        enable(w, false);
    setFileButtons(false);
    // The file's own label is shown; the folder's name only stands in for a missing one.
    if (!content.label)
        setLabelByProgram(folderName(folder));
    fillFromMenuFile(content, path);
    m_loading = false;
    takeFolder();
    Label3->setText(e_Etykieta->text());
    dfsSystemTreeView1->setCustomDirCaption(e_Etykieta->text());
    enable(sb_Utworz, documentHasContent());
    m_modified = false;
    m_edited = false;
    mirrorModified();
}

// A menu file that exists but cannot be read (not a regular file, too large, unreadable) is
// reported in one message; false then.
bool TForm1::readableMenuFile(const AutorunContent &content, const QString &path)
{
    QString why;
    switch (content.readError) {
    case FileReadError::None:
    case FileReadError::Missing:
        return true;
    case FileReadError::TooLarge:
        why = QStringLiteral("Plik ") + path + QStringLiteral(" ma ponad 64 MB, więc nie jest plikiem z menu płyty. "
                                                             "Nie został otwarty.");
        break;
    case FileReadError::NotRegularFile:
        why = QStringLiteral("Plik ") + path + QStringLiteral(" nie jest zwykłym plikiem (jest to np. potok lub "
                                                             "urządzenie). Nie został otwarty.");
        break;
    case FileReadError::Unreadable:
        why = Texts::cannotOpenFile.arg(path);
        break;
    }
    m_services.messages.show(this, why, Texts::captionError, Messages::Buttons::Ok, Messages::Icon::Error);
    return false;
}

bool TForm1::ReadAutorunFile(const QString &path)
{
    const AutorunContent content = readAutorun(path);
    if (!readableMenuFile(content, path))
        return false;
    fillFromMenuFile(content, path);
    return true;
}

void TForm1::fillFromMenuFile(const AutorunContent &content, const QString &path)
{
    const bool filling = m_filling;
    m_filling = true;
    const QString folder = dataFolder();
    l_Program->setText(content.open);
    m_shellExecute = content.shellExecute;
    m_autorunSection = content.section;
    m_iconIndexFromFile.reset();
    if (content.icon) {
        const QSignalBlocker quiet(dfsIconListBox1); // the program picks the row, not the user
        l_Ikona->setText(content.icon->file);
        dfsIconListBox1->setFileName(nativePathOf(folder, content.icon->file));
        const std::optional<int> index = content.icon->index;
        if (index && *index >= 0 && *index < dfsIconListBox1->NumberOfIcons()) {
            dfsIconListBox1->setCurrentRow(*index);
        } else {
            m_iconIndexFromFile = index;
            if (index)
                dfsIconListBox1->clearSelection(); // no row shows an icon that is not written
        }
    } else {
        l_Ikona->clear();
    }
    if (content.label)
        setLabelByProgram(*content.label);
    clearItems();
    addItems(content.items);

    if (!e_Etykieta->text().isEmpty()) {
        Label3->setText(e_Etykieta->text());
        dfsSystemTreeView1->setCustomDirCaption(e_Etykieta->text());
    }
    fitColumns();
    setFileButtons(true);
    sb_Zapisz->show();
    enable(sb_Zapisz, false);
    enable(sb_Odswiez, false);
    sb_Utworz->hide();
    m_edited = false;
    m_filling = filling;
    recordFile(path);
}

// Writes the document; false (after telling the user) when the file could not be written.
bool TForm1::writeMenuFile()
{
    QStringList verbs;
    if (isFolder(dataFolder()) && writeAutorunFile(document(), nullptr, &verbs)) {
        // The entries now stand under these verbs, which a default verb kept names.
        for (int i = 0; i < lv_Lista->topLevelItemCount() && i < verbs.size(); ++i)
            lv_Lista->topLevelItem(i)->setData(0, Qt::UserRole, verbs[i]);
        m_edited = false;
        m_autorunSection = true;
        return true;
    }
    m_services.messages.show(this, Texts::writeFailed, Texts::captionError, Messages::Buttons::Ok,
                             Messages::Icon::Error);
    return false;
}

void TForm1::sb_UtworzClick()
{
    const QString folder = dataFolder();
    if (!isFolder(folder))
        return;
    if (!discFileExists(folder, l_Program->text()) || !discFileExists(folder, l_Ikona->text())) {
        switch (m_services.messages.show(this, Texts::askMissingAutorun, Texts::captionWarning,
                                         Messages::Buttons::YesNoCancel, Messages::Icon::Warning)) {
        case Messages::Answer::Yes:
            sb_AutoRunClick();
            return;
        case Messages::Answer::No:
            // The menu is made without the auto-start data that the disc lacks.
            dropAutoStartOutside(folder);
            break;
        default:
            return;
        }
    }
    const bool written = writeMenuFile();
    enable(sb_Podglad, true);
    enable(sb_Zapisz, false);
    enable(sb_Odswiez, false);
    enable(sb_UsunPlik, true);
    enable(sb_UruchomPlik, fileOnDisc());
    sb_Zapisz->show();
    sb_Utworz->hide();
    if (recordFile(autorunPath(folder)) && written)
        m_services.messages.show(this, Texts::created, Texts::captionCreated, Messages::Buttons::Ok,
                                 Messages::Icon::Information);
}

void TForm1::sb_ZapiszClick()
{
    if (!isFolder(dataFolder()))
        return;
    const bool written = writeMenuFile();
    setFileButtons(true);
    // Edits that never reached the disc stay marked, so Refresh and Preview still warn.
    if (written)
        m_modified = false;
    mirrorModified();
    recordFile(autorunPath(dataFolder()));
}
