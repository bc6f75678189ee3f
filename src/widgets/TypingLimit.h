#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user types to a number of characters without cutting a longer text that
// the program sets (QLineEdit's maxLength would cut both). Over the limit the user may still
// delete, but typing never makes the text longer than the limit, as in a Windows edit.
class TypingLimit : public QValidator
{
    Q_OBJECT

public:
    TypingLimit(QLineEdit *edit, int limit);
    State validate(QString &input, int &pos) const override;

private:
    int m_limit;
    QString m_textNow;
};
