// The controls of the main window, at their designed places and sizes.

#include "app/MainWindow.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"

#include "widgets/ChoiceList.h"
#include "widgets/FolderEdit.h"
#include "widgets/PathLabel.h"
#include "widgets/IconList.h"
#include "widgets/FolderTree.h"
#include "widgets/TypingLimit.h"
#include "widgets/WindowFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

template <typename W>
W *make(QWidget *parent, const char *name, int x, int y, int w = -1, int h = -1)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    if (w < 0) {
        widget->adjustSize();
        widget->move(x, y);
    } else {
        widget->setGeometry(x, y, w, h);
    }
    return widget;
}

QLabel *label(QWidget *parent, const char *name, int x, int y, const QString &text = {},
              int w = -1, int h = -1)
{
    auto *l = make<QLabel>(parent, name, x, y, w, h);
    l->setText(text);
    if (w < 0)
        l->adjustSize();
    return l;
}

QToolButton *barButton(QWidget *parent, const char *name, int y, const QString &caption,
                       const char *picture)
{
    auto *b = make<QToolButton>(parent, name, 8, y, 65, 57);
    b->setText(caption);
    b->setIcon(QIcon(QStringLiteral(":/pictures/buttons/%1.png").arg(QLatin1String(picture))));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus); // the focus stays where the user's keys go
    return b;
}

QPushButton *button(QWidget *parent, const char *name, int x, int y, int w, int h,
                    const QString &caption)
{
    auto *b = make<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    b->setFocusPolicy(Qt::NoFocus);
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
    m_recentFoldersButton->setIcon(QIcon(QStringLiteral(":/pictures/small/arrow-down.png")));
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
    m_fileMissingLabel = label(m_itemsGroup, "l_NotExists", 40, 320, Texts::fileMissing);
    QFont bold = m_fileMissingLabel->font();
    bold.setBold(true);
    m_fileMissingLabel->setFont(bold);
    m_fileMissingLabel->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    m_fileMissingLabel->adjustSize();
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
    m_computerPicture->setPixmap(QPixmap(QStringLiteral(":/pictures/mycomputer.png")));
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
    m_drivePicture->setPixmap(QPixmap(QStringLiteral(":/pictures/drive.png")));
    m_driveLabel = label(m_driveFrame, "Label3", 2, 95, Texts::driveCaption, 132, 20);
    m_driveLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_driveMenuHint = label(m_previewArea, "Label8", 5, 258,
                   QStringLiteral("Kliknij prawym przyciskiem na\nikonie dysku CD (DVD) aby\n"
                                  "podglądnąć utworzone menu"));
    m_deleteFileButton =
        button(m_previewArea, "sb_UsunPlik", 4, 312, 149, 35, QStringLiteral("   Usuń p&lik   "));
    m_openFileButton = button(m_previewArea, "sb_UruchomPlik", 4, 360, 149, 35, QStringLiteral("U&ruchom plik"));
    m_previewButton = button(m_previewArea, "sb_Podglad", 4, 408, 149, 51, QStringLiteral("   Pod&gląd   "));

    // Panels shown over the window, hidden until then
    m_itemPanel = make<QFrame>(this, "p_Dodaj", 0, 0, 473, 129);
    m_itemPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_itemPanel->setAutoFillBackground(true);
    m_itemPanel->hide();
    m_itemPanelHeading = label(m_itemPanel, "Label9", 8, 8);
    m_itemPanelPath = make<PathLabel>(m_itemPanel, "XPathLabel1", 8, 24, 457, 17);
    m_itemPanelPath->setAutoFillBackground(false);
    m_itemCaptionPrompt = label(m_itemPanel, "Label10", 16, 48, QStringLiteral("Wyświetlana etykieta:"));
    m_itemCaptionBox = make<QComboBox>(m_itemPanel, "cb_NazwaPozycji", 32, 64, 433, 21);
    m_itemCaptionBox->setEditable(true);
    m_itemCaptionBox->setInsertPolicy(QComboBox::NoInsert);
    m_itemCancelButton = button(m_itemPanel, "sb_Add_NO", 296, 96, 79, 25, QStringLiteral("&Anuluj"));
    m_itemOkButton = button(m_itemPanel, "sb_Add_OK", 384, 96, 79, 25, QStringLiteral("&Dodaj"));
    m_itemOkButton->setEnabled(false);
    m_autoStartPanel = make<QFrame>(this, "p_Autorun", 0, 0, 473, 297);
    m_autoStartPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_autoStartPanel->setAutoFillBackground(true);
    m_autoStartPanel->hide();
    m_autoStartTabs = make<QTabWidget>(m_autoStartPanel, "PageControl1", 3, 3, 468, 254);
    m_programPage = new QWidget;
    m_programPage->setObjectName(QStringLiteral("TabSheet1"));
    m_iconPage = new QWidget;
    m_iconPage->setObjectName(QStringLiteral("TabSheet2"));
    m_autoStartTabs->addTab(m_programPage, QStringLiteral("Program"));
    m_autoStartTabs->addTab(m_iconPage, QStringLiteral("Ikona"));
    const QSize page(460, 226); // the tab's client area
    m_programPrompt = label(m_programPage, "Label12", 0, 0,
                    QStringLiteral("Wskaż program automatycznie uruchamiany po włożeniu CD (DVD) do stacji:"),
                    page.width(), 15);
    m_programList = make<ChoiceList>(m_programPage, "lb_Programy", 0, 15, page.width(), page.height() - 15);
    m_iconPrompt = label(m_iconPage, "Label13", 0, 0,
                    QStringLiteral("Ikona płyty CD (DVD) - wskaż plik i wybierz ikonę:"), page.width(), 15);
    m_iconFileList = make<ChoiceList>(m_iconPage, "lb_Ikony", 0, 15, page.width(), 134);
    m_iconList = make<IconList>(m_iconPage, "dfsIconListBox1", 0, 149, page.width(),
                                            page.height() - 149);
    for (QListWidget *list : {m_programList, m_iconFileList}) {
        list->setFrameShape(QFrame::NoFrame);
        list->setUniformItemSizes(true); // tens of thousands of rows are laid out at once
        list->setTextElideMode(Qt::ElideNone);
    }
    m_autoStartCancelButton = button(m_autoStartPanel, "sb_Auto_NO", 296, 264, 79, 25, QStringLiteral("&Anuluj"));
    m_autoStartOkButton = button(m_autoStartPanel, "sb_Auto_OK", 384, 264, 79, 25, QStringLiteral("&OK"));
    m_autoStartOkButton->setEnabled(false);
    m_programNameLabel = label(m_autoStartPanel, "l_Program", 16, 264);
    m_programNameLabel->hide();
    m_iconFileLabel = label(m_autoStartPanel, "l_Ikona", 176, 264);
    m_iconFileLabel->hide();
    m_foundIconFiles = make<QListWidget>(m_autoStartPanel, "ListBox1", 8, 280, 100, 10);
    m_foundIconFiles->setEnabled(false);
    m_foundIconFiles->hide();

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
