#include "panels/ItemPanel.h"

#include "widgets/PathLabel.h"
#include "widgets/PlacedControls.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Placed;

namespace {

// A row of the panel that starts indent pixels in from the left.
QHBoxLayout *indented(int indent, QWidget *widget)
{
    auto *row = new QHBoxLayout;
    row->addSpacing(indent);
    row->addWidget(widget);
    return row;
}

} // namespace

// The designed panel is 473 x 129 at the window font; that is its least size. The path and
// the caption take whatever width it grows by, and the buttons stay in its bottom right corner.
ItemPanel::ItemPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("p_Dodaj"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    m_heading = label(this, "Label9");
    m_path = make<PathLabel>(this, "XPathLabel1");
    m_path->setAutoFillBackground(false);
    m_path->setMinimumHeight(17);
    m_captionPrompt = label(this, "Label10", QStringLiteral("Wyświetlana etykieta:"));
    m_captionBox = make<QComboBox>(this, "cb_NazwaPozycji");
    m_captionBox->setMinimumSize(433, 21);
    m_captionBox->setEditable(true);
    m_captionBox->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is what is stored: the suggestions stay in the list, and none is written
    // into the caption as it is typed (inline completion).
    m_captionBox->setCompleter(nullptr);
    // The prompt names the caption box for screen readers, and what the box holds too: the
    // edit typed in and the list of suggestions, which no prompt stands beside.
    m_captionPrompt->setBuddy(m_captionBox);
    const QString captionName = m_captionPrompt->text().trimmed();
    m_captionBox->lineEdit()->setAccessibleName(captionName);
    m_captionBox->view()->setAccessibleName(captionName);
    m_cancelButton = button(this, "sb_Add_NO", QSize(79, 25), QStringLiteral("&Anuluj"));
    m_okButton = button(this, "sb_Add_OK", QSize(79, 25), QStringLiteral("&Dodaj"));
    m_okButton->setEnabled(false);

    // The margins count from inside the frame's line: the controls stand 8 pixels in from the
    // panel's edges, the buttons 10 from its right.
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->setSpacing(0);
    layout->addWidget(m_heading);
    layout->addSpacing(3);
    layout->addWidget(m_path);
    layout->addSpacing(7);
    layout->addLayout(indented(8, m_captionPrompt));
    layout->addSpacing(3);
    layout->addLayout(indented(24, m_captionBox));
    layout->addStretch();
    layout->addSpacing(11);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 2, 0);
    buttons->setSpacing(9);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_okButton);
    layout->addLayout(buttons);
    resize(473, 129);

    connect(m_captionBox, &QComboBox::editTextChanged, this, &ItemPanel::captionEdited);
    connect(m_okButton, &QPushButton::clicked, this, &ItemPanel::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &ItemPanel::cancel);
    m_captionBox->installEventFilter(this); // the combo has the focus; its edit is only its proxy
}

void ItemPanel::loadNew(const QString &shownPath, const QStringList &suggestions)
{
    m_captionBox->clear();
    m_captionBox->addItems(suggestions);
    m_path->setText(shownPath);
    m_captionBox->setCurrentIndex(2);
    m_captionBox->setEditText(m_captionBox->itemText(2));
    captionEdited();
    setHeading(QStringLiteral("Dodawanie nowej pozycji do menu:"));
}

void ItemPanel::loadEdit(const QString &shownPath, const QStringList &captions, const QString &caption)
{
    m_captionBox->clear();
    m_captionBox->addItems(captions);
    m_path->setText(shownPath);
    setHeading(QStringLiteral("Edycja pozycji w menu:"));
    m_captionBox->setCurrentIndex(-1);
    m_captionBox->setEditText(caption);
    captionEdited();
}

void ItemPanel::setHeading(const QString &heading)
{
    m_heading->setText(heading);
}

QString ItemPanel::caption() const
{
    return m_captionBox->currentText();
}

QWidget *ItemPanel::firstControl() const
{
    return m_captionBox;
}

void ItemPanel::captionEdited()
{
    m_okButton->setEnabled(!m_captionBox->currentText().isEmpty());
}

void ItemPanel::accept()
{
    emit accepted(caption());
}

void ItemPanel::cancel()
{
    emit cancelled();
}

bool ItemPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_okButton->isEnabled())
            accept();
        if (key == Qt::Key_Escape)
            cancel();
        emit keyPressed(key);
    }
    return QFrame::eventFilter(watched, event);
}
