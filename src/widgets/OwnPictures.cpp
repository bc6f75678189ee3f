#include "widgets/OwnPictures.h"

#include <QImageReader>

QPixmap ownPicture(const QString &path)
{
    QImageReader reader(path, path.mid(path.lastIndexOf(QLatin1Char('.')) + 1).toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ownIcon(const QString &path)
{
    return QIcon(ownPicture(path));
}
