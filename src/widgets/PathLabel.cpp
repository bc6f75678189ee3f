#include "widgets/PathLabel.h"

#include "core/PathShortening.h"

#include <QPainter>

PathLabel::PathLabel(QWidget *parent)
    : QLabel(parent)
{
    // A path is never markup, and the background is painted like any opaque control's;
    // setAutoFillBackground(false) makes the label transparent.
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setMinimumSize(0, 0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QRect PathLabel::textArea() const
{
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString PathLabel::drawnText() const
{
    const QFontMetrics metrics(font());
    return shortenPath(text(), textArea().width(),
                       [&metrics](const QString &s) { return metrics.horizontalAdvance(s); });
}

QSize PathLabel::minimumSizeHint() const
{
    const QMargins frame = contentsMargins();
    const int m = margin();
    return {0, fontMetrics().height() + frame.top() + frame.bottom() + 2 * m};
}

QSize PathLabel::sizeHint() const
{
    return minimumSizeHint();
}

void PathLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(font());

    const QRect area = textArea();
    // No mnemonic flag: "&" is an ordinary character in a file name.
    const int flags = int(alignment()) | Qt::TextExpandTabs | (wordWrap() ? Qt::TextWordWrap : 0);
    const QString shown = drawnText();
    if (isEnabled()) {
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(area, flags, shown);
    } else {
        // Engraved in the colours of a button's edges. They come from the active group: the
        // disabled one is faded already and would fade the engraving a second time.
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(area.translated(1, 1), flags, shown);
        painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
        painter.drawText(area, flags, shown);
    }
}
