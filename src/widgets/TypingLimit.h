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

    // Sets the edit's text as the program does: whole, however long. The edit only stays
    // watchful of the user's typing when the program's text counts as valid input.
    void setText(const QString &text);

private:
    QLineEdit *m_edit;
    int m_limit;
    QString m_textNow;
    bool m_programSets = false;
};
