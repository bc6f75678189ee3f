// The controls of the main window, at their designed places and sizes.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"
#include "app/Texts.h"

#include "widgets/FocusFrame.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/PlacedControls.h"
#include "widgets/FolderTree.h"
#include "widgets/TypingLimit.h"
#include "widgets/WindowFont.h"
#include "widgets/OwnPictures.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace Placed;

namespace {

QToolButton *barButton(QWidget *parent, const char *name, const QString &caption, const char *picture)
{
    auto *b = make<QToolButton>(parent, name);
    b->setText(caption);
    b->setIcon(ownIcon(QStringLiteral(":/pictures/buttons/%1.pam").arg(QLatin1String(picture))));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    // Tab reaches it; a click leaves the focus where the user's keys go.
    b->setFocusPolicy(Qt::TabFocus);
    atLeast(b, {65, 57});
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return b;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *c = make<QCheckBox>(parent, name);
    c->setText(caption);
    return c;
}

// A panel painted in a colour of its own, and so with texts of its own colour whatever the
// desktop's colour scheme: black, grey where disabled. Flat buttons on it (flatButtons) are
// painted in its colours too; raised ones keep the scheme's.
template <typename Frame = QFrame>
Frame *panel(QWidget *parent, const char *name, const QColor &colour, bool flatButtons = false)
{
    auto *p = make<Frame>(parent, name);
    p->setAutoFillBackground(true);
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, colour);
    QList<QPalette::ColorRole> texts = {QPalette::WindowText};
    if (flatButtons) {
        palette.setColor(QPalette::Button, colour.lighter(108));
        texts << QPalette::ButtonText;
    }
    for (QPalette::ColorRole text : texts) {
        palette.setColor(QPalette::Active, text, Qt::black);
        palette.setColor(QPalette::Inactive, text, Qt::black);
        palette.setColor(QPalette::Disabled, text, QColor(120, 120, 120));
    }
    p->setPalette(palette);
    return p;
}

QMenu *menu(QWidget *parent, const char *name)
{
    auto *m = new QMenu(parent);
    m->setObjectName(QLatin1String(name));
    return m;
}

// A box layout whose controls start at the designed distance from the edges of box, or as near
// as the box's own frame (a group's title) lets them: what it takes is counted in, so that a
// larger title moves them down.
QBoxLayout *boxLayout(QWidget *box, QBoxLayout::Direction direction, QMargins designed, int spacing = 0)
{
    box->ensurePolished();
    auto *layout = new QBoxLayout(direction, box);
    const QMargins frame = box->contentsMargins();
    layout->setContentsMargins(qMax(0, designed.left() - frame.left()), qMax(0, designed.top() - frame.top()),
                               qMax(0, designed.right() - frame.right()),
                               qMax(0, designed.bottom() - frame.bottom()));
    layout->setSpacing(spacing);
    return layout;
}

// The designed width of a laid-out group, or more when its title or its controls ask for it;
// Qt's own measure of the title leaves more room around it than the designed one did.
void groupWidth(QGroupBox *group, int designed)
{
    const int title = group->fontMetrics().horizontalAdvance(group->title()) + 4;
    group->setMinimumWidth(qMax(qMax(designed, title), group->layout()->totalMinimumSize().width()));
}

// A row of its own in a column: the widget at an indent from both edges, aligned as asked.
QHBoxLayout *row(QBoxLayout *column, QWidget *widget, int left, int right,
                 Qt::Alignment alignment = Qt::Alignment(), int stretch = 0)
{
    auto *r = new QHBoxLayout;
    r->setContentsMargins(left, 0, right, 0);
    r->setSpacing(0);
    r->addWidget(widget, stretch ? 1 : 0, alignment);
    column->addLayout(r, stretch);
    return r;
}

// A line of text in the designed pitch of 16 pixels, taller when the font asks for it.
void textLine(QBoxLayout *column, QLabel *label, int left, int right)
{
    label->setMinimumHeight(qMax(16, label->fontMetrics().height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row(column, label, left, right);
}

} // namespace

void MainWindow::setupLayout()
{
    setFont(windowFont());

    // Left button bar: the buttons in a column, Zamknij at the foot.
    m_buttonBar = panel(this, "Panel1", QColor(204, 204, 255), true);
    m_menuButton = barButton(m_buttonBar, "sb_Nowe", Texts::menuCommand(), "nowe");
    m_autoStartButton = barButton(m_buttonBar, "sb_AutoRun", Texts::autoStartCommand(), "autorun");
    m_createButton = barButton(m_buttonBar, "sb_Utworz", Texts::createCommand(), "utworz");
    m_saveButton = barButton(m_buttonBar, "sb_Zapisz", Texts::saveCommand(), "zapisz");
    m_tipsButton = barButton(m_buttonBar, "sb_Porady", Texts::tipsCommand(), "porady");
    m_helpButton = barButton(m_buttonBar, "sb_Pomoc", Texts::helpCommand(), "pomoc");
    m_aboutButton = barButton(m_buttonBar, "sb_About", Texts::aboutCommand(), "informacje");
    m_closeButton = barButton(m_buttonBar, "sb_Zamknij", Texts::closeCommand(), "zamknij");
    m_saveButton->hide();
    {
        auto *bar = new QGridLayout(m_buttonBar);
        bar->setContentsMargins(8, 8, 7, 7);
        bar->setSpacing(7);
        int place = 0;
        for (QToolButton *b : {m_menuButton, m_autoStartButton, m_createButton, m_tipsButton, m_helpButton,
                               m_aboutButton, m_saveButton}) {
            if (b != m_saveButton)
                bar->addWidget(b, place++, 0);
            // Without a help file the buttons below keep their places.
            QSizePolicy policy = b->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            b->setSizePolicy(policy);
        }
        bar->addWidget(m_saveButton, 2, 0); // in Utwórz's place: one of them shows
        bar->setRowMinimumHeight(place, 1);
        bar->setRowStretch(place++, 1);
        bar->addWidget(m_closeButton, place, 0);
    }

    // Folder and label
    m_folderGroup = make<QGroupBox>(this, "GroupBox1");
    m_folderGroup->setTitle(Texts::folderGroupTitle());
    m_folderEdit = make<FolderEdit>(m_folderGroup, "de_Folder");
    m_folderEdit->setDialogs(&m_services.dialogs);
    m_recentFoldersButton = make<QToolButton>(m_folderGroup, "SpeedButton2");
    m_recentFoldersButton->setIcon(ownIcon(QStringLiteral(":/pictures/small/arrow-down.pam")));
    m_recentFoldersButton->setIconSize(QSize(7, 4));
    m_recentFoldersButton->setAutoRaise(true);
    m_recentFoldersButton->setFocusPolicy(Qt::TabFocus);
    m_recentFoldersButton->setFixedWidth(12);
    m_recentFoldersButton->setMinimumHeight(qMax(22, m_folderEdit->sizeHint().height()));
    m_labelCaption = label(m_folderGroup, "Label11", Texts::labelCaption());
    m_labelEdit = make<QLineEdit>(m_folderGroup, "e_Etykieta");
    m_labelEdit->setMinimumWidth(152);
    m_labelEdit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_labelCaption->setBuddy(m_labelEdit);
    m_labelLimit = new TypingLimit(m_labelEdit, 16);
    // The edit paints all of itself, so a keystroke does not repaint the group (its caption
    // laid out again) behind it; its corners keep what the group painted there.
    m_labelEdit->setAttribute(Qt::WA_OpaquePaintEvent);
    {
        QBoxLayout *column = boxLayout(m_folderGroup, QBoxLayout::TopToBottom, {16, 15, 9, 3}, 1);
        auto *folderRow = new QHBoxLayout;
        folderRow->setSpacing(0);
        folderRow->addWidget(m_folderEdit, 1);
        folderRow->addSpacing(-1); // the arrow stands on the edit's right edge
        folderRow->addWidget(m_recentFoldersButton);
        column->addLayout(folderRow);
        auto *labelRow = new QHBoxLayout;
        labelRow->setSpacing(6);
        labelRow->addWidget(m_labelCaption);
        labelRow->addWidget(m_labelEdit);
        labelRow->addStretch(1);
        column->addLayout(labelRow);
    }

    // Folder contents
    m_contentsGroup = make<QGroupBox>(this, "gb_Centrum");
    m_contentsGroup->setTitle(Texts::areaTaken());
    m_folderTree = make<FolderTree>(m_contentsGroup, "dfsSystemTreeView1");
    m_folderTree->setMinimumSize(233, 239);
    m_programsOnlyBox = checkBox(m_contentsGroup, "CheckBox1", Texts::programsOnly());
    m_selectedPathCaption = label(m_contentsGroup, "Label6");
    m_selectedPathLabel = make<PathLabel>(m_contentsGroup, "Label4");
    m_selectedPathLabel->setAutoFillBackground(false);
    m_selectedNameCaption = label(m_contentsGroup, "Label7");
    m_selectedNameLabel = label(m_contentsGroup, "Label5");
    m_addButton = button(m_contentsGroup, "sb_Dodaj", {79, 25}, Texts::addCommand());
    {
        QBoxLayout *column = boxLayout(m_contentsGroup, QBoxLayout::TopToBottom, {8, 16, 4, 8});
        row(column, m_folderTree, 8, 8, {}, 1);
        column->addSpacing(3);
        row(column, m_programsOnlyBox, 8, 8);
        column->addSpacing(9);
        textLine(column, m_selectedPathCaption, 0, 0);
        textLine(column, m_selectedPathLabel, 8, 0);
        textLine(column, m_selectedNameCaption, 0, 0);
        textLine(column, m_selectedNameLabel, 8, 0);
        column->addSpacing(8);
        row(column, m_addButton, 8, 10, Qt::AlignRight);
        groupWidth(m_contentsGroup, 261);
    }

    // Menu items
    m_itemsGroup = make<QGroupBox>(this, "gb_Pozycje");
    m_itemsGroup->setTitle(Texts::itemsGroupTitle());
    m_itemList = make<ItemListView>(m_itemsGroup, "lv_Lista");
    m_itemList->setMinimumSize(250, 239);
    m_items = new MenuItemModel(m_document.items, this);
    m_itemList->setModel(m_items);
    m_itemList->setRootIsDecorated(false);
    m_itemList->setUniformRowHeights(true);
    m_itemList->setSelectionMode(QAbstractItemView::SingleSelection);
    // The file column takes the room the window gives beyond the labels.
    m_itemList->header()->setStretchLastSection(true);
    m_itemList->header()->setSectionsMovable(false);
    m_itemList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_itemList->setItemDelegateForColumn(0, new LabelDelegate(m_itemList));
    m_itemList->setItemDelegateForColumn(1, new ReadOnlyDelegate(m_itemList));
    m_sortBox = checkBox(m_itemsGroup, "cb_Sortuj", Texts::sortWhileCreating());
    m_itemNameCaption = label(m_itemsGroup, "Label1");
    m_itemNameLabel = label(m_itemsGroup, "l_NazwaPoz");
    m_itemFileCaption = label(m_itemsGroup, "Label15");
    // Measured when shown (showSelectedItem), not here: measuring its bold text loads a bold
    // face, which would slow the window's start.
    m_fileMissingLabel = label(m_itemsGroup, "l_NotExists", Texts::fileMissing());
    QFont bold = m_fileMissingLabel->font();
    bold.setBold(true);
    m_fileMissingLabel->setFont(bold);
    m_fileMissingLabel->hide();
    m_itemFileLabel = make<PathLabel>(m_itemsGroup, "l_Plik");
    m_itemFileLabel->setAutoFillBackground(false);
    m_refreshButton = button(m_itemsGroup, "sb_Odswiez", {79, 25}, Texts::refreshCommand());
    m_removeButton = button(m_itemsGroup, "sb_Usun", {79, 25}, Texts::removeCommand());
    m_editButton = button(m_itemsGroup, "sb_Edytuj", {79, 25}, Texts::editCommand());
    {
        QBoxLayout *column = boxLayout(m_itemsGroup, QBoxLayout::TopToBottom, {8, 16, 7, 8});
        row(column, m_itemList, 8, 0, {}, 1);
        column->addSpacing(3);
        row(column, m_sortBox, 8, 0);
        column->addSpacing(9);
        textLine(column, m_itemNameCaption, 8, 1);
        textLine(column, m_itemNameLabel, 16, 1);
        auto *fileCaption = new QHBoxLayout;
        fileCaption->setContentsMargins(8, 0, 1, 0);
        fileCaption->setSpacing(0);
        m_itemFileCaption->setMinimumSize(24, qMax(16, m_itemFileCaption->fontMetrics().height()));
        m_itemFileCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fileCaption->addWidget(m_itemFileCaption);
        fileCaption->addWidget(m_fileMissingLabel, 1, Qt::AlignLeft | Qt::AlignTop);
        column->addLayout(fileCaption);
        textLine(column, m_itemFileLabel, 8, 1);
        column->addSpacing(8);
        auto *buttons = new QHBoxLayout;
        buttons->setContentsMargins(0, 0, 3, 0);
        buttons->setSpacing(8); // the designed pitch of 88 with buttons of 80
        for (QPushButton *b : {m_refreshButton, m_removeButton, m_editButton})
            buttons->addWidget(b);
        buttons->addStretch(1);
        column->addLayout(buttons);
        groupWidth(m_itemsGroup, 273);
    }

    // Preview
    m_previewArea = panel(this, "Panel2", Qt::white);
    m_previewCaption = label(m_previewArea, "Label2", Texts::previewCaption());
    m_computerPicture = make<QLabel>(m_previewArea, "Image1");
    m_computerPicture->setPixmap(ownPicture(QStringLiteral(":/pictures/mycomputer.pam")));
    m_computerPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_computerPicture->setFixedSize(155, 124);
    // The computer's name stands under the computer in the picture.
    m_computerNameLabel = label(m_computerPicture, "l_MK", Texts::myComputer());
    m_computerNameLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_computerNameLabel->setMinimumWidth(97);
    {
        auto *onPicture = new QVBoxLayout(m_computerPicture);
        onPicture->setContentsMargins(0, 80, 0, 0);
        onPicture->addWidget(m_computerNameLabel, 0, Qt::AlignLeft | Qt::AlignTop);
        onPicture->addStretch(1);
    }
    m_driveFrame = panel<FocusFrame>(m_previewArea, "Panel3", Qt::white);
    m_driveFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    {
        // The light edges of the sunken frame in the grey of the buttons, so that the right and
        // bottom edges show on the white panel.
        QPalette palette = m_driveFrame->palette();
        palette.setColor(QPalette::Light, QColor(0xef, 0xef, 0xef).darker(110));
        m_driveFrame->setPalette(palette);
    }
    m_drivePicture = make<QLabel>(m_driveFrame, "Image2");
    m_drivePicture->setPixmap(ownPicture(QStringLiteral(":/pictures/drive.pam")));
    m_drivePicture->setAlignment(Qt::AlignCenter);
    m_drivePicture->setMinimumSize(80, 81);
    m_driveLabel = label(m_driveFrame, "Label3", Texts::driveCaption());
    m_driveLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    atLeast(m_driveLabel, {132, 20});
    m_driveLabel->setWordWrap(true);
    {
        QBoxLayout *column = boxLayout(m_driveFrame, QBoxLayout::TopToBottom, {2, 8, 2, 4}, 6);
        column->addWidget(m_drivePicture, 0, Qt::AlignHCenter);
        column->addWidget(m_driveLabel, 1);
    }
    m_driveMenuHint = label(m_previewArea, "Label8", Texts::driveMenuHint());
    {
        QSizePolicy policy = m_driveMenuHint->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        m_driveMenuHint->setSizePolicy(policy);
    }
    // The program the disc starts, named under the hint in the room above the buttons.
    m_autoStartLabel = label(m_previewArea, "l_Autostart");
    m_autoStartLabel->setMinimumHeight(qMax(15, m_autoStartLabel->fontMetrics().height()));
    m_autoStartLabel->setMinimumWidth(1); // a long name is cut short, whole in its tooltip
    m_autoStartLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The architecture sections of the file, shown only when it has any.
    m_sectionsLabel = label(m_previewArea, "l_Sekcje");
    m_sectionsLabel->setWordWrap(true);
    m_sectionsLabel->setMinimumWidth(1);
    m_sectionsLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    m_sectionsLabel->setToolTip(Texts::sectionsToolTip());
    m_sectionsLabel->hide();
    m_deleteFileButton = button(m_previewArea, "sb_UsunPlik", {149, 35}, Texts::deleteFileCommand());
    m_openFileButton = button(m_previewArea, "sb_UruchomPlik", {149, 35}, Texts::openFileCommand());
    m_previewButton = button(m_previewArea, "sb_Podglad", {149, 51}, Texts::previewCommand());
    {
        auto *column = new QVBoxLayout(m_previewArea);
        column->setContentsMargins(0, 0, 0, 5);
        column->setSpacing(0);
        row(column, m_previewCaption, 8, 0)->addStretch(1);
        m_previewCaption->setMinimumHeight(qMax(16, m_previewCaption->fontMetrics().height()));
        m_previewCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        row(column, m_computerPicture, 0, 0, Qt::AlignLeft);
        row(column, m_driveFrame, 19, 0);
        m_driveFrame->setMinimumSize(136, 119);
        column->addSpacing(-1);
        row(column, m_driveMenuHint, 5, 3);
        row(column, m_autoStartLabel, 5, 3);
        row(column, m_sectionsLabel, 5, 3);
        column->addStretch(1);
        for (QPushButton *b : {m_deleteFileButton, m_openFileButton, m_previewButton}) {
            b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed); // as wide as the panel
            row(column, b, 4, 2);
            if (b != m_previewButton)
                column->addSpacing(13);
        }
    }

    // The bar, the folder and the lists, the preview: side by side, the middle taking the room.
    {
        auto *window = new QHBoxLayout(this);
        window->setContentsMargins(0, 0, 0, 0);
        window->setSpacing(0);
        window->addWidget(m_buttonBar);
        window->addSpacing(3);
        auto *middle = new QVBoxLayout;
        middle->setSpacing(7);
        middle->addWidget(m_folderGroup);
        auto *lists = new QHBoxLayout;
        lists->setSpacing(7);
        lists->addWidget(m_contentsGroup, 261);
        lists->addWidget(m_itemsGroup, 273);
        middle->addLayout(lists, 1);
        window->addLayout(middle, 1);
        window->addSpacing(2);
        window->addWidget(m_previewArea);
        m_buttonBar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        m_folderGroup->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_previewArea->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    }
    // The designed size is the least the window takes.
    resize(minimumSizeHint());

    setDriveMenuAttached(true);
    nameControls();

    // Pop-up menus
    m_fileMenu = menu(this, "pm_Nowe");
    m_recentFoldersMenu = menu(this, "pm_Wybierane");
    m_treeMenu = menu(this, "pm_Lista");
    m_addToMenuAction = m_treeMenu->addAction(Texts::addToMenu());
    m_treeMenu->addSeparator();
    m_setAsAutoStartAction = m_treeMenu->addAction(Texts::setAsAutoStart());
    m_treeMenu->addSeparator();
    m_runAction = m_treeMenu->addAction(Texts::runProgram());
    m_addToMenuAction->setObjectName(QStringLiteral("Dodajdomenu1"));
    m_setAsAutoStartAction->setObjectName(QStringLiteral("Ustawjakoautomatycznieuruchomiany1"));
    m_runAction->setObjectName(QStringLiteral("Uruchom1"));
    m_driveMenu = menu(this, "pm_Menu");
    m_itemMenu = menu(this, "pm_Pozycje");
}

// What a screen reader says of the controls whose text does not name them, and the order Tab
// takes: the order a reader reads the window in.
void MainWindow::nameControls()
{
    const auto name = [](QWidget *w, const QString &text, const QString &description = {}) {
        w->setAccessibleName(text);
        if (!description.isEmpty())
            w->setAccessibleDescription(description);
    };
    name(m_buttonBar, Texts::commandsName());
    name(m_folderEdit, Texts::folderEditName());
    name(m_folderEdit->findChild<QWidget *>(QStringLiteral("browseButton")), Texts::browseButtonName());
    name(m_labelEdit, Texts::labelEditName());
    name(m_folderTree, Texts::folderTreeName());
    name(m_itemList, Texts::itemListName());
    name(m_previewArea, Texts::previewAreaName());
    name(m_computerPicture, Texts::myComputer());
    name(m_driveFrame, Texts::driveCaption(), Texts::driveDescription());

    QWidget *order[] = {m_menuButton, m_autoStartButton, m_createButton, m_saveButton, m_tipsButton,
                        m_helpButton, m_aboutButton, m_closeButton, m_folderEdit,
                        m_folderEdit->findChild<QWidget *>(QStringLiteral("browseButton")),
                        m_recentFoldersButton, m_labelEdit, m_folderTree, m_programsOnlyBox, m_addButton,
                        m_itemList, m_refreshButton, m_removeButton, m_editButton, m_sortBox, m_driveFrame,
                        m_deleteFileButton, m_openFileButton, m_previewButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}
