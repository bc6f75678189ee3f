#include "platform/AppServices.h"

#include <QFileInfo>

QString AppServices::programFolder() const
{
    return QFileInfo(programFile).absolutePath() + QLatin1Char('/');
}

QString AppServices::helpFile() const
{
    return programFolder() + QStringLiteral("help/pelmora.html");
}
