#pragma once

#include "core/ExecutableImage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class InputFile;

// The icons of one file as the shell counts them: one per icon group name of a program or
// library (PE or NE, .exe/.dll/.icl) in resource order, whatever the languages it exists in,
// or the one icon of an .ico file. Each icon is handed out as the bytes of an .ico file
// holding all its images, for any image reader.
class IconSource
{
public:
    IconSource() = default;
    // Reads regular files only.
    explicit IconSource(const QString &path);
    // An .ico file or a program, as the file at a path holding these bytes would read.
    static IconSource fromBytes(const QByteArray &bytes);

    // The number of icons; 0 for a file that holds none or is not readable.
    int count() const { return int(m_groups.size()); }
    // Icon index as an .ico file; empty when there is no such icon or it is damaged.
    QByteArray icoFile(int index) const;
    // The same holding only the image bestIconImage() picks for size × size, read alone: what
    // a list drawing its icons at one size needs.
    QByteArray icoFile(int index, int size) const;

private:
    struct Image
    {
        qint64 offset = 0;
        qint64 size = 0;
    };

    void readIco(const QByteArray &ico);
    void readProgram(const ExecutableImage &image);

    QList<QByteArray> m_groups;      // RT_GROUP_ICON data, or the .ico file itself
    QHash<quint16, Image> m_images;  // where each RT_ICON lies, by id: only places are kept
    // The images of a group, in its order, as entries of an .ico file: those whose image is
    // known (an image listed twice taken once), each the group's 14-byte entry.
    QList<qsizetype> imageEntries(const QByteArray &group) const;
    // size bytes of the image at offset, or its first size bytes when it is larger; empty when
    // they cannot be read.
    QByteArray imageBytes(qint64 offset, qint64 size) const;
    // The image of the group's entry at, read whole; empty when it cannot be.
    QByteArray wholeImage(const QByteArray &group, qsizetype at) const;

    QString m_path;                  // the program the images are read from, kept open in
    std::shared_ptr<InputFile> m_file; // (shared by copies: a list draws its icons one by one), or
    QByteArray m_bytes;              // the bytes it was given
    bool m_icoFile = false;
};
