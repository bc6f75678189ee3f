// The main window: start-up, the program's settings entry, and the commands that do not
// touch the document (help, tips, about, close, F1 and F10).

#include "app/MainWindow.h"
#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"

#include "app/ItemDelegates.h"
#include "app/RecentList.h"
#include "app/Texts.h"
#include "platform/Messages.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "widgets/AltKeyFilter.h"
#include "widgets/PathLabel.h"
#include "widgets/FolderEdit.h"
#include "widgets/FolderTree.h"

#include "Version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QShortcut>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString programKey = QStringLiteral("Software\\Quorvale\\Pelmora");
const QString myComputerKey = QStringLiteral(
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\"
    "{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
} // namespace

MainWindow::MainWindow(const AppServices &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(Texts::title());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setupLayout();
    setAcceptDrops(true); // a folder or an autorun.inf from a file manager
    connectHandlers();
    m_folderEdit->setLastFolder([] {
        for (const QString &folder : RecentList(RecentList::foldersKey).entries()) {
            if (QFileInfo(folder).isDir())
                return folder;
        }
        return QString();
    });
    qApp->installEventFilter(new AltKeyFilter(this)); // an access key never types into a field
    resetToNewMenu();
}

// A rename still open is committed as the list goes, when this window is no longer whole:
// nothing of it may be told then.
MainWindow::~MainWindow()
{
    disconnect(m_itemList->itemDelegateForColumn(0), nullptr, this, nullptr);
    // The list outlives the document whose entries its model shows: it lets go of them first.
    m_itemList->setModel(nullptr);
}

void MainWindow::setSideWindows(std::function<QWidget *()> tips, std::function<QWidget *()> about)
{
    m_tips = std::move(tips);
    m_about = std::move(about);
}

void MainWindow::connectHandlers()
{
    // Each command starts from confirmed input (settlePendingInput): what the user typed and
    // did not confirm is taken first, or the command does not run.
    setupActions();
    connect(m_addToMenuAction, &QAction::triggered, this,
            command(Pending::Folder, m_addButton, &MainWindow::openNewItemPanel));
    connect(m_setAsAutoStartAction, &QAction::triggered, this,
            command(Pending::Folder, nullptr, &MainWindow::setSelectedAsAutoStart));
    connect(m_runAction, &QAction::triggered, this,
            command(Pending::Folder, nullptr, &MainWindow::runSelectedProgram));
    connect(m_folderEdit, &FolderEdit::confirmed, this, &MainWindow::folderConfirmed);
    connect(m_folderTree, &FolderTree::selectedEntryChanged, this, &MainWindow::treeSelectionChanged);
    connect(m_folderTree, &FolderTree::entryDoubleClicked, this, &MainWindow::treeEntryDoubleClicked);
    connect(m_folderTree, &FolderTree::keyPressed, this, &MainWindow::treeKeyPressed);
    connect(m_programsOnlyBox, &QCheckBox::clicked, this, &MainWindow::programsOnlyToggled);
    for (QWidget *drive : std::initializer_list<QWidget *>{m_driveFrame, m_drivePicture, m_driveLabel})
        connect(drive, &QWidget::customContextMenuRequested, this, [this, drive](const QPoint &at) {
            if (!settlePendingInput(Pending::Folder))
                return;
            fillDriveMenu();
            m_driveMenu->popup(drive->mapToGlobal(at));
        });
    connect(m_itemList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::itemSelectionChanged);
    connect(m_itemList, &QAbstractItemView::doubleClicked, this, &MainWindow::openEditItemPanel);
    connect(m_itemList, &ItemListView::moveRequested, this, [this](int from, int to) {
        if (!panelOpen())
            moveItem(from, to);
    });
    connect(m_sortBox, &QCheckBox::clicked, this, &MainWindow::sortingToggled);
    connect(static_cast<LabelDelegate *>(m_itemList->itemDelegateForColumn(0)), &LabelDelegate::edited, this,
            [this](int row) { itemRenamed(row); });
    m_itemList->installEventFilter(this);
    connect(m_labelEdit, &QLineEdit::textChanged, this, &MainWindow::labelEdited);
    for (QWidget *w : {static_cast<QWidget *>(m_folderEdit), static_cast<QWidget *>(m_programsOnlyBox),
                       static_cast<QWidget *>(m_sortBox)})
        w->installEventFilter(this);

    // Save and Create share the key a desktop user tries first; the other keys are the actions'
    // own. None of them moves the focus, and none acts under an open panel.
    const auto shortcut = [this](const QKeySequence &keys, const std::function<void()> &command) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, command] {
            if (!panelOpen())
                command();
        });
    };
    shortcut(QKeySequence::Save, [this] { saveOrCreate(); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] { openFocusedContextMenu(); });
    m_itemList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_itemList, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (!panelOpen())
            m_itemMenu->popup(m_itemList->viewport()->mapToGlobal(at));
    });
}

void MainWindow::resetToNewMenu()
{
    m_items->beginReplace();
    m_document = MenuDocument();
    m_items->endReplace();
    m_document.loading = true;
    m_edited = false;
    m_menuFromFile = false;
    m_saveInsteadOfCreate = false;
    m_folderText.clear();
    writeProgramEntry();
    m_saveButton->move(m_createButton->x(), m_saveButton->y());
    clearItems();
    m_labelEdit->clear();
    for (QLabel *l : std::initializer_list<QLabel *>{
             m_selectedPathLabel, m_selectedNameLabel, m_selectedPathCaption, m_selectedNameCaption,
             m_itemNameLabel, m_itemFileLabel, m_itemNameCaption, m_itemFileCaption})
        l->clear();
    m_fileMissingLabel->hide();
    fitColumns();
    m_folderEdit->setFolder(Texts::myComputer());
    m_edited = false;
    m_document.loading = false;
    updateControls();
}

// The program's entry in the settings store is for other programs; it is written when "Path"
// does not name an existing file. A store that cannot be written is no reason not to start.
void MainWindow::writeProgramEntry()
{
    SettingsKey key(programKey);
    const std::optional<QString> path = key.value(QStringLiteral("Path"));
    if (path && QFileInfo(*path).isFile())
        return;
    key.setValue(QStringLiteral("Version"), QStringLiteral(PELMORA_VERSION));
    key.setValue(QStringLiteral("Path"), m_services.programFile);
    key.setValue(QStringLiteral("Name"), Texts::title());
}

void MainWindow::refreshOnShow()
{
    m_actions.help->setVisible(QFileInfo(m_services.helpFile()).isFile());
    const std::optional<QString> name = SettingsKey(myComputerKey).value(QString());
    m_computerNameLabel->setText(name && !name->isEmpty() ? *name : Texts::myComputer());
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refreshOnShow();
}

void MainWindow::closeWindow()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A rename still open is an edit like any other: asked about below.
    m_itemList->commitOpenEdit();
    // An open panel is cancelled first, as its Anuluj would; then the menu's changes are offered.
    if (m_openPanel == OpenPanel::Item)
        cancelItem();
    else if (m_openPanel == OpenPanel::AutoStart)
        cancelAutoStart();
    if (!saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges()))
        event->ignore();
    else
        QWidget::closeEvent(event);
}

namespace {
// The one local folder or file a drop brings; empty for anything else.
QString droppedPath(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}
} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QFileInfo dropped(droppedPath(event->mimeData()));
    if (!panelOpen() && (dropped.isDir() || dropped.fileName().compare(QLatin1String("autorun.inf"), Qt::CaseInsensitive) == 0))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    openPath(path);
}

void MainWindow::showHelp()
{
    m_services.shell.open(this, m_services.helpFile(), QStringLiteral("open"), Shell::Show::Maximized);
}

void MainWindow::showTips()
{
    if (!m_tips)
        return;
    QWidget *tips = m_tips();
    tips->show();
    tips->raise();
    tips->activateWindow();
}

void MainWindow::showAbout()
{
    if (!m_about)
        return;
    // A modal window: whatever hides it gives this window back, with its focus.
    QWidget *about = m_about();
    about->show();
    about->raise();
    about->activateWindow();
}

void MainWindow::folderEditKeyPressed(int key)
{
    if (key == Qt::Key_F1)
        m_actions.help->trigger();
    else if (key == Qt::Key_F10)
        m_actions.about->trigger();
}

// The window's own key handler runs only when no control has the focus; keys that a control
// leaves unhandled travel up to the window and must not act twice.
void MainWindow::keyPressEvent(QKeyEvent *event)
{
    QWidget *focus = focusWidget();
    if (!focus || focus == this)
        folderEditKeyPressed(event->key());
    QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_folderEdit || watched == m_programsOnlyBox || watched == m_sortBox)
            folderEditKeyPressed(key);
        else if (watched == m_itemList && QApplication::focusWidget() != m_itemList
                 && m_itemList->isAncestorOf(QApplication::focusWidget()))
            folderEditKeyPressed(key); // keys of the rename's editor: Enter ends the rename, nothing else
        else if (watched == m_itemList && key == Qt::Key_F2 && selectedRow() >= 0) {
            // F2 renames the entry's label wherever in the row it was clicked, in view.
            m_itemList->horizontalScrollBar()->setValue(0);
            m_itemList->edit(m_items->index(selectedRow(), 0));
            return true;
        } else if (watched == m_itemList)
            itemListKeyPressed(key);
    }
    return QWidget::eventFilter(watched, event);
}
