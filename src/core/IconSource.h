#pragma once

#include "core/ExecutableImage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The icons of one file as the shell counts them: every icon group of a program or library
// (PE or NE, .exe/.dll/.icl) in resource order, or the one icon of an .ico file. Each icon
// is handed out as the bytes of an .ico file holding all its images, for any image reader.
class IconSource
{
public:
    IconSource() = default;
    explicit IconSource(const QString &path);

    // The number of icons; 0 for a file that holds none or is not readable.
    int count() const { return int(m_groups.size()); }
    // Icon index as an .ico file; empty when there is no such icon or it is damaged.
    QByteArray icoFile(int index) const;

private:
    QList<QByteArray> m_groups;         // RT_GROUP_ICON data, or the .ico file itself
    QHash<quint16, QByteArray> m_images; // RT_ICON data by id
    bool m_icoFile = false;
};
