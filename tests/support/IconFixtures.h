#pragma once

// Real icons for fixtures: .ico files made by Qt's own writer, and the same images as the
// icon resources of a program.

#include "ExecutableWriter.h"

#include <QColor>
#include <QImage>
#include <QList>

namespace IconFixtures {

// A square image of one colour.
QImage square(int size, const QColor &colour);
// An .ico file holding the images, in order.
QByteArray icoFile(const QList<QImage> &images);
// The icon group (RT_GROUP_ICON, id groupId) and images (RT_ICON, ids from firstImageId) of
// an .ico file, for ExecutableWriter.
QList<ExecutableWriter::ResourceEntry> iconResources(const QByteArray &ico, quint16 groupId,
                                                     quint16 firstImageId);

} // namespace IconFixtures
