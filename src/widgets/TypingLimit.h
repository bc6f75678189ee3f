#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user types to a number of characters without cutting a longer text that
// the program sets (QLineEdit's maxLength would cut both). A text already over the limit
// may still be shortened.
class TypingLimit : public QValidator
{
    Q_OBJECT

public:
    TypingLimit(QLineEdit *edit, int limit);
    State validate(QString &input, int &pos) const override;

private:
    int m_limit;
    int m_lengthNow = 0;
};
