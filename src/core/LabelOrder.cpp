#include "core/LabelOrder.h"

#include <QLocale>

LabelOrder::LabelOrder()
{
    // The interface is Polish; without a locale of its own the system sorts as Polish does.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Polish, QLocale::Poland);
    m_collator = QCollator(locale);
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

int LabelOrder::compare(const QString &a, const QString &b) const
{
    const int order = m_collator.compare(a, b);
    return order != 0 ? order : QString::compare(a, b, Qt::CaseSensitive);
}

LabelOrder::Key LabelOrder::key(const QString &label) const
{
    return {m_collator.sortKey(label), label};
}

bool LabelOrder::Key::operator<(const Key &o) const
{
    const int order = collation.compare(o.collation);
    return order != 0 ? order < 0 : QString::compare(text, o.text, Qt::CaseSensitive) < 0;
}
