#include "core/MenuDocument.h"

bool hasContent(const MenuDocument &doc)
{
    return hasContent(doc.items.size(), doc.discLabel, doc.autoStartProgram, doc.iconFile);
}

bool hasContent(qsizetype itemCount, const QString &discLabel, const QString &autoStartProgram,
                const QString &iconFile)
{
    return itemCount > 0 || !discLabel.isEmpty() || !autoStartProgram.isEmpty() || !iconFile.isEmpty();
}
