#include "widgets/TypingLimit.h"

#include <QLineEdit>

namespace {

// Whether after is before with one run of characters taken out.
bool onlyRemoves(const QString &before, const QString &after)
{
    if (after.size() >= before.size())
        return false;
    qsizetype common = 0;
    while (common < after.size() && after[common] == before[common])
        ++common;
    return before.endsWith(QStringView(after).mid(common));
}

} // namespace

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QValidator(edit)
    , m_edit(edit)
    , m_limit(limit)
    , m_textNow(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_textNow = text; });
    edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString &input, int &) const
{
    return m_programSets || input.size() <= m_limit || onlyRemoves(m_textNow, input) ? Acceptable : Invalid;
}

void TypingLimit::setText(const QString &text)
{
    m_programSets = true;
    m_edit->setText(text);
    m_programSets = false;
}
