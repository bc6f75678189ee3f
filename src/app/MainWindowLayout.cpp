// The controls of the main window, at their designed places and sizes.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"

#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/PlacedControls.h"
#include "widgets/FolderTree.h"
#include "widgets/TypingLimit.h"
#include "widgets/WindowFont.h"
#include "widgets/OwnPictures.h"

#include <QCheckBox>
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

QToolButton *barButton(QWidget *parent, const char *name, int y, const QString &caption,
                       const char *picture)
{
    auto *b = make<QToolButton>(parent, name, 8, y, 65, 57);
    b->setText(caption);
    b->setIcon(ownIcon(QStringLiteral(":/pictures/buttons/%1.pam").arg(QLatin1String(picture))));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus); // the focus stays where the user's keys go
    return b;
}

QCheckBox *checkBox(QWidget *parent, const char *name, int x, int y, const QString &caption)
{
    auto *c = make<QCheckBox>(parent, name, x, y);
    c->setText(caption);
    c->adjustSize();
    return c;
}

QFrame *panel(QWidget *parent, const char *name, int x, int y, int w, int h, const QColor &colour)
{
    auto *p = make<QFrame>(parent, name, x, y, w, h);
    p->setAutoFillBackground(true);
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, colour);
    p->setPalette(palette);
    return p;
}

QMenu *menu(QWidget *parent, const char *name)
{
    auto *m = new QMenu(parent);
    m->setObjectName(QLatin1String(name));
    return m;
}

} // namespace

void MainWindow::setupLayout()
{
    setFixedSize(782, 464);
    setFont(windowFont());

    // Left button bar
    m_buttonBar = panel(this, "Panel1", 0, 0, 81, 464, QColor(204, 204, 255));
    m_menuButton = barButton(m_buttonBar, "sb_Nowe", 8, QStringLiteral("&Menu ..."), "nowe");
    m_autoStartButton = barButton(m_buttonBar, "sb_AutoRun", 72, QStringLiteral("&Auto..."), "autorun");
    m_createButton = barButton(m_buttonBar, "sb_Utworz", 136, QStringLiteral("&Utwórz"), "utworz");
    m_saveButton = barButton(m_buttonBar, "sb_Zapisz", 136, QStringLiteral("&Zapisz"), "zapisz");
    m_tipsButton = barButton(m_buttonBar, "sb_Porady", 200, QStringLiteral("&Porady"), "porady");
    m_helpButton = barButton(m_buttonBar, "sb_Pomoc", 264, QStringLiteral("Pomo&c"), "pomoc");
    m_aboutButton = barButton(m_buttonBar, "sb_About", 328, QStringLiteral("&Informacje"), "informacje");
    m_closeButton = barButton(m_buttonBar, "sb_Zamknij", 400, QStringLiteral("Zamk&nij"), "zamknij");
    m_saveButton->hide();

    // Folder and label
    m_folderGroup = make<QGroupBox>(this, "GroupBox1", 84, 0, 541, 65);
    m_folderGroup->setTitle(QStringLiteral(
        " Ścieżka do folderu z plikami które zamierzasz nagrać na CD(DVD) "));
    m_folderEdit = make<FolderEdit>(m_folderGroup, "de_Folder", 16, 16, 505, 21);
    m_folderEdit->setDialogs(&m_services.dialogs);
    m_recentFoldersButton = make<QToolButton>(m_folderGroup, "SpeedButton2", 520, 15, 12, 22);
    m_recentFoldersButton->setIcon(ownIcon(QStringLiteral(":/pictures/small/arrow-down.pam")));
    m_recentFoldersButton->setIconSize(QSize(7, 4));
    m_recentFoldersButton->setAutoRaise(true);
    m_recentFoldersButton->setFocusPolicy(Qt::NoFocus);
    m_labelCaption = label(m_folderGroup, "Label11", 16, 44, QStringLiteral("Etykieta (nazwa płytki):"));
    m_labelEdit = make<QLineEdit>(m_folderGroup, "e_Etykieta", 135, 40, 152, 21);
    m_labelLimit = new TypingLimit(m_labelEdit, 16);
    // The edit paints all of itself, so a keystroke does not repaint the group (its caption
    // laid out again) behind it; its corners keep what the group painted there.
    m_labelEdit->setAttribute(Qt::WA_OpaquePaintEvent);

    // Folder contents
    m_contentsGroup = make<QGroupBox>(this, "gb_Centrum", 84, 72, 261, 393);
    m_contentsGroup->setTitle(Texts::areaTaken);
    m_folderTree = make<FolderTree>(m_contentsGroup, "dfsSystemTreeView1", 16, 16, 233, 241);
    m_programsOnlyBox = checkBox(m_contentsGroup, "CheckBox1", 16, 260,
                         QStringLiteral("Wyświetlaj tylko aplikacje (*.exe)"));
    m_selectedPathCaption = label(m_contentsGroup, "Label6", 8, 288);
    m_selectedPathLabel = make<PathLabel>(m_contentsGroup, "Label4", 16, 304, 241, 17);
    m_selectedPathLabel->setAutoFillBackground(false);
    m_selectedNameCaption = label(m_contentsGroup, "Label7", 8, 320);
    m_selectedNameLabel = label(m_contentsGroup, "Label5", 16, 336);
    m_addButton = button(m_contentsGroup, "sb_Dodaj", 168, 360, 79, 25, QStringLiteral("&Dodaj"));

    // Menu items
    m_itemsGroup = make<QGroupBox>(this, "gb_Pozycje", 352, 72, 273, 393);
    m_itemsGroup->setTitle(QStringLiteral(" Pozycje w menu: "));
    m_itemList = make<ItemListView>(m_itemsGroup, "lv_Lista", 16, 16, 250, 241);
    m_itemList->setColumnCount(2);
    m_itemList->setHeaderLabels({QStringLiteral("Etykieta"), QStringLiteral("Nazwa i ścieżka do pliku")});
    m_itemList->setRootIsDecorated(false);
    m_itemList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_itemList->header()->setStretchLastSection(false);
    m_itemList->header()->setSectionsMovable(false);
    m_itemList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_itemList->setItemDelegateForColumn(0, new LabelDelegate(m_itemList));
    m_itemList->setItemDelegateForColumn(1, new ReadOnlyDelegate(m_itemList));
    m_sortBox = checkBox(m_itemsGroup, "cb_Sortuj", 16, 260,
                         QStringLiteral("Sortuj listę w czasie tworzenia"));
    m_itemNameCaption = label(m_itemsGroup, "Label1", 16, 288);
    m_itemNameLabel = label(m_itemsGroup, "l_NazwaPoz", 24, 304);
    m_itemFileCaption = label(m_itemsGroup, "Label15", 16, 320);
    // Sized when shown (showSelectedItem): measuring its bold text was a good part of the
    // window's start.
    m_fileMissingLabel = label(m_itemsGroup, "l_NotExists", 40, 320, Texts::fileMissing, 0, 0);
    QFont bold = m_fileMissingLabel->font();
    bold.setBold(true);
    m_fileMissingLabel->setFont(bold);
    QPalette red = m_fileMissingLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red); // in every state, as the label is shown
    m_fileMissingLabel->setPalette(red);
    m_fileMissingLabel->hide();
    m_itemFileLabel = make<PathLabel>(m_itemsGroup, "l_Plik", 16, 336, 249, 17);
    m_itemFileLabel->setAutoFillBackground(false);
    m_refreshButton = button(m_itemsGroup, "sb_Odswiez", 8, 360, 79, 25, QStringLiteral("&Odśwież"));
    m_removeButton = button(m_itemsGroup, "sb_Usun", 96, 360, 79, 25, QStringLiteral("U&suń"));
    m_editButton = button(m_itemsGroup, "sb_Edytuj", 184, 360, 79, 25, QStringLiteral("&Edytuj"));

    // Preview
    m_previewArea = panel(this, "Panel2", 782 - 155, 0, 155, 464, Qt::white);
    // The picture starts under the caption and its name under the computer, neither crossing
    // the other.
    m_computerPicture = make<QLabel>(m_previewArea, "Image1", 0, 16, 155, 124);
    m_computerPicture->setPixmap(ownPicture(QStringLiteral(":/pictures/mycomputer.pam")));
    m_computerPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_previewCaption = label(m_previewArea, "Label2", 8, 0, QStringLiteral("Podgląd:"));
    m_computerNameLabel = label(m_previewArea, "l_MK", 0, 96, Texts::myComputer, 97, 14);
    m_computerNameLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_driveFrame = panel(m_previewArea, "Panel3", 19, 140, 136, 119, Qt::white);
    m_driveFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    {
        // The light edges of the sunken frame in the grey of the buttons, so that the right and
        // bottom edges show on the white panel.
        QPalette palette = m_driveFrame->palette();
        palette.setColor(QPalette::Light, palette.color(QPalette::Button));
        m_driveFrame->setPalette(palette);
    }
    m_drivePicture = make<QLabel>(m_driveFrame, "Image2", 28, 8, 80, 81);
    m_drivePicture->setPixmap(ownPicture(QStringLiteral(":/pictures/drive.pam")));
    m_driveLabel = label(m_driveFrame, "Label3", 2, 95, Texts::driveCaption, 132, 20);
    m_driveLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_driveMenuHint = label(m_previewArea, "Label8", 5, 258,
                   QStringLiteral("Kliknij prawym przyciskiem na\nikonie dysku CD (DVD) aby\n"
                                  "podglądnąć utworzone menu"));
    m_deleteFileButton =
        button(m_previewArea, "sb_UsunPlik", 4, 312, 149, 35, QStringLiteral("   Usuń p&lik   "));
    m_openFileButton = button(m_previewArea, "sb_UruchomPlik", 4, 360, 149, 35, QStringLiteral("U&ruchom plik"));
    m_previewButton = button(m_previewArea, "sb_Podglad", 4, 408, 149, 51, QStringLiteral("   Pod&gląd   "));

    setDriveMenuAttached(true);

    // Pop-up menus
    m_fileMenu = menu(this, "pm_Nowe");
    m_recentFoldersMenu = menu(this, "pm_Wybierane");
    m_treeMenu = menu(this, "pm_Lista");
    m_addToMenuAction = m_treeMenu->addAction(QStringLiteral("Dodaj do menu"));
    m_treeMenu->addSeparator();
    m_setAsAutoStartAction = m_treeMenu->addAction(QStringLiteral("Ustaw jako automatycznie uruchamiany"));
    m_treeMenu->addSeparator();
    m_runAction = m_treeMenu->addAction(QStringLiteral("Uruchom"));
    m_addToMenuAction->setObjectName(QStringLiteral("Dodajdomenu1"));
    m_setAsAutoStartAction->setObjectName(QStringLiteral("Ustawjakoautomatycznieuruchomiany1"));
    m_runAction->setObjectName(QStringLiteral("Uruchom1"));
    m_driveMenu = menu(this, "pm_Menu");
}
