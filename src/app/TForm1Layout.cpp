// The controls of the main window, at their designed places and sizes.

#include "app/TForm1.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"

#include "widgets/ChoiceListBox.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"
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

void TForm1::setupLayout()
{
    setFixedSize(782, 464);
    setFont(windowFont());

    // Left button bar
    Panel1 = panel(this, "Panel1", 0, 0, 81, 464, QColor(204, 204, 255));
    sb_Nowe = barButton(Panel1, "sb_Nowe", 8, QStringLiteral("&Menu ..."), "nowe");
    sb_AutoRun = barButton(Panel1, "sb_AutoRun", 72, QStringLiteral("&Auto..."), "autorun");
    sb_Utworz = barButton(Panel1, "sb_Utworz", 136, QStringLiteral("&Utwórz"), "utworz");
    sb_Zapisz = barButton(Panel1, "sb_Zapisz", 136, QStringLiteral("&Zapisz"), "zapisz");
    sb_Porady = barButton(Panel1, "sb_Porady", 200, QStringLiteral("&Porady"), "porady");
    sb_Pomoc = barButton(Panel1, "sb_Pomoc", 264, QStringLiteral("Pomo&c"), "pomoc");
    sb_About = barButton(Panel1, "sb_About", 328, QStringLiteral("&Informacje"), "informacje");
    sb_Zamknij = barButton(Panel1, "sb_Zamknij", 400, QStringLiteral("Zamk&nij"), "zamknij");
    sb_Zapisz->hide();

    // Folder and label
    GroupBox1 = make<QGroupBox>(this, "GroupBox1", 84, 0, 541, 65);
    GroupBox1->setTitle(QStringLiteral(
        " Ścieżka do folderu z plikami które zamierzasz nagrać na CD(DVD) "));
    de_Folder = make<TDirectoryEdit>(GroupBox1, "de_Folder", 16, 16, 505, 21);
    de_Folder->setDialogs(&m_services.dialogs);
    SpeedButton2 = make<QToolButton>(GroupBox1, "SpeedButton2", 520, 15, 12, 22);
    SpeedButton2->setIcon(QIcon(QStringLiteral(":/pictures/small/arrow-down.png")));
    SpeedButton2->setIconSize(QSize(7, 4));
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    Label11 = label(GroupBox1, "Label11", 16, 44, QStringLiteral("Etykieta (nazwa płytki):"));
    e_Etykieta = make<QLineEdit>(GroupBox1, "e_Etykieta", 135, 40, 152, 21);
    m_labelLimit = new TypingLimit(e_Etykieta, 16);
    // The edit paints all of itself, so a keystroke does not repaint the group (its caption
    // laid out again) behind it; its corners keep what the group painted there.
    e_Etykieta->setAttribute(Qt::WA_OpaquePaintEvent);

    // Folder contents
    gb_Centrum = make<QGroupBox>(this, "gb_Centrum", 84, 72, 261, 393);
    gb_Centrum->setTitle(Texts::areaTaken);
    dfsSystemTreeView1 = make<TdfsSystemTreeView>(gb_Centrum, "dfsSystemTreeView1", 16, 16, 233, 241);
    CheckBox1 = checkBox(gb_Centrum, "CheckBox1", 16, 260,
                         QStringLiteral("Wyświetlaj tylko aplikacje (*.exe)"));
    Label6 = label(gb_Centrum, "Label6", 8, 288);
    Label4 = make<TXPathLabel>(gb_Centrum, "Label4", 16, 304, 241, 17);
    Label4->setAutoFillBackground(false);
    Label7 = label(gb_Centrum, "Label7", 8, 320);
    Label5 = label(gb_Centrum, "Label5", 16, 336);
    sb_Dodaj = button(gb_Centrum, "sb_Dodaj", 168, 360, 79, 25, QStringLiteral("&Dodaj"));

    // Menu items
    gb_Pozycje = make<QGroupBox>(this, "gb_Pozycje", 352, 72, 273, 393);
    gb_Pozycje->setTitle(QStringLiteral(" Pozycje w menu: "));
    lv_Lista = make<ItemListView>(gb_Pozycje, "lv_Lista", 16, 16, 250, 241);
    lv_Lista->setColumnCount(2);
    lv_Lista->setHeaderLabels({QStringLiteral("Etykieta"), QStringLiteral("Nazwa i ścieżka do pliku")});
    lv_Lista->setRootIsDecorated(false);
    lv_Lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lv_Lista->header()->setStretchLastSection(false);
    lv_Lista->header()->setSectionsMovable(false);
    lv_Lista->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    lv_Lista->setItemDelegateForColumn(0, new LabelDelegate(lv_Lista));
    lv_Lista->setItemDelegateForColumn(1, new ReadOnlyDelegate(lv_Lista));
    cb_Sortuj = checkBox(gb_Pozycje, "cb_Sortuj", 16, 260,
                         QStringLiteral("Sortuj listę w czasie tworzenia"));
    Label1 = label(gb_Pozycje, "Label1", 16, 288);
    l_NazwaPoz = label(gb_Pozycje, "l_NazwaPoz", 24, 304);
    Label15 = label(gb_Pozycje, "Label15", 16, 320);
    l_NotExists = label(gb_Pozycje, "l_NotExists", 40, 320, Texts::fileMissing);
    QFont bold = l_NotExists->font();
    bold.setBold(true);
    l_NotExists->setFont(bold);
    l_NotExists->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    l_NotExists->adjustSize();
    l_NotExists->hide();
    l_Plik = make<TXPathLabel>(gb_Pozycje, "l_Plik", 16, 336, 249, 17);
    l_Plik->setAutoFillBackground(false);
    sb_Odswiez = button(gb_Pozycje, "sb_Odswiez", 8, 360, 79, 25, QStringLiteral("&Odśwież"));
    sb_Usun = button(gb_Pozycje, "sb_Usun", 96, 360, 79, 25, QStringLiteral("U&suń"));
    sb_Edytuj = button(gb_Pozycje, "sb_Edytuj", 184, 360, 79, 25, QStringLiteral("&Edytuj"));

    // Preview
    Panel2 = panel(this, "Panel2", 782 - 155, 0, 155, 464, Qt::white);
    // The picture starts under the caption and its name under the computer, neither crossing
    // the other.
    Image1 = make<QLabel>(Panel2, "Image1", 0, 16, 155, 124);
    Image1->setPixmap(QPixmap(QStringLiteral(":/pictures/mycomputer.jpg")));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2 = label(Panel2, "Label2", 8, 0, QStringLiteral("Podgląd:"));
    l_MK = label(Panel2, "l_MK", 0, 96, Texts::myComputer, 97, 14);
    l_MK->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Panel3 = panel(Panel2, "Panel3", 19, 140, 136, 119, Qt::white);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    {
        // The light edges of the sunken frame in the grey of the buttons, so that the right and
        // bottom edges show on the white panel.
        QPalette palette = Panel3->palette();
        palette.setColor(QPalette::Light, palette.color(QPalette::Button));
        Panel3->setPalette(palette);
    }
    Image2 = make<QLabel>(Panel3, "Image2", 28, 8, 80, 81);
    Image2->setPixmap(QPixmap(QStringLiteral(":/pictures/drive.jpg")));
    Label3 = label(Panel3, "Label3", 2, 95, Texts::driveCaption, 132, 20);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label8 = label(Panel2, "Label8", 5, 258,
                   QStringLiteral("Kliknij prawym przyciskiem na\nikonie dysku CD (DVD) aby\n"
                                  "podglądnąć utworzone menu"));
    sb_UsunPlik = button(Panel2, "sb_UsunPlik", 4, 312, 149, 35, QStringLiteral("   Usuń p&lik   "));
    sb_UruchomPlik = button(Panel2, "sb_UruchomPlik", 4, 360, 149, 35, QStringLiteral("U&ruchom plik"));
    sb_Podglad = button(Panel2, "sb_Podglad", 4, 408, 149, 51, QStringLiteral("   Pod&gląd   "));

    // Panels shown over the window, hidden until then
    p_Dodaj = make<QFrame>(this, "p_Dodaj", 0, 0, 473, 129);
    p_Dodaj->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p_Dodaj->setAutoFillBackground(true);
    p_Dodaj->hide();
    Label9 = label(p_Dodaj, "Label9", 8, 8);
    XPathLabel1 = make<TXPathLabel>(p_Dodaj, "XPathLabel1", 8, 24, 457, 17);
    XPathLabel1->setAutoFillBackground(false);
    Label10 = label(p_Dodaj, "Label10", 16, 48, QStringLiteral("Wyświetlana etykieta:"));
    cb_NazwaPozycji = make<QComboBox>(p_Dodaj, "cb_NazwaPozycji", 32, 64, 433, 21);
    cb_NazwaPozycji->setEditable(true);
    cb_NazwaPozycji->setInsertPolicy(QComboBox::NoInsert);
    sb_Add_NO = button(p_Dodaj, "sb_Add_NO", 296, 96, 79, 25, QStringLiteral("&Anuluj"));
    sb_Add_OK = button(p_Dodaj, "sb_Add_OK", 384, 96, 79, 25, QStringLiteral("&Dodaj"));
    sb_Add_OK->setEnabled(false);
    p_Autorun = make<QFrame>(this, "p_Autorun", 0, 0, 473, 297);
    p_Autorun->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p_Autorun->setAutoFillBackground(true);
    p_Autorun->hide();
    PageControl1 = make<QTabWidget>(p_Autorun, "PageControl1", 3, 3, 468, 254);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Program"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Ikona"));
    const QSize page(460, 226); // the tab's client area
    Label12 = label(TabSheet1, "Label12", 0, 0,
                    QStringLiteral("Wskaż program automatycznie uruchamiany po włożeniu CD (DVD) do stacji:"),
                    page.width(), 15);
    lb_Programy = make<ChoiceListBox>(TabSheet1, "lb_Programy", 0, 15, page.width(), page.height() - 15);
    Label13 = label(TabSheet2, "Label13", 0, 0,
                    QStringLiteral("Ikona płyty CD (DVD) - wskaż plik i wybierz ikonę:"), page.width(), 15);
    lb_Ikony = make<ChoiceListBox>(TabSheet2, "lb_Ikony", 0, 15, page.width(), 134);
    dfsIconListBox1 = make<TdfsIconListBox>(TabSheet2, "dfsIconListBox1", 0, 149, page.width(),
                                            page.height() - 149);
    for (QListWidget *list : {lb_Programy, lb_Ikony}) {
        list->setFrameShape(QFrame::NoFrame);
        list->setUniformItemSizes(true); // tens of thousands of rows are laid out at once
        list->setTextElideMode(Qt::ElideNone);
    }
    sb_Auto_NO = button(p_Autorun, "sb_Auto_NO", 296, 264, 79, 25, QStringLiteral("&Anuluj"));
    sb_Auto_OK = button(p_Autorun, "sb_Auto_OK", 384, 264, 79, 25, QStringLiteral("&OK"));
    sb_Auto_OK->setEnabled(false);
    l_Program = label(p_Autorun, "l_Program", 16, 264);
    l_Program->hide();
    l_Ikona = label(p_Autorun, "l_Ikona", 176, 264);
    l_Ikona->hide();
    ListBox1 = make<QListWidget>(p_Autorun, "ListBox1", 8, 280, 100, 10);
    ListBox1->setEnabled(false);
    ListBox1->hide();

    setDriveMenuAttached(true);

    // Pop-up menus
    pm_Nowe = menu(this, "pm_Nowe");
    pm_Wybierane = menu(this, "pm_Wybierane");
    pm_Lista = menu(this, "pm_Lista");
    Dodajdomenu1 = pm_Lista->addAction(QStringLiteral("Dodaj do menu"));
    pm_Lista->addSeparator();
    Ustawjakoautomatycznieuruchomiany1 = pm_Lista->addAction(QStringLiteral("Ustaw jako automatycznie uruchamiany"));
    pm_Lista->addSeparator();
    Uruchom1 = pm_Lista->addAction(QStringLiteral("Uruchom"));
    Dodajdomenu1->setObjectName(QStringLiteral("Dodajdomenu1"));
    Ustawjakoautomatycznieuruchomiany1->setObjectName(QStringLiteral("Ustawjakoautomatycznieuruchomiany1"));
    Uruchom1->setObjectName(QStringLiteral("Uruchom1"));
    pm_Menu = menu(this, "pm_Menu");
}
