#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user types to a number of characters without cutting a longer text that
// the program sets (QLineEdit's maxLength would cut both). Over the limit the user may still
// delete, but typing never makes the text longer than the limit, as in a Windows edit; a
// paste that does not fit inserts the part that does.
class TypingLimit : public QValidator
{
    Q_OBJECT

public:
    TypingLimit(QLineEdit *edit, int limit);
    State validate(QString &input, int &pos) const override;

    // Sets the edit's text as the program does: whole, however long.
    void setText(const QString &text);

private:
    // Whether text may stand in the edit: within the limit, or what is left of the program's
    // text after deleting (so undo and redo reach nothing that typing could not).
    bool allowed(const QString &text) const;

    QLineEdit *m_edit;
    int m_limit;
    QString m_textNow;
    QString m_programText;
    bool m_programSets = false;
};
