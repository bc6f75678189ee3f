#include "platform/Messages.h"

#include <QMessageBox>
#include <QPushButton>

Messages::Answer MessageBoxes::show(QWidget *parent, const QString &text, const QString &caption,
                                     Buttons buttons, Icon icon)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::Information, QMessageBox::Warning,
                                              QMessageBox::Question, QMessageBox::Critical};
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(icons[int(icon)], caption, shown, QMessageBox::NoButton, parent);

    QPushButton *yes = nullptr;
    QPushButton *no = nullptr;
    QPushButton *cancel = nullptr;
    if (buttons == Buttons::Ok) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    } else {
        yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
        if (buttons == Buttons::YesNoCancel)
            cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
        box.setDefaultButton(buttons == Buttons::YesNoDefaultNo ? no : yes);
    }
    // Escape and the close box answer as Windows does: Cancel when there is one, else No.
    box.setEscapeButton(cancel ? cancel : no);
    box.exec();

    QAbstractButton *clicked = box.clickedButton();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (clicked == yes)
        return Answer::Yes;
    if (clicked == cancel)
        return Answer::Cancel;
    return cancel && clicked != no ? Answer::Cancel : Answer::No;
}
