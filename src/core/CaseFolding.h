#pragma once

#include <QString>
#include <QStringView>

// text folded to one letter case, as QString::toCaseFolded() folds it: text itself when
// folding changes nothing, else the folded text, made in spare. ASCII, which most names are,
// is folded without the tables and, spare being reused, without allocating.
QStringView foldedCase(QStringView text, QString &spare);
