#pragma once

#include "core/ExecutableImage.h"

#include <QFile>

#include <algorithm>

// The bytes of the file being read: all of them at hand, or an open file read range by range.
class ExecutableImage::Source
{
public:
    explicit Source(const QByteArray &bytes) : m_bytes(bytes), m_size(bytes.size()) {}
    explicit Source(QFile *file) : m_file(file), m_size(file->size()) {}

    qint64 size() const { return m_size; }
    bool inMemory() const { return !m_file; }
    const QByteArray &bytes() const { return m_bytes; }
    qint64 bytesRead() const { return m_read; }

    // The bytes of [at, at + size) that the file holds.
    QByteArray read(qint64 at, qint64 size)
    {
        if (at < 0 || at >= m_size || size <= 0)
            return {};
        size = std::min(size, m_size - at);
        if (!m_file)
            return m_bytes.mid(at, size);
        if (!m_file->seek(at))
            return {};
        const QByteArray bytes = m_file->read(size);
        m_read += bytes.size();
        return bytes;
    }

private:
    QByteArray m_bytes;
    QFile *m_file = nullptr;
    qint64 m_size = 0;
    qint64 m_read = 0;
};
