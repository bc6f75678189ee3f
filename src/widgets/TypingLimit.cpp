#include "widgets/TypingLimit.h"

#include <QLineEdit>

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QValidator(edit)
    , m_limit(limit)
{
    m_lengthNow = int(edit->text().size());
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_lengthNow = int(text.size()); });
    edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString &input, int &) const
{
    return input.size() <= m_limit || input.size() <= m_lengthNow ? Acceptable : Invalid;
}
