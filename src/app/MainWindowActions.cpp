// The window's commands as actions: each has its text, access key and shortcut in one place,
// the buttons and menus show it, and whether it is offered follows the window's state
// (applyControls). Every action runs through runCommand, which first takes the input the user
// has not yet confirmed.

#include "app/MainWindow.h"
#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"

#include "app/Texts.h"
#include "widgets/OwnPictures.h"

#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

// A button that shows an action: its caption, tooltip and state are the action's, and a click
// triggers it.
void showAction(QAbstractButton *button, QAction *action)
{
    const auto follow = [button, action] {
        auto *tool = qobject_cast<QToolButton *>(button);
        if (!tool || tool->toolButtonStyle() != Qt::ToolButtonIconOnly) // not a picture alone
            button->setText(action->text());
        // The caption without its access key and the spaces that pad it.
        button->setAccessibleName(QString(action->text()).remove(QLatin1Char('&')).trimmed());
        if (!action->shortcuts().isEmpty())
            button->setToolTip(action->toolTip()); // the key beside the caption
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

} // namespace

QAction *MainWindow::makeAction(const char *name, const QString &text, Pending pending,
                                void (MainWindow::*handler)(), const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!keys.isEmpty()) {
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QLatin1Char('&')).trimmed(),
                                                        keys.first().toString(QKeySequence::NativeText)));
        addAction(action); // its keys work anywhere in the window
    }
    connect(action, &QAction::triggered, this, [this, action, pending, handler] {
        runCommand(pending, action, handler);
    });
    return action;
}

void MainWindow::setupActions()
{
    m_actions.menu = makeAction("menuAction", Texts::menuCommand(), Pending::Editors, &MainWindow::showFileMenu);
    m_actions.autoStart = makeAction("autoStartAction", Texts::autoStartCommand(), Pending::Folder,
                                     &MainWindow::openAutoStartPanel);
    m_actions.create = makeAction("createAction", Texts::createCommand(), Pending::FolderWrite,
                                  &MainWindow::createMenuFile);
    m_actions.save = makeAction("saveAction", Texts::saveCommand(), Pending::FolderWrite, &MainWindow::save);
    m_actions.tips = makeAction("tipsAction", Texts::tipsCommand(), Pending::Editors, &MainWindow::showTips);
    m_actions.help = makeAction("helpAction", Texts::helpCommand(), Pending::Editors, &MainWindow::showHelp);
    m_actions.about = makeAction("aboutAction", Texts::aboutCommand(), Pending::Editors,
                                 &MainWindow::showAbout);
    m_actions.close = makeAction("closeAction", Texts::closeCommand(), Pending::Editors, &MainWindow::closeWindow,
                                 {QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_F4)});
    m_actions.add = makeAction("addAction", Texts::addCommand(), Pending::Folder, &MainWindow::openNewItemPanel);
    m_actions.refresh = makeAction("refreshAction", Texts::refreshCommand(), Pending::FolderWrite,
                                   &MainWindow::refresh);
    m_actions.remove = makeAction("removeAction", Texts::removeCommand(), Pending::Folder,
                                  &MainWindow::removeSelectedItem);
    m_actions.edit = makeAction("editAction", Texts::editCommand(), Pending::Folder,
                                &MainWindow::openEditItemPanel);
    m_actions.moveUp = makeAction("moveUpAction", Texts::moveUpCommand(), Pending::Folder,
                                  &MainWindow::moveSelectedItemUp, {QKeySequence(Qt::CTRL | Qt::Key_Up)});
    m_actions.moveDown = makeAction("moveDownAction", Texts::moveDownCommand(), Pending::Folder,
                                    &MainWindow::moveSelectedItemDown, {QKeySequence(Qt::CTRL | Qt::Key_Down)});
    m_actions.deleteFile = makeAction("deleteFileAction", Texts::deleteFileCommand(), Pending::FolderWrite,
                                      &MainWindow::deleteMenuFile);
    m_actions.openFile = makeAction("openFileAction", Texts::openFileCommand(), Pending::Folder,
                                    &MainWindow::openMenuFileOnDesktop);
    m_actions.preview = makeAction("previewAction", Texts::previewCommand(), Pending::FolderWrite,
                                   &MainWindow::previewOnDrive);
    m_actions.recentFolders = makeAction("recentFoldersAction", Texts::recentFoldersCommand(),
                                         Pending::Editors, &MainWindow::showRecentFolders,
                                         {QKeySequence(Qt::Key_F4)});
    // Ctrl+Up and Ctrl+Down belong to the list: elsewhere (the tree) they move the cursor.
    for (QAction *move : {m_actions.moveUp, m_actions.moveDown}) {
        removeAction(move);
        move->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_itemList->addAction(move);
    }
    // The "Menu ..." entries
    m_actions.newMenu = makeAction("Nowe1", Texts::newMenuCommand(), Pending::Editors, &MainWindow::newMenu,
                                   {QKeySequence::New});
    m_actions.newMenu->setIcon(ownIcon(QStringLiteral(":/pictures/small/nowe.png")));
    m_actions.openMenu = makeAction("Otworz1", Texts::openMenuCommand(), Pending::Editors, &MainWindow::openMenu,
                                    {QKeySequence::Open});
    m_actions.openMenu->setIcon(ownIcon(QStringLiteral(":/pictures/small/otworz.png")));
    m_actions.check = makeAction("Sprawdzplyte1", Texts::checkDiscCommand(), Pending::Folder,
                                 &MainWindow::showDiscCheck);
    m_actions.image = makeAction("Obrazplyty1", Texts::discImageCommand(), Pending::Folder,
                                 &MainWindow::makeDiscImage);

    m_itemMenu->addAction(m_actions.edit);
    m_itemMenu->addAction(m_actions.remove);
    m_itemMenu->addSeparator();
    m_itemMenu->addAction(m_actions.moveUp);
    m_itemMenu->addAction(m_actions.moveDown);

    showAction(m_menuButton, m_actions.menu);
    showAction(m_autoStartButton, m_actions.autoStart);
    showAction(m_createButton, m_actions.create);
    showAction(m_saveButton, m_actions.save);
    showAction(m_tipsButton, m_actions.tips);
    showAction(m_helpButton, m_actions.help);
    showAction(m_aboutButton, m_actions.about);
    showAction(m_closeButton, m_actions.close);
    showAction(m_addButton, m_actions.add);
    showAction(m_refreshButton, m_actions.refresh);
    showAction(m_removeButton, m_actions.remove);
    showAction(m_editButton, m_actions.edit);
    showAction(m_deleteFileButton, m_actions.deleteFile);
    showAction(m_openFileButton, m_actions.openFile);
    showAction(m_previewButton, m_actions.preview);
    showAction(m_recentFoldersButton, m_actions.recentFolders); // the arrow alone shows
}

// Save, or Create while the menu has no file yet: whichever the window offers once the input
// is taken, so that a folder typed and not yet confirmed is saved into.
void MainWindow::saveOrCreate()
{
    if (!settlePendingInput(Pending::FolderWrite) || panelOpen())
        return;
    QAction *action = m_actions.save->isVisible() ? m_actions.save : m_actions.create;
    if (action->isEnabled())
        action->trigger();
}

void MainWindow::applyActions(const ControlStates &c)
{
    m_actions.create->setVisible(c.createShown);
    m_actions.save->setVisible(c.saveShown);
    m_actions.create->setEnabled(c.create);
    m_actions.save->setEnabled(c.save);
    m_actions.autoStart->setEnabled(c.autoStart);
    m_actions.add->setEnabled(c.add);
    m_actions.remove->setEnabled(c.remove);
    m_actions.edit->setEnabled(c.edit);
    const int row = selectedRow();
    m_actions.moveUp->setEnabled(c.edit && row > 0);
    m_actions.moveDown->setEnabled(c.edit && row >= 0 && row + 1 < m_document.items.size());
    m_actions.refresh->setEnabled(c.refresh);
    for (QAction *a : {m_actions.preview, m_actions.openFile, m_actions.deleteFile})
        a->setEnabled(c.fileCommands);
    for (QAction *a : {m_actions.menu, m_actions.newMenu, m_actions.openMenu, m_actions.recentFolders})
        a->setEnabled(c.unlocked);
    for (QAction *a : {m_actions.check, m_actions.image})
        a->setEnabled(c.unlocked && !dataFolder().isEmpty()); // while a folder is taken
    // The side windows and help stay at hand under a panel, as their buttons did.
}

void MainWindow::openFocusedContextMenu()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus))
        return;
    QWidget *target = focus;
    QPoint at = focus->rect().center();
    if (auto *view = qobject_cast<QAbstractItemView *>(focus)) {
        // At the current row, as a click on it would.
        target = view->viewport();
        const QRect row = view->visualRect(view->currentIndex());
        at = row.isValid() ? QPoint(row.left() + 8, row.center().y()) : QPoint(8, 8);
    }
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
}
