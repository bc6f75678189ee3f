#include "panels/AutoStartPanel.h"

#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "core/FileSearch.h"
#include "os/NativePath.h"
#include "widgets/BusyCursor.h"
#include "widgets/ChoiceList.h"
#include "widgets/IconList.h"
#include "widgets/PlacedControls.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTabWidget>

using namespace Placed;

namespace {

// A prompt over a list, whose words name the list for screen readers (Qt names lists by their
// accessible name alone, not by a buddy). A long prompt wraps rather than widen the panel.
QLabel *prompt(QWidget *parent, const char *name, const QString &text, QWidget *list)
{
    QLabel *l = label(parent, name, text);
    l->setWordWrap(true);
    l->setMinimumHeight(15);
    l->setBuddy(list);
    list->setAccessibleName(text.trimmed());
    return l;
}

// Lists share the height of their page by their stretch, whatever they would rather have.
void share(QVBoxLayout *page, QWidget *list, int stretch)
{
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    page->addWidget(list, stretch);
}

} // namespace

// The designed panel is 473 x 297 at the window font; that is its least size. The lists take
// whatever it grows by: the icon files and the icons share theirs as designed, 134 to 77.
AutoStartPanel::AutoStartPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("p_Autorun"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    m_tabs = make<QTabWidget>(this, "PageControl1");
    m_tabs->setMinimumSize(468, 254);
    m_programPage = new QWidget;
    m_programPage->setObjectName(QStringLiteral("TabSheet1"));
    m_iconPage = new QWidget;
    m_iconPage->setObjectName(QStringLiteral("TabSheet2"));
    m_tabs->addTab(m_programPage, QStringLiteral("Program"));
    m_tabs->addTab(m_iconPage, QStringLiteral("Ikona"));
    m_programList = make<ChoiceList>(m_programPage, "lb_Programy");
    m_programPrompt = prompt(m_programPage, "Label12",
                             QStringLiteral("Wskaż program automatycznie uruchamiany po włożeniu CD (DVD) do stacji:"),
                             m_programList);
    m_iconFileList = make<ChoiceList>(m_iconPage, "lb_Ikony");
    m_iconPrompt = prompt(m_iconPage, "Label13", QStringLiteral("Ikona płyty CD (DVD) - wskaż plik i wybierz ikonę:"),
                          m_iconFileList);
    m_iconList = make<IconList>(m_iconPage, "dfsIconListBox1");
    // One row of icons at least, so that a small panel still offers them.
    m_iconList->setMinimumHeight(m_iconList->cellSize().height() + 2 * m_iconList->frameWidth());
    // The icon page's prompt asks for two things, a file and then an icon: each list is named
    // by its half.
    m_iconFileList->setAccessibleName(QStringLiteral("Ikona płyty CD (DVD) - wskaż plik"));
    m_iconList->setAccessibleName(QStringLiteral("Ikona płyty CD (DVD) - wybierz ikonę"));
    for (ChoiceList *list : {m_programList, m_iconFileList}) {
        list->setFrameShape(QFrame::NoFrame);
        list->setTextElideMode(Qt::ElideNone);
    }
    auto *programPage = new QVBoxLayout(m_programPage);
    programPage->setContentsMargins(0, 0, 0, 0);
    programPage->setSpacing(0);
    programPage->addWidget(m_programPrompt);
    share(programPage, m_programList, 1);
    auto *iconPage = new QVBoxLayout(m_iconPage);
    iconPage->setContentsMargins(0, 0, 0, 0);
    iconPage->setSpacing(0);
    iconPage->addWidget(m_iconPrompt);
    share(iconPage, m_iconFileList, 134);
    share(iconPage, m_iconList, 77);

    m_cancelButton = button(this, "sb_Auto_NO", QSize(79, 25), QStringLiteral("&Anuluj"));
    m_okButton = button(this, "sb_Auto_OK", QSize(79, 25), QStringLiteral("&OK"));
    m_okButton->setEnabled(false);
    // The margins count from inside the frame's line: the tabs stand 3 pixels in from the
    // panel's top and left edges and 2 from its right, the buttons 8 from its bottom and 10
    // from its right.
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(2, 2, 1, 7);
    layout->setSpacing(7);
    layout->addWidget(m_tabs, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 8, 0);
    buttons->setSpacing(9);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_okButton);
    layout->addLayout(buttons);
    resize(473, 297);

    connect(m_programList, &ChoiceList::chosen, this, &AutoStartPanel::programChosen);
    connect(m_iconFileList, &ChoiceList::chosen, this, &AutoStartPanel::iconFileChosen);
    connect(m_iconList, &ChoiceList::chosen, this, &AutoStartPanel::iconChosen);
    connect(m_iconList, &QAbstractItemView::doubleClicked, this, [this] {
        iconChosen();
        accept();
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &AutoStartPanel::cancel);
    connect(m_okButton, &QPushButton::clicked, this, &AutoStartPanel::accept);
    for (QWidget *w : std::initializer_list<QWidget *>{m_programList, m_iconFileList, m_iconList})
        w->installEventFilter(this);
}

void AutoStartPanel::load(const QString &dataFolder, const AutoStartChoice &choice)
{
    m_folder = dataFolder;
    m_program = choice.program;
    m_iconFile = choice.iconFile;
    m_unwritableNames = 0;
    // One walk of the folder gives every program first (the first mask), then the libraries,
    // icon libraries and icon files, each in the order found, as disc paths: a folder's disc
    // path is made once for all its files.
    const QStringList masks = autoStartMasks();
    QList<QStringList> found(masks.size());
    {
        const BusyCursor busy;
        QString folder;
        QString folderOnDisc;
        bool folderBreaks = false;
        visitFilesByMasks(dataFolder, masks, [&](qsizetype mask, const QString &in, QByteArrayView raw) {
            if (in != folder) {
                folder = in;
                folderOnDisc = discPathOf(dataFolder, in);
                folderBreaks = breaksLines(in);
            }
            const QString name = pathFromNative(QByteArray::fromRawData(raw.data(), raw.size()));
            // A name with a line break cannot stand in autorun.inf: it would make lines of its own.
            if (folderBreaks || breaksLines(name))
                ++m_unwritableNames;
            else
                found[mask] << folderOnDisc + name;
        });
    }

    const QSignalBlocker quietPrograms(m_programList);
    const QSignalBlocker quietIcons(m_iconFileList);
    QStringList files = found[0];
    for (qsizetype mask = 1; mask < found.size(); ++mask)
        files += found[mask];
    m_programList->setTexts(found[0]);
    m_iconFileList->setTexts(files);

    // The last row that names the file, letter case aside.
    const auto lastRowOf = [](const QStringList &texts, const QString &name) {
        if (name.size() > 1) {
            for (qsizetype i = texts.size() - 1; i >= 0; --i) {
                if (texts.at(i).compare(name, Qt::CaseInsensitive) == 0)
                    return int(i);
            }
        }
        return -1;
    };
    // The programs come first in the icon files' list, in the same order.
    if (const int row = lastRowOf(found[0], m_program); row >= 0) {
        m_programList->setCurrentRow(row);
        m_iconFileList->setCurrentRow(row);
    }
    if (const int row = lastRowOf(files, m_iconFile); row >= 0)
        m_iconFileList->setCurrentRow(row);
    // Without an icon file the program's own icons are shown, as when it is picked.
    showIcons(m_iconFile.isEmpty() ? m_program : m_iconFile, choice.iconIndex);
    updateOkButton(false);
    m_tabs->setCurrentWidget(m_programPage);
}

void AutoStartPanel::showIcons(const QString &discPath, std::optional<int> index)
{
    const QSignalBlocker quiet(m_iconList); // the program picks the row, not the user
    const QString path = discPath.isEmpty() ? QString() : nativePathOf(m_folder, discPath);
    if (!path.isEmpty() && m_iconList->fileName() == path)
        m_iconList->reload(); // as the file is now, not as the last opening found it
    else
        m_iconList->setFileName(path);
    m_keptIndex.reset();
    if (index && *index >= 0 && *index < m_iconList->iconCount()) {
        m_iconList->setCurrentRow(*index);
    } else {
        m_keptIndex = index;
        if (index)
            m_iconList->clearSelection(); // no row shows an icon that is not written
    }
}

AutoStartChoice AutoStartPanel::choice() const
{
    AutoStartChoice choice{m_program, m_iconFile, std::nullopt};
    if (m_keptIndex)
        choice.iconIndex = *m_keptIndex;
    else if (m_iconList->selectionModel()->hasSelection())
        choice.iconIndex = m_iconList->currentRow();
    return choice;
}

QWidget *AutoStartPanel::firstControl() const
{
    return m_programList;
}

void AutoStartPanel::loadIconList(const QString &discPath)
{
    const QSignalBlocker quiet(m_iconList);
    const QString path = nativePathOf(m_folder, discPath);
    if (m_iconList->fileName() == path)
        m_iconList->reload();
    else
        m_iconList->setFileName(path);
    m_keptIndex.reset();
}

// OK is offered once the program exists, or the icon file exists (with icons in the list,
// when a program was just picked).
void AutoStartPanel::updateOkButton(bool requireIcons)
{
    const bool icon = discFileExists(m_folder, m_iconFile) && (!requireIcons || m_iconList->iconCount() > 0);
    m_okButton->setEnabled(discFileExists(m_folder, m_program) || icon);
}

void AutoStartPanel::chose()
{
    emit changed(choice());
}

void AutoStartPanel::programChosen()
{
    const int row = m_programList->chosenRow();
    if (row < 0)
        return;
    m_program = m_programList->text(row);
    if (m_iconFile.size() < 3) {
        // No icon file yet: the program's own icons are shown, to be picked on the icon tab.
        const QSignalBlocker quiet(m_iconFileList);
        m_iconFileList->setCurrentRow(m_programList->currentRow());
        loadIconList(m_program);
    }
    updateOkButton(true);
    chose();
}

void AutoStartPanel::iconFileChosen()
{
    const int row = m_iconFileList->chosenRow();
    if (row < 0)
        return;
    const QString file = m_iconFileList->text(row);
    {
        const QSignalBlocker quiet(m_iconList);
        m_iconList->clearIcons();
        m_iconList->repaint();
    }
    loadIconList(file);
    m_iconFile = m_iconList->iconCount() < 1 ? QString() : file;
    updateOkButton(false);
    chose();
}

void AutoStartPanel::iconChosen()
{
    const int row = m_iconFileList->chosenRow();
    if (row < 0) {
        // The list shows a file that is not among those collected (an icon file read from the
        // menu file, in a hidden folder): the icon clicked is the icon of that same file.
        if (!m_iconFile.isEmpty() && m_iconList->fileName() == nativePathOf(m_folder, m_iconFile)) {
            m_keptIndex.reset();
            chose();
        }
        return;
    }
    const QString file = m_iconFileList->text(row);
    const QString path = nativePathOf(m_folder, file);
    if (m_iconList->fileName() != path) {
        const QSignalBlocker quiet(m_iconList);
        m_iconList->setFileName(path);
    }
    m_keptIndex.reset();
    m_iconFile = m_iconList->iconCount() < 1 ? QString() : file;
    updateOkButton(false);
    chose();
}

void AutoStartPanel::accept()
{
    emit accepted(choice());
}

void AutoStartPanel::cancel()
{
    emit cancelled();
}

bool AutoStartPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_okButton->isEnabled())
            accept();
        else if (key == Qt::Key_Escape)
            cancel();
        emit keyPressed(key);
    }
    return QFrame::eventFilter(watched, event);
}
