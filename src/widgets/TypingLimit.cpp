#include "widgets/TypingLimit.h"

#include <QLineEdit>

namespace {

// Whether every character of part stands in whole, in the same order.
bool isSubsequence(const QString &part, const QString &whole)
{
    qsizetype at = 0;
    for (const QChar c : part) {
        at = whole.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

} // namespace

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QValidator(edit)
    , m_edit(edit)
    , m_limit(limit)
    , m_textNow(edit->text())
    , m_programText(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_textNow = text; });
    edit->setValidator(this);
}

bool TypingLimit::allowed(const QString &text) const
{
    return text.size() <= m_limit || (text.size() <= m_programText.size() && isSubsequence(text, m_programText));
}

QValidator::State TypingLimit::validate(QString &input, int &pos) const
{
    if (m_programSets || allowed(input))
        return Acceptable;
    // The run that this edit put in place of another: what the old and new texts do not share
    // at their ends. It is cut to the room left, as a Windows edit pastes what fits.
    const QString &before = m_textNow;
    qsizetype head = 0;
    while (head < before.size() && head < input.size() && before[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < input.size() - head
           && before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    const qsizetype rest = head + tail;
    const qsizetype room = m_limit - rest;
    if (room <= 0)
        return Invalid;
    input = input.left(head + room) + input.right(tail);
    pos = int(head + room);
    return Acceptable;
}

void TypingLimit::setText(const QString &text)
{
    m_programSets = true;
    m_programText = text;
    m_edit->setText(text);
    m_programSets = false;
}
