#include "core/MenuDocument.h"

bool hasContent(const MenuDocument &doc)
{
    return !doc.items.isEmpty() || !doc.discLabel.isEmpty() || !doc.autoStartProgram.isEmpty()
        || !doc.iconFile.isEmpty();
}
