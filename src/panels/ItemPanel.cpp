#include "panels/ItemPanel.h"

#include "widgets/PathLabel.h"
#include "widgets/PlacedControls.h"

#include <QComboBox>
#include <QKeyEvent>

using namespace Placed;

ItemPanel::ItemPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("p_Dodaj"));
    setGeometry(0, 0, 473, 129);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    m_heading = label(this, "Label9", 8, 8);
    m_path = make<PathLabel>(this, "XPathLabel1", 8, 24, 457, 17);
    m_path->setAutoFillBackground(false);
    m_captionPrompt = label(this, "Label10", 16, 48, QStringLiteral("Wyświetlana etykieta:"));
    m_captionBox = make<QComboBox>(this, "cb_NazwaPozycji", 32, 64, 433, 21);
    m_captionBox->setEditable(true);
    m_captionBox->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is what is stored: the suggestions stay in the list, and none is written
    // into the caption as it is typed (inline completion).
    m_captionBox->setCompleter(nullptr);
    m_cancelButton = button(this, "sb_Add_NO", 296, 96, 79, 25, QStringLiteral("&Anuluj"));
    m_okButton = button(this, "sb_Add_OK", 384, 96, 79, 25, QStringLiteral("&Dodaj"));
    m_okButton->setEnabled(false);

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
    m_heading->adjustSize();
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
