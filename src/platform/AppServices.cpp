#include "platform/AppServices.h"
#include "platform/DataFiles.h"

QString AppServices::helpFile() const
{
    return dataFile(programFile, QStringLiteral("help/pelmora.html"));
}

QString AppServices::tipsFile() const
{
    return dataFile(programFile, QStringLiteral("porady.dat"));
}
