#include "widgets/FolderEdit.h"

#include "platform/FileDialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr int buttonWidth = 21;
constexpr int buttonHeight = 17;
} // namespace

FolderEdit::FolderEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new QToolButton(this))
    , m_ownDialogs(std::make_unique<QtFileDialogs>())
    , m_dialogs(m_ownDialogs.get())
{
    m_button->setObjectName(QStringLiteral("browseButton"));
    m_button->setIconSize(QSize(12, 12));
    // Tab reaches the button; a click leaves the focus in the edit. Alt+Down opens the chooser
    // from the edit.
    m_button->setFocusPolicy(Qt::TabFocus);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->resize(buttonWidth, buttonHeight);
    connect(m_button, &QToolButton::clicked, this, &FolderEdit::browse);
    setTextMargins(0, 0, buttonWidth, 0);
    placeButton();
}

FolderEdit::~FolderEdit() = default;

void FolderEdit::setDialogs(FileDialogs *dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
}

void FolderEdit::placeButton()
{
    int frame = 0;
    if (hasFrame()) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    }
    m_button->move(width() - frame - buttonWidth, (height() - buttonHeight) / 2);
}

// The button's picture comes from the desktop's icon theme, whose first look-up reads the
// theme's index files, a good part of the program's start: it is fetched once the edit has
// been drawn, so that the window shows without waiting for it.
void FolderEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (m_buttonPictured)
        return;
    m_buttonPictured = true;
    QTimer::singleShot(0, m_button, [button = m_button] {
        button->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    });
}

void FolderEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void FolderEdit::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier) {
        browse();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        setModified(false);
        emit confirmed();
    }
    QLineEdit::keyPressEvent(event);
}

// Leaving the field for another control confirms what was typed; a message box, a menu or
// another window taking the keys for a while does not.
void FolderEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (isModified() && event->reason() != Qt::ActiveWindowFocusReason
        && event->reason() != Qt::PopupFocusReason) {
        setModified(false);
        emit confirmed();
    }
}

void FolderEdit::setFolder(const QString &folder)
{
    setText(folder);
    emit confirmed();
}

// The folder in the edit, else the one the chooser last gave (or was told), else the last one
// the user worked in, else the home folder: the text may be anything typed ("Mój komputer"), and the chooser needs a real folder.
QString FolderEdit::startFolder() const
{
    for (const QString &start : {text(), m_initialDir, m_lastFolder ? m_lastFolder() : QString()}) {
        const QFileInfo info(start);
        if (!start.isEmpty() && info.isAbsolute() && info.isDir())
            return start;
    }
    return QDir::homePath();
}

void FolderEdit::browse()
{
    QString folder = m_dialogs->existingDirectory(this, m_dialogText, startFolder());
    setFocus();
    if (folder.isEmpty())
        return;
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    // The selection goes first, as if deleted by hand: listeners see the edit emptied and
    // then filled, even when the folder equals the old text.
    if (hasSelectedText())
        del();
    if (QFileInfo(folder).isDir())
        m_initialDir = folder;
    setFolder(folder);
}
