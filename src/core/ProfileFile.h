#pragma once

#include "core/NameIndex.h"
#include "core/RegularFile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

class CodePage;

// A read-only view of a Windows profile (INI) file that answers as GetPrivateProfileString
// does: names match without regard to letter case, only the first section of a name counts,
// keys are listed in file order with every duplicate, a lookup returns the first copy,
// values lose one pair of enclosing quotes and are cut to 2047 characters.
// The file is parsed once; every question after that is a hash lookup.
class ProfileFile
{
public:
    static constexpr qsizetype maxValueLength = 2047;
    // A larger file is not read: parsing one of millions of lines takes minutes and gigabytes.
    static constexpr qint64 maxFileSize = 64 * 1024 * 1024;

    ProfileFile() = default;
    // Only a regular file is read; any other, or an unreadable one, reads as an empty file
    // and error() says why.
    static ProfileFile fromFile(const QString &path);
    // giveUp (when given) set from another thread ends the reading early; what was read is then
    // of no use.
    static ProfileFile fromFile(const QString &path, const CodePage &codePage,
                                const std::atomic_bool *giveUp = nullptr);
    static ProfileFile fromBytes(QByteArrayView bytes);
    static ProfileFile fromBytes(QByteArrayView bytes, const CodePage &codePage);

    // A section is present when it holds at least one key.
    bool hasSection(QStringView section) const;
    // Key names as they stand in the file, in file order, duplicates included.
    QStringList keys(QStringView section) const;
    bool hasKey(QStringView section, QStringView key) const;
    // The value of the first line with this key; empty when the key is absent.
    QString value(QStringView section, QStringView key) const;

    // Why fromFile read nothing; None for a file that was read and for bytes given.
    FileReadError error() const { return m_error; }

private:
    // Where a line's name and value stand in the file's text.
    struct Line
    {
        quint32 name = 0, nameLength = 0, value = 0, valueLength = 0;
    };

public:
    // The lines of one section, for readers that walk all of them: names as they stand and
    // values (unquoted, cut), in file order, and the first line of each name folded to one
    // letter case. All of them are views of the file's text, which the profile keeps.
    class Section
    {
    public:
        qsizetype size() const { return m_count; }
        QStringView name(qsizetype line) const
        {
            return QStringView(m_text + m_lines[line].name, m_lines[line].nameLength);
        }
        QStringView value(qsizetype line) const
        {
            return QStringView(m_text + m_lines[line].value, m_lines[line].valueLength);
        }
        // Whether the line is the first of its name.
        bool isFirst(qsizetype line) const { return m_first[line]; }
        // The line of the first key named folded (already case-folded); -1 when there is none.
        qsizetype lineOf(QStringView folded) const;

    private:
        friend class ProfileFile;
        // Into the profile's text and lines, which it shares with its copies and never changes.
        const char16_t *m_text = nullptr;
        const Line *m_lines = nullptr;
        qsizetype m_count = 0;
        QList<bool> m_first;
        NameIndex m_index; // of the names folded
    };
    // The section that counts for name (the first of that name); null when there is none or
    // it holds no key.
    const Section *section(QStringView name) const;
    // A name folded to one letter case, as the index holds it (blanks around it dropped).
    static QString foldedName(QStringView name);
    static QString foldedName(const QString &name); // name itself when it is folded already

private:
    static ProfileFile fromText(QString text, const std::atomic_bool *giveUp = nullptr);
    void parse(const std::atomic_bool *giveUp);

    // Every header, in file order (the first, with no name, stands for the lines before any),
    // with the section made of it: only the first of a name that holds keys gets one.
    struct Header
    {
        quint32 name = 0, nameLength = 0;
        qint32 section = -1;
    };

    // The decoded file, which every view points into, and every key line of it: a million
    // lines or sections cost a few words each, not an object each.
    QString m_text;
    QList<Line> m_lines;
    QList<Header> m_headers;
    NameIndex m_headerIndex; // of the headers' names folded
    QList<Section> m_sections;
    FileReadError m_error = FileReadError::None;
};
