#include "platform/AppServices.h"
#include "platform/DataFiles.h"

#include <QFileInfo>

QString AppServices::programFolder() const
{
    return QFileInfo(programFile).absolutePath() + QLatin1Char('/');
}

QString AppServices::helpFile() const
{
    return dataFile(programFile, QStringLiteral("help/pelmora.html"));
}

QString AppServices::tipsFile() const
{
    return dataFile(programFile, QStringLiteral("porady.dat"));
}
