#include "widgets/PlainToolTip.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace {

class PlainToolTip : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const QString hint = widget->toolTip();
        if (hint.isEmpty())
            return false; // the widget's own handling: without a hint, its parent's
        // Escaped, any markup in the hint reads as written.
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                           Qt::convertFromPlainText(hint, Qt::WhiteSpaceNormal), widget, QRect(),
                           widget->toolTipDuration());
        return true;
    }
};

} // namespace

void showToolTipAsPlainText(QWidget *widget)
{
    widget->installEventFilter(new PlainToolTip(widget));
}
