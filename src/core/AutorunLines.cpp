#include "core/AutorunLines.h"

#include "core/CodePage.h"

QString menuVerbName(qsizetype index)
{
    return QString::number(index).rightJustified(5, QLatin1Char('0'));
}

QStringList autorunLines(const MenuDocument &doc)
{
    QStringList verbs;
    verbs.reserve(doc.items.size());
    for (qsizetype i = 0; i < doc.items.size(); ++i)
        verbs << menuVerbName(i);
    return autorunLines(doc, verbs);
}

QStringList autorunLines(const MenuDocument &doc, const QStringList &verbs)
{
    Q_ASSERT(verbs.size() == doc.items.size());
    QStringList lines;
    lines.reserve(5 + 3 * doc.items.size());
    lines << QStringLiteral("[autorun]");
    if (!doc.autoStartProgram.isEmpty())
        lines << QStringLiteral("Open=") + doc.autoStartProgram;
    if (!doc.iconFile.isEmpty()) {
        // Without a number Windows shows the first icon ("-1" would be resource id 1); a name
        // holding a comma needs one, or Windows cuts the name there.
        QString icon = QStringLiteral("Icon=") + doc.iconFile;
        if (doc.iconIndex || doc.iconFile.contains(QLatin1Char(',')))
            icon += QLatin1Char(',') + QString::number(doc.iconIndex.value_or(0));
        lines << icon;
    }
    if (!doc.discLabel.isEmpty()) {
        // Windows shows the drive label from "label"; "Name" goes beside it for the readers
        // that take the label from there, this program's own first (see readAutorun).
        lines << QStringLiteral("Name=") + doc.discLabel;
        lines << QStringLiteral("Label=") + doc.discLabel;
    }
    lines << QString();
    for (qsizetype i = 0; i < doc.items.size(); ++i) {
        const QString verb = QStringLiteral("shell\\") + verbs[i];
        lines << verb + QStringLiteral("\\command=") + doc.items[i].file;
        lines << verb + QLatin1Char('=') + doc.items[i].label;
        lines << QString();
    }
    return lines;
}

QByteArray autorunBytes(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return CodePage::system().encode(text);
}

QByteArray autorunBytes(const MenuDocument &doc)
{
    return autorunBytes(autorunLines(doc));
}
