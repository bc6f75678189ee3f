#pragma once

#include <QObject>

// Alt with a letter is an access key. When no control takes it (its button is off, or the
// letter belongs to none), a text field would type the letter: this filter, installed on the
// application, drops such keys before they reach a field that takes text.
class AltKeyFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
