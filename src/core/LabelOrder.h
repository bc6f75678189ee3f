#pragma once

#include <QCollator>
#include <QString>

// The order of menu labels: by the user's language, letter case counting, so that labels
// equal but for case still come in one fixed order (the code-point order decides last).
class LabelOrder
{
public:
    LabelOrder();
    // Negative, zero or positive as a sorts before, with or after b.
    int compare(const QString &a, const QString &b) const;
    // A key that compares as compare() does, for sorting many labels.
    struct Key
    {
        QCollatorSortKey collation;
        QString text;
        bool operator<(const Key &o) const;
    };
    Key key(const QString &label) const;

private:
    QCollator m_collator;
};
