// The menu file of the main window: opening and reading autorun.inf into the controls, Create and Save.

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
#include "widgets/BusyCursor.h"
#include "widgets/PathLabel.h"
#include "widgets/TextWidth.h"
#include "widgets/TypingLimit.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
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

// A large menu file is read on a worker thread while a small window, modal to this one, says
// so and offers to give up; a small one is read at once. Nothing when the user gave up.
std::optional<AutorunContent> MainWindow::readInBackground(const QString &path)
{
    constexpr qint64 readAtOnce = 4 << 20; // a menu of some tens of thousands of entries
    const qint64 size = QFileInfo(path).size();
    if (size <= readAtOnce)
        return readAutorun(path);
    std::atomic_bool giveUp{false};
    AutorunContent content;
    std::unique_ptr<QThread> worker(QThread::create([&] { content = readAutorun(path, &giveUp); }));
    QProgressDialog progress(Texts::readingLargeFile().arg(path).arg(double(size) / (1 << 20), 0, 'f', 1),
                             Texts::cancelReading(), 0, 0, this);
    progress.setObjectName(QStringLiteral("dlg_Wczytywanie"));
    progress.setWindowTitle(Texts::title());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    QEventLoop waiting;
    connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &waiting, [&giveUp] { giveUp = true; });
    const BusyCursor busy;
    worker->start();
    progress.show();
    waiting.exec();
    worker->wait();
    if (giveUp)
        return std::nullopt;
    return content;
}

void MainWindow::openMenuFile(const QString &path)
{
    if (panelOpen() || !saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges()))
        return;
    // A file that cannot be read changes nothing: the window stays as it was.
    // The file is read once, before anything changes.
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    const std::optional<AutorunContent> read = readInBackground(path);
    if (!read || !readableMenuFile(*read, path))
        return;
    const AutorunContent &content = *read;
    m_document.loading = true;
    m_document.dataFolder = folder;
    m_folderText = folder;
    m_folderEdit->setText(folder);
    removeStaleTemporaryFiles(folder);
    dropAutoStartOutside(folder);
    startEmpty();
    // The file's own label is shown; the folder's name only stands in for a missing one.
    if (!content.label)
        setLabelByProgram(folderName(folder));
    fillFromMenuFile(content, path);
    m_document.loading = false;
    takeFolder();
    m_driveLabel->setText(m_labelEdit->text());
    m_folderTree->setRootCaption(m_labelEdit->text());
    m_document.modified = false;
    m_edited = false;
    updateControls();
}

// A menu file that exists but cannot be read (not a regular file, too large, unreadable) is
// reported in one message; false then.
bool MainWindow::readableMenuFile(const AutorunContent &content, const QString &path)
{
    QString why;
    switch (content.readError) {
    case FileReadError::None:
    case FileReadError::Missing:
        return true;
    case FileReadError::TooLarge:
        why = Texts::theFile() + path
            + Texts::fileOverLimit();
        break;
    case FileReadError::NotRegularFile:
        why = Texts::theFile() + path + Texts::fileNotRegular();
        break;
    case FileReadError::Unreadable:
        why = Texts::cannotOpenFile().arg(path);
        break;
    }
    m_services.messages.show(this, why, Texts::captionError(), Messages::Buttons::Ok, Messages::Icon::Error);
    return false;
}

bool MainWindow::readMenuFile(const QString &path)
{
    const std::optional<AutorunContent> content = readInBackground(path);
    if (!content || !readableMenuFile(*content, path))
        return false;
    fillFromMenuFile(*content, path);
    return true;
}

void MainWindow::fillFromMenuFile(const AutorunContent &content, const QString &path)
{
    const bool filling = m_filling;
    m_filling = true;
    m_document.autoStartProgram = content.open;
    m_document.shellExecute = content.shellExecute;
    m_document.kept = content.kept;
    m_document.autorunSection = content.section;
    m_document.iconFile = content.icon ? content.icon->file : QString();
    m_document.iconIndex = content.icon ? content.icon->index : std::nullopt;
    if (content.label)
        setLabelByProgram(*content.label);
    clearItems();
    addItems(content.items);

    if (!m_labelEdit->text().isEmpty()) {
        m_driveLabel->setText(m_labelEdit->text());
        m_folderTree->setRootCaption(m_labelEdit->text());
    }
    fitColumns();
    m_menuFromFile = true;
    m_saveInsteadOfCreate = true;
    m_document.modified = false;
    m_edited = false;
    m_filling = filling;
    updateControls();
    recordFile(path);
}

// Characters outside the code page would reach the disc as "?" while the window shows them:
// the user hears which, and chooses.
bool MainWindow::acceptUnwritableCharacters()
{
    const QString lost = unwritableCharacters(m_document);
    if (lost.isEmpty())
        return true;
    QStringList shown;
    for (const char32_t c : lost.toUcs4())
        shown << QStringLiteral("„") + QString::fromUcs4(&c, 1) + QStringLiteral("”");
    return m_services.messages.show(this, Texts::askUnwritable().arg(shown.join(QStringLiteral(", "))),
                                    Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
        == Messages::Answer::Yes;
}

// Writes the document, after telling the user when it could not be written.
MainWindow::WriteResult MainWindow::writeMenuFile()
{
    if (!folderStillThere()) {
        m_services.messages.show(this, Texts::writeFailed(), Texts::captionError(), Messages::Buttons::Ok,
                                 Messages::Icon::Error);
        return WriteResult::Failed;
    }
    if (!acceptUnwritableCharacters())
        return WriteResult::Cancelled;
    // A menu file that is a link out of the folder (from an archive, a download) is never
    // written through: the file it leads to is not the user's menu.
    const QString outside = linkLeavingFolder(autorunPath(dataFolder()), dataFolder());
    if (!outside.isEmpty()
        && m_services.messages.show(this, Texts::askReplaceLink().arg(outside), Texts::captionWarning(),
                                    Messages::Buttons::YesNoDefaultNo, Messages::Icon::Warning)
            != Messages::Answer::Yes)
        return WriteResult::Cancelled;
    QStringList verbs;
    if (writeAutorunFile(document(), nullptr, &verbs, !outside.isEmpty())) {
        m_folderTree->entryChanged(autorunPath(dataFolder())); // shown at once, whatever the folder holds
        // The entries now stand under these verbs, which a default verb kept names.
        for (int i = 0; i < m_document.items.size() && i < verbs.size(); ++i)
            m_document.items[i].verb = verbs[i]; // shown nowhere
        m_edited = false;
        m_document.autorunSection = true;
        m_document.modified = false;
        // The menu is now the file's, whatever was declined before: its commands are offered.
        m_menuFromFile = true;
        m_saveInsteadOfCreate = true;
        // Anuluj of the auto-start panel beside which Save was clicked returns to what was saved.
        if (m_openPanel == OpenPanel::AutoStart)
            m_choiceBeforePanel = {{m_document.autoStartProgram, m_document.iconFile, m_document.iconIndex},
                                   false, false};
        return WriteResult::Written;
    }
    m_services.messages.show(this, Texts::writeFailed(), Texts::captionError(), Messages::Buttons::Ok,
                             Messages::Icon::Error);
    return WriteResult::Failed;
}

void MainWindow::createMenuFile()
{
    const QString folder = dataFolder();
    const QString program = commandProgram(m_document.autoStartProgram, folder);
    if (folderStillThere()
        && (!discFileExists(folder, program) || !discFileExists(folder, m_document.iconFile))) {
        switch (m_services.messages.show(this, Texts::askMissingAutorun(), Texts::captionWarning(),
                                         Messages::Buttons::YesNoCancel, Messages::Icon::Warning)) {
        case Messages::Answer::Yes:
            openAutoStartPanel();
            return;
        case Messages::Answer::No:
            // The menu is made without the auto-start data that the disc lacks.
            dropAutoStartOutside(folder);
            break;
        default:
            return;
        }
    }
    const WriteResult result = writeMenuFile();
    if (result == WriteResult::Cancelled || !folderStillThere())
        return;
    // Save takes Create's place even when the file could not be written: the message said so.
    m_menuFromFile = true;
    m_saveInsteadOfCreate = true;
    updateControls();
    if (recordFile(autorunPath(folder)) && result == WriteResult::Written)
        m_services.messages.show(this, Texts::created(), Texts::captionCreated(), Messages::Buttons::Ok,
                                 Messages::Icon::Information);
}

// Edits that never reached the disc stay marked, so Refresh, Preview and closing still warn.
void MainWindow::save()
{
    const WriteResult result = writeMenuFile();
    updateControls();
    if (result != WriteResult::Cancelled && folderStillThere())
        recordFile(autorunPath(dataFolder()));
}
