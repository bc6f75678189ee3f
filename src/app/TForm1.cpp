// The main window: start-up, the program's settings entry, and the commands that do not
// touch the document (help, tips, about, close, F1 and F10).

#include "app/TForm1.h"

#include "app/ItemDelegates.h"
#include "app/Texts.h"
#include "platform/Messages.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "widgets/ChoiceListBox.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsIconListBox.h"
#include "widgets/TdfsSystemTreeView.h"

#include "Version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShortcut>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

TForm1::TForm1(const AppServices &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(Texts::title);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setupLayout();
    connectHandlers();
    FormCreate();
}

// A rename still open is committed as the list goes, when this window is no longer whole:
// nothing of it may be told then.
TForm1::~TForm1()
{
    disconnect(lv_Lista->itemDelegateForColumn(0), nullptr, this, nullptr);
}

void TForm1::setSideWindows(QWidget *tips, QWidget *about)
{
    m_tips = tips;
    m_about = about;
}

void TForm1::connectHandlers()
{
    connect(sb_Zamknij, &QToolButton::clicked, this, &TForm1::sb_ZamknijClick);
    connect(sb_Pomoc, &QToolButton::clicked, this, &TForm1::sb_PomocClick);
    connect(sb_Porady, &QToolButton::clicked, this, &TForm1::sb_PoradyClick);
    connect(sb_About, &QToolButton::clicked, this, &TForm1::sb_AboutClick);
    connect(sb_Utworz, &QToolButton::clicked, this, &TForm1::sb_UtworzClick);
    connect(sb_Zapisz, &QToolButton::clicked, this, &TForm1::sb_ZapiszClick);
    connect(sb_Nowe, &QToolButton::clicked, this, &TForm1::sb_NoweClick);
    connect(sb_Odswiez, &QPushButton::clicked, this, &TForm1::sb_OdswiezClick);
    connect(de_Folder, &TDirectoryEdit::confirmed, this, &TForm1::de_FolderChange);
    connect(dfsSystemTreeView1, &TdfsSystemTreeView::OnChange, this, &TForm1::dfsSystemTreeView1Change);
    connect(dfsSystemTreeView1, &TdfsSystemTreeView::OnDblClick, this, &TForm1::dfsSystemTreeView1DblClick);
    connect(dfsSystemTreeView1, &TdfsSystemTreeView::OnKeyDown, this, &TForm1::dfsSystemTreeView1KeyDown);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(sb_Dodaj, &QPushButton::clicked, this, &TForm1::sb_DodajClick);
    connect(Dodajdomenu1, &QAction::triggered, this, &TForm1::sb_DodajClick);
    connect(Ustawjakoautomatycznieuruchomiany1, &QAction::triggered, this,
            &TForm1::Ustawjakoautomatycznieuruchomiany1Click);
    connect(sb_UruchomPlik, &QPushButton::clicked, this, &TForm1::sb_UruchomPlikClick);
    connect(sb_UsunPlik, &QPushButton::clicked, this, &TForm1::sb_UsunPlikClick);
    connect(Uruchom1, &QAction::triggered, this, &TForm1::Uruchom1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(sb_Podglad, &QPushButton::clicked, this, &TForm1::sb_PodgladClick);
    for (QWidget *drive : std::initializer_list<QWidget *>{Panel3, Image2, Label3})
        connect(drive, &QWidget::customContextMenuRequested, this, [this, drive](const QPoint &at) {
            pm_MenuPopup();
            pm_Menu->popup(drive->mapToGlobal(at));
        });
    connect(cb_NazwaPozycji, &QComboBox::editTextChanged, this, &TForm1::cb_NazwaPozycjiChange);
    connect(sb_Add_OK, &QPushButton::clicked, this, &TForm1::sb_Add_OKClick);
    connect(sb_Add_NO, &QPushButton::clicked, this, &TForm1::sb_Add_NOClick);
    connect(lv_Lista, &QTreeWidget::itemSelectionChanged, this, &TForm1::lv_ListaChange);
    connect(lv_Lista, &QTreeWidget::itemDoubleClicked, this, &TForm1::lv_ListaDblClick);
    connect(sb_Edytuj, &QPushButton::clicked, this, &TForm1::lv_ListaDblClick);
    connect(sb_Usun, &QPushButton::clicked, this, &TForm1::sb_UsunClick);
    connect(cb_Sortuj, &QCheckBox::clicked, this, &TForm1::cb_SortujClick);
    connect(static_cast<LabelDelegate *>(lv_Lista->itemDelegateForColumn(0)), &LabelDelegate::edited, this,
            [this](int row) { lv_ListaEdited(lv_Lista->topLevelItem(row)); });
    lv_Lista->installEventFilter(this);
    cb_NazwaPozycji->installEventFilter(this); // the combo has the focus; its edit is only its proxy
    connect(e_Etykieta, &QLineEdit::textChanged, this, &TForm1::e_EtykietaChange);
    connect(sb_AutoRun, &QToolButton::clicked, this, &TForm1::sb_AutoRunClick);
    connect(lb_Programy, &ChoiceListBox::Click, this, &TForm1::lb_ProgramyClick);
    connect(lb_Ikony, &ChoiceListBox::Click, this, &TForm1::lb_IkonyClick);
    connect(dfsIconListBox1, &ChoiceListBox::Click, this, &TForm1::dfsIconListBox1Click);
    connect(dfsIconListBox1, &QListWidget::itemDoubleClicked, this, [this] {
        dfsIconListBox1Click();
        sb_Auto_OKClick();
    });
    connect(sb_Auto_NO, &QPushButton::clicked, this, &TForm1::sb_Auto_NOClick);
    connect(sb_Auto_OK, &QPushButton::clicked, this, &TForm1::sb_Auto_OKClick);
    for (QWidget *w : std::initializer_list<QWidget *>{lb_Programy, lb_Ikony, dfsIconListBox1})
        w->installEventFilter(this);
    for (QWidget *w : {static_cast<QWidget *>(de_Folder), static_cast<QWidget *>(CheckBox1),
                       static_cast<QWidget *>(cb_Sortuj)})
        w->installEventFilter(this);

    // The keys a desktop user tries first; the buttons carry access keys (Alt+letter) of their
    // own. None of them moves the focus, and none acts under an open panel.
    const auto shortcut = [this](const QKeySequence &keys, const std::function<void()> &command) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, command] {
            if (!panelOpen())
                command();
        });
    };
    shortcut(QKeySequence::Save, [this] {
        if (sb_Zapisz->isVisible() && sb_Zapisz->isEnabled())
            sb_ZapiszClick();
        else if (sb_Utworz->isVisible() && sb_Utworz->isEnabled())
            sb_UtworzClick();
    });
    shortcut(QKeySequence::New, [this] { Nowe1Click(); });
    shortcut(QKeySequence::Open, [this] { Otwrz1Click(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_F4), [this] { close(); });
}

void TForm1::FormCreate()
{
    m_loading = true;
    m_edited = false;
    m_folder.clear();
    m_folderText.clear();
    writeProgramEntry();
    p_Autorun->resize(473, 297);
    sb_Zapisz->move(sb_Utworz->x(), sb_Zapisz->y());
    sb_Utworz->show();
    sb_Zapisz->hide();
    clearItems();
    e_Etykieta->clear();
    for (QWidget *w : std::initializer_list<QWidget *>{sb_Utworz, sb_AutoRun, sb_Dodaj, sb_Odswiez,
                                                        sb_Usun, sb_Edytuj, sb_Podglad, sb_UsunPlik})
        w->setEnabled(false);
    for (QLabel *l : std::initializer_list<QLabel *>{Label4, Label5, Label6, Label7, l_NazwaPoz, l_Plik, Label1, Label15})
        l->clear();
    l_NotExists->hide();
    l_Program->clear();
    l_Ikona->clear();
    m_iconIndexFromFile.reset();
    {
        const QSignalBlocker quietPrograms(lb_Programy), quietIcons(lb_Ikony), quietIconList(dfsIconListBox1);
        lb_Programy->clear();
        lb_Ikony->clear();
        ListBox1->clear();
        // Emptied and forgotten: the same icon file read again after New is shown again.
        dfsIconListBox1->setFileName(QString());
    }
    fitColumns();
    de_Folder->setFolder(Texts::myComputer);
    m_edited = false;
    m_loading = false;
}

// The program's entry in the settings store is for other programs; it is written when "Path"
// does not name an existing file. A store that cannot be written is no reason not to start.
void TForm1::writeProgramEntry()
{
    SettingsKey key(programKey);
    const std::optional<QString> path = key.value(QStringLiteral("Path"));
    if (path && QFileInfo(*path).isFile())
        return;
    key.setValue(QStringLiteral("Version"), QStringLiteral(PELMORA_VERSION));
    key.setValue(QStringLiteral("Path"), m_services.programFile);
    key.setValue(QStringLiteral("Name"), Texts::title);
}

void TForm1::FormShow()
{
    sb_Pomoc->setVisible(QFileInfo(m_services.helpFile()).isFile());
    const std::optional<QString> name = SettingsKey(myComputerKey).value(QString());
    l_MK->setText(name && !name->isEmpty() ? *name : Texts::myComputer);
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm1::sb_ZamknijClick()
{
    close();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // An open panel is cancelled first, as its Anuluj would; then the menu's changes are offered.
    if (p_Dodaj->isVisible())
        sb_Add_NOClick();
    else if (p_Autorun->isVisible())
        sb_Auto_NOClick();
    if (!saveChangesFirst(hasUnsavedChanges(), Texts::askSaveChanges))
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void TForm1::sb_PomocClick()
{
    m_services.shell.open(this, m_services.helpFile(), QStringLiteral("open"), Shell::Show::Maximized);
}

void TForm1::sb_PoradyClick()
{
    if (!m_tips)
        return;
    m_tips->show();
    m_tips->raise();
    m_tips->activateWindow();
}

void TForm1::sb_AboutClick()
{
    if (!m_about)
        return;
    // A modal window: whatever hides it gives this window back, with its focus.
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void TForm1::de_FolderKeyDown(int key)
{
    if (key == Qt::Key_F1 && !sb_Pomoc->isHidden())
        sb_PomocClick();
    else if (key == Qt::Key_F10)
        sb_AboutClick();
}

// The window's own key handler runs only when no control has the focus; keys that a control
// leaves unhandled travel up to the window and must not act twice.
void TForm1::keyPressEvent(QKeyEvent *event)
{
    QWidget *focus = focusWidget();
    if (!focus || focus == this)
        de_FolderKeyDown(event->key());
    QWidget::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == de_Folder || watched == CheckBox1 || watched == cb_Sortuj)
            de_FolderKeyDown(key);
        else if (watched == lv_Lista && QApplication::focusWidget() != lv_Lista
                 && lv_Lista->isAncestorOf(QApplication::focusWidget()))
            de_FolderKeyDown(key); // keys of the rename's editor: Enter ends the rename, nothing else
        else if (watched == lv_Lista && key == Qt::Key_F2 && selectedRow()) {
            // F2 renames the entry's label wherever in the row it was clicked, in view.
            lv_Lista->horizontalScrollBar()->setValue(0);
            lv_Lista->editItem(selectedRow(), 0);
            return true;
        } else if (watched == lv_Lista)
            lv_ListaKeyDown(key);
        else if (watched == cb_NazwaPozycji)
            cb_NazwaPozycjiKeyDown(key);
        else if (watched == lb_Programy || watched == lb_Ikony || watched == dfsIconListBox1)
            lb_ProgramyKeyDown(key);
    }
    return QWidget::eventFilter(watched, event);
}
