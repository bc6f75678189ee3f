#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through this interface, so that tests can answer
// them. Texts break lines with a single "\r", as the program's messages are written.
class Messages
{
public:
    // YesNoDefaultNo: Enter answers No, for a question whose Yes cannot be taken back.
    enum class Buttons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
    enum class Icon { Information, Warning, Question, Error };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Messages() = default;
    virtual Answer show(QWidget *parent, const QString &text, const QString &caption,
                        Buttons buttons, Icon icon) = 0;
};

// Modal message boxes with Polish buttons.
class MessageBoxes : public Messages
{
public:
    Answer show(QWidget *parent, const QString &text, const QString &caption, Buttons buttons,
                Icon icon) override;
};
