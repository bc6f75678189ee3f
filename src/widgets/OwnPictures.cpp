#include "widgets/OwnPictures.h"

#include <QFile>
#include <QImageReader>

namespace {

// A PAM file: "P7", then lines "WIDTH w", "HEIGHT h", "DEPTH 3|4", "MAXVAL 255", "TUPLTYPE ...",
// "ENDHDR", then the rows of pixels, top first. Anything else gives a null image.
QImage pamImage(const QByteArray &file)
{
    if (!file.startsWith("P7\n"))
        return {};
    qsizetype at = 3;
    int width = 0, height = 0, depth = 0, maxValue = 0;
    for (;;) {
        const qsizetype end = file.indexOf('\n', at);
        if (end < 0)
            return {};
        const QByteArray line = file.mid(at, end - at);
        at = end + 1;
        if (line == "ENDHDR")
            break;
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space);
        const int value = space < 0 ? 0 : line.mid(space + 1).toInt();
        if (key == "WIDTH")
            width = value;
        else if (key == "HEIGHT")
            height = value;
        else if (key == "DEPTH")
            depth = value;
        else if (key == "MAXVAL")
            maxValue = value;
    }
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || (depth != 3 && depth != 4)
        || maxValue != 255 || file.size() - at < qsizetype(width) * height * depth)
        return {};
    const QImage pixels(reinterpret_cast<const uchar *>(file.constData() + at), width, height,
                        width * depth, depth == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return pixels.copy(); // its own pixels: the file's bytes go with the caller's array
}

} // namespace

QPixmap ownPicture(const QString &path)
{
    if (path.endsWith(QLatin1String(".pam"))) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QPixmap::fromImage(pamImage(file.readAll())) : QPixmap();
    }
    QImageReader reader(path, path.mid(path.lastIndexOf(QLatin1Char('.')) + 1).toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ownIcon(const QString &path)
{
    return QIcon(ownPicture(path));
}
