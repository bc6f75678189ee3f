#include "os/Volume.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <climits>
#include <cstdlib>

namespace {

QByteArray firstLine(const QByteArray &path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine(64).trimmed();
}

} // namespace

// The block device of the file's file system, in the system's device tree: a partition lies in
// the folder of its disk, and the disk tells whether it is removable. A disk on the USB bus
// counts as well: many sticks and card readers call themselves fixed.
bool onRemovableDrive(const QByteArray &path, const QByteArray &systemRoot)
{
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return false;
    const QByteArray device = systemRoot + "/dev/block/" + QByteArray::number(major(status.st_dev)) + ':'
        + QByteArray::number(minor(status.st_dev));
    char resolved[PATH_MAX];
    if (!::realpath(device.constData(), resolved))
        return false;
    QByteArray disk(resolved);
    if (QFile::exists(QString::fromLocal8Bit(disk + "/partition")))
        disk.truncate(disk.lastIndexOf('/'));
    return firstLine(disk + "/removable") == "1" || disk.contains("/usb");
}
