#include "ExecutableWriter.h"

#include "core/CodePage.h"

#include <QFile>
#include <QMap>
#include <QtEndian>

#include <algorithm>

namespace ExecutableWriter {

namespace {

void put16(QByteArray &b, qint64 at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray &b, qint64 at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put64(QByteArray &b, qint64 at, quint64 v)
{
    qToLittleEndian(v, b.data() + at);
}

void append16(QByteArray &b, quint16 v)
{
    b.append(2, '\0');
    put16(b, b.size() - 2, v);
}

void append32(QByteArray &b, quint32 v)
{
    b.append(4, '\0');
    put32(b, b.size() - 4, v);
}

qint64 alignUp(qint64 value, qint64 alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

void padTo(QByteArray &b, qint64 alignment)
{
    b.append(alignUp(b.size(), alignment) - b.size(), '\0');
}

QByteArray utf16(const QString &text)
{
    QByteArray b;
    for (QChar c : text)
        append16(b, c.unicode());
    return b;
}

// The MZ header and a stub that prints a line and ends, 0x80 bytes in all: the header is four
// paragraphs, the code follows it.
QByteArray dosPart(quint32 newHeader)
{
    QByteArray b(0x80, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    put16(b, 0x02, 0x80);   // bytes in the last page
    put16(b, 0x04, 1);      // pages
    put16(b, 0x08, 4);      // header paragraphs
    put16(b, 0x0C, 0xFFFF); // most memory wanted
    put16(b, 0x10, 0xB8);   // initial SP
    put16(b, 0x18, 0x40);   // relocation table
    put32(b, 0x3C, newHeader);
    // push cs; pop ds; mov dx, 0Eh; mov ah, 9; int 21h; mov ax, 4C01h; int 21h
    const QByteArray code("\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21", 14);
    const QByteArray text("Needs Windows.\r\r\n$");
    b.replace(0x40, code.size(), code);
    b.replace(0x4E, text.size(), text);
    return b;
}

struct Language
{
    quint16 language;
    const ResourceEntry *entry;
    qint64 dataEntry = 0;
    qint64 data = 0;
};

struct Name
{
    const ResourceEntry *first; // gives the id or string name
    QList<Language> languages;
    qint64 directory = 0;
    qint64 string = 0;
};

struct Type
{
    quint16 id;
    QList<Name> names;
    qint64 directory = 0;
};

bool sameName(const ResourceEntry &a, const ResourceEntry &b)
{
    return a.name.isEmpty() ? b.name.isEmpty() && a.id == b.id : a.name == b.name;
}

// The loader finds entries by binary search: string names first, in upper-case order, then
// ids ascending.
bool nameBefore(const Name &a, const Name &b)
{
    const bool aNamed = !a.first->name.isEmpty();
    const bool bNamed = !b.first->name.isEmpty();
    if (aNamed != bNamed)
        return aNamed;
    if (aNamed)
        return a.first->name.toUpper() < b.first->name.toUpper();
    return a.first->id < b.first->id;
}

void writeDirectory(QByteArray &b, qint64 at, quint16 named, quint16 ids)
{
    put16(b, at + 8, 4); // major version, as linkers write it
    put16(b, at + 12, named);
    put16(b, at + 14, ids);
}

QByteArray resourceSection(const QList<ResourceEntry> &resources, quint32 sectionRva)
{
    QMap<quint16, Type> byType;
    for (const ResourceEntry &r : resources) {
        Type &type = byType[r.type];
        type.id = r.type;
        auto name = std::find_if(type.names.begin(), type.names.end(),
                                 [&](const Name &n) { return sameName(*n.first, r); });
        if (name == type.names.end())
            name = type.names.insert(type.names.end(), Name{&r, {}});
        name->languages.append({r.language, &r});
    }
    QList<Type> types = byType.values();
    for (Type &type : types) {
        std::stable_sort(type.names.begin(), type.names.end(), nameBefore);
        for (Name &name : type.names)
            std::stable_sort(name.languages.begin(), name.languages.end(),
                             [](const Language &a, const Language &b) {
                                 return a.language < b.language;
                             });
    }

    // Directories, then the data entries, then the name strings, then the data itself.
    qint64 pos = 16 + 8 * types.size();
    for (Type &type : types) {
        type.directory = pos;
        pos += 16 + 8 * type.names.size();
    }
    for (Type &type : types) {
        for (Name &name : type.names) {
            name.directory = pos;
            pos += 16 + 8 * name.languages.size();
        }
    }
    for (Type &type : types)
        for (Name &name : type.names)
            for (Language &language : name.languages) {
                language.dataEntry = pos;
                pos += 16;
            }
    for (Type &type : types)
        for (Name &name : type.names)
            if (!name.first->name.isEmpty()) {
                name.string = pos;
                pos += 2 + 2 * name.first->name.size();
            }
    for (Type &type : types)
        for (Name &name : type.names)
            for (Language &language : name.languages) {
                pos = alignUp(pos, 8);
                language.data = pos;
                pos += language.entry->data.size();
            }

    QByteArray b(pos, '\0');
    writeDirectory(b, 0, 0, quint16(types.size()));
    for (qsizetype t = 0; t < types.size(); ++t) {
        const Type &type = types[t];
        put32(b, 16 + 8 * t, type.id);
        put32(b, 16 + 8 * t + 4, 0x80000000u | quint32(type.directory));
        const auto named = std::count_if(type.names.begin(), type.names.end(),
                                         [](const Name &n) { return !n.first->name.isEmpty(); });
        writeDirectory(b, type.directory, quint16(named), quint16(type.names.size() - named));
        for (qsizetype n = 0; n < type.names.size(); ++n) {
            const Name &name = type.names[n];
            const qint64 entry = type.directory + 16 + 8 * n;
            if (name.first->name.isEmpty()) {
                put32(b, entry, name.first->id);
            } else {
                put32(b, entry, 0x80000000u | quint32(name.string));
                put16(b, name.string, quint16(name.first->name.size()));
                const QByteArray text = utf16(name.first->name);
                b.replace(name.string + 2, text.size(), text);
            }
            put32(b, entry + 4, 0x80000000u | quint32(name.directory));
            writeDirectory(b, name.directory, 0, quint16(name.languages.size()));
            for (qsizetype l = 0; l < name.languages.size(); ++l) {
                const Language &language = name.languages[l];
                put32(b, name.directory + 16 + 8 * l, language.language);
                put32(b, name.directory + 16 + 8 * l + 4, quint32(language.dataEntry));
                put32(b, language.dataEntry, sectionRva + quint32(language.data));
                put32(b, language.dataEntry + 4, quint32(language.entry->data.size()));
                b.replace(language.data, language.entry->data.size(), language.entry->data);
            }
        }
    }
    return b;
}

QByteArray sectionHeader(const char *name, quint32 virtualSize, quint32 rva, quint32 rawSize,
                         quint32 rawOffset, quint32 characteristics)
{
    QByteArray b(40, '\0');
    b.replace(0, qstrlen(name), name);
    put32(b, 8, virtualSize);
    put32(b, 12, rva);
    put32(b, 16, rawSize);
    put32(b, 20, rawOffset);
    put32(b, 36, characteristics);
    return b;
}

// One node of a version block: header, key, padding, value, the children on four-byte
// boundaries. wLength leaves out the padding after the last part.
QByteArray versionNode(const QString &key, const QByteArray &value, quint16 valueLength,
                       bool text, const QList<QByteArray> &children, bool wide)
{
    QByteArray b(wide ? 6 : 4, '\0');
    b += wide ? utf16(key) + QByteArray(2, '\0') : CodePage::system().encode(key) + '\0';
    if (!value.isEmpty() || !children.isEmpty())
        padTo(b, 4);
    b += value;
    for (const QByteArray &child : children) {
        padTo(b, 4);
        b += child;
    }
    put16(b, 0, quint16(b.size()));
    put16(b, 2, valueLength);
    if (wide)
        put16(b, 4, text ? 1 : 0);
    return b;
}

QByteArray textNode(const QString &key, const QString &value, bool wide)
{
    const QByteArray bytes = wide ? utf16(value) + QByteArray(2, '\0')
                                  : CodePage::system().encode(value) + '\0';
    return versionNode(key, bytes, quint16(wide ? bytes.size() / 2 : bytes.size()), true, {},
                       wide);
}

} // namespace

namespace {

// A PE file as written: head, then gap zero bytes (the payload section), then tail.
struct PeFile
{
    QByteArray head;
    qint64 gap = 0;
    QByteArray tail;
};

PeFile peFile(bool pe64, bool dll, const QList<ResourceEntry> &resources, quint32 payloadSize)
{
    using namespace PeLayout;
    constexpr quint32 fileAlignment = 0x200;
    constexpr quint32 sectionAlignment = 0x1000;
    constexpr quint32 textRva = 0x1000;
    constexpr quint32 textOffset = 0x200;
    // mov eax, 1; ret: an entry point that reports success, good for a DLL too
    const QByteArray code("\xB8\x01\x00\x00\x00\xC3", 6);

    // The payload section takes the place of the resources, which move behind it.
    const quint32 payloadRaw = quint32(alignUp(payloadSize, fileAlignment));
    const quint32 rsrcRva = resourceRva + quint32(alignUp(payloadSize, sectionAlignment));
    const quint32 rsrcOffset = quint32(resourceFileOffset) + payloadRaw;
    const QByteArray rsrc = resources.isEmpty() ? QByteArray()
                                                : resourceSection(resources, rsrcRva);
    const quint32 rsrcRaw = quint32(alignUp(rsrc.size(), fileAlignment));
    const quint16 sections = 1 + (payloadSize ? 1 : 0) + (rsrc.isEmpty() ? 0 : 1);
    const quint16 optionalSize = pe64 ? 240 : 224;

    QByteArray b = dosPart(quint32(newHeader));
    b += QByteArray("PE\0\0", 4);

    QByteArray header(20, '\0');
    put16(header, 0, pe64 ? 0x8664 : 0x14C);
    put16(header, 2, sections);
    put16(header, 16, optionalSize);
    quint16 characteristics = 0x0002;           // executable image
    characteristics |= pe64 ? 0x0020 : 0x0100;  // large addresses / 32-bit machine
    characteristics |= dll ? 0x2000 : 0x0001;   // DLL / no relocations
    put16(header, 18, characteristics);
    b += header;

    QByteArray optional(optionalSize, '\0');
    const quint32 imageSize = rsrc.isEmpty()
                                  ? rsrcRva
                                  : rsrcRva + quint32(alignUp(rsrc.size(), sectionAlignment));
    put16(optional, 0, pe64 ? 0x20B : 0x10B);
    optional[2] = 14; // linker version
    put32(optional, 4, fileAlignment);
    put32(optional, 8, rsrcRaw + payloadRaw);
    put32(optional, 16, textRva);
    put32(optional, 20, textRva);
    if (pe64) {
        put64(optional, 24, dll ? 0x180000000ull : 0x140000000ull);
    } else {
        put32(optional, 24, resourceRva); // base of data
        put32(optional, 28, dll ? 0x10000000u : 0x400000u);
    }
    put32(optional, 32, sectionAlignment);
    put32(optional, 36, fileAlignment);
    put16(optional, 40, 6); // operating system version 6.0
    put16(optional, 48, 6); // subsystem version 6.0
    put32(optional, 56, imageSize);
    put32(optional, 60, textOffset); // size of headers
    put16(optional, 68, 2);          // GUI
    put16(optional, 70, 0x0100);     // NX compatible
    const qint64 sizes = 72;
    const int sizeWidth = pe64 ? 8 : 4;
    const quint64 reserve = 0x100000, commit = 0x1000;
    const quint64 stackAndHeap[] = {reserve, commit, reserve, commit};
    for (int i = 0; i < 4; ++i) {
        if (pe64)
            put64(optional, sizes + i * sizeWidth, stackAndHeap[i]);
        else
            put32(optional, sizes + i * sizeWidth, quint32(stackAndHeap[i]));
    }
    const qint64 directories = pe64 ? 112 : 96;
    put32(optional, directories - 4, 16);
    if (!rsrc.isEmpty()) {
        put32(optional, directories + 2 * 8, rsrcRva);
        put32(optional, directories + 2 * 8 + 4, quint32(rsrc.size()));
    }
    b += optional;

    b += sectionHeader(".text", quint32(code.size()), textRva, fileAlignment, textOffset,
                       0x60000020); // code, execute, read
    if (payloadSize)
        b += sectionHeader(".data", payloadSize, resourceRva, payloadRaw,
                           quint32(resourceFileOffset), 0x40000040);
    if (!rsrc.isEmpty())
        b += sectionHeader(".rsrc", quint32(rsrc.size()), rsrcRva, rsrcRaw, rsrcOffset,
                           0x40000040); // initialised data, read
    b.append(textOffset - b.size(), '\0');

    b += code;
    b.append(resourceFileOffset - b.size(), '\0');
    QByteArray tail = rsrc;
    padTo(tail, fileAlignment);
    return {b, payloadRaw, tail};
}

} // namespace

QByteArray writePe(bool pe64, bool dll, const QList<ResourceEntry> &resources)
{
    const PeFile file = peFile(pe64, dll, resources, 0);
    return file.head + file.tail;
}

bool writePeWithPayload(const QString &path, quint32 payloadSize,
                        const QList<ResourceEntry> &resources)
{
    const PeFile pe = peFile(false, false, resources, payloadSize);
    QFile file(path);
    const qint64 tailAt = pe.head.size() + pe.gap;
    return file.open(QIODevice::WriteOnly) && file.write(pe.head) == pe.head.size()
           && file.resize(tailAt) && file.seek(tailAt) && file.write(pe.tail) == pe.tail.size();
}

QByteArray writeNe(bool library, const QList<ResourceEntry> &resources)
{
    using namespace NeLayout;
    constexpr quint16 shift = 4;

    // The resource table: TYPEINFO blocks in type order, each with its NAMEINFO records, a
    // zero type, the names, a zero length. Offsets and lengths are filled in below.
    QMap<quint16, QList<const ResourceEntry *>> byType;
    for (const ResourceEntry &r : resources)
        byType[r.type].append(&r);
    QByteArray table;
    QList<QPair<qint64, const ResourceEntry *>> nameInfos; // record offset in the table
    QList<QPair<qint64, QString>> namedRecords;
    if (!resources.isEmpty()) {
        append16(table, shift);
        for (auto it = byType.cbegin(); it != byType.cend(); ++it) {
            append16(table, 0x8000 | it.key());
            append16(table, quint16(it->size()));
            append32(table, 0);
            for (const ResourceEntry *r : *it) {
                const qint64 record = table.size();
                nameInfos.append({record, r});
                table.append(12, '\0');
                put16(table, record + 4, 0x0030); // moveable, pure
                if (r->name.isEmpty())
                    put16(table, record + 6, 0x8000 | r->id);
                else
                    namedRecords.append({record, r->name});
            }
        }
        append16(table, 0);
        for (const auto &[record, name] : namedRecords) {
            put16(table, record + 6, quint16(table.size()));
            const QByteArray bytes = CodePage::system().encode(name);
            table.append(char(bytes.size()));
            table += bytes;
        }
        table.append('\0');
    }

    const QByteArray residentNames = QByteArray("\x07PELMORA\0\0\0", 11);
    const QByteArray imported(1, '\0');
    const QByteArray entries(2, '\0');
    const QByteArray nonResident = QByteArray("\x0CPelmora test\0\0\0", 16);

    const qint64 resourceAt = 0x40;
    const qint64 residentAt = resourceAt + table.size();
    const qint64 moduleRefsAt = residentAt + residentNames.size();
    const qint64 importedAt = moduleRefsAt;
    const qint64 entriesAt = importedAt + imported.size();
    const qint64 nonResidentAt = newHeader + entriesAt + entries.size();

    QByteArray header(0x40, '\0');
    header[0] = 'N';
    header[1] = 'E';
    header[2] = 5;
    header[3] = 10;
    put16(header, 0x04, quint16(entriesAt));
    put16(header, 0x06, quint16(entries.size()));
    put16(header, 0x0C, library ? 0x8301 : 0x0302); // library or application, Windows API
    put16(header, 0x10, 0x400);                     // local heap
    put16(header, 0x12, library ? 0 : 0x2000);      // stack
    put16(header, 0x20, quint16(nonResident.size()));
    put16(header, 0x22, quint16(resourceAt)); // no segments
    put16(header, 0x24, quint16(resourceAt));
    put16(header, 0x26, quint16(residentAt));
    put16(header, 0x28, quint16(moduleRefsAt));
    put16(header, 0x2A, quint16(importedAt));
    put32(header, 0x2C, quint32(nonResidentAt));
    put16(header, 0x32, shift);
    header[0x36] = 2; // Windows
    put16(header, 0x3E, 0x030A);

    QByteArray b = dosPart(quint32(newHeader));
    b += header + table + residentNames + imported + entries + nonResident;
    for (const auto &[record, r] : nameInfos) {
        padTo(b, 1 << shift);
        put16(b, resourceTable + record, quint16(b.size() >> shift));
        put16(b, resourceTable + record + 2,
              quint16(alignUp(r->data.size(), 1 << shift) >> shift));
        b += r->data;
    }
    padTo(b, 1 << shift);
    return b;
}

QByteArray writeDosProgram(quint32 newHeaderOffset)
{
    return dosPart(newHeaderOffset);
}

QByteArray versionBlock(const VersionContent &content, bool wide)
{
    QByteArray fixed;
    if (content.withFixed) {
        // Signature, structure version, file and product versions, flags, OS (Windows NT or
        // 16-bit Windows on DOS), type, subtype, date.
        const quint32 fields[13] = {
            0xFEEF04BD, 0x00010000,
            content.fileVersionMS, content.fileVersionLS,
            content.fileVersionMS, content.fileVersionLS,
            content.flagsMask, content.flags,
            wide ? 0x00040004u : 0x00010001u,
            content.type, content.subtype,
            0, 0,
        };
        for (quint32 field : fields)
            append32(fixed, field);
    }

    QList<QByteArray> children;
    if (!content.tables.isEmpty()) {
        QList<QByteArray> tables;
        for (const auto &[name, strings] : content.tables) {
            QList<QByteArray> values;
            for (const auto &[key, value] : strings)
                values.append(textNode(key, value, wide));
            tables.append(versionNode(name, {}, 0, true, values, wide));
        }
        children.append(versionNode(QStringLiteral("StringFileInfo"), {}, 0, true, tables, wide));
    }
    if (!content.translations.isEmpty()) {
        QByteArray pairs;
        for (const auto &[language, codePage] : content.translations) {
            append16(pairs, language);
            append16(pairs, codePage);
        }
        const QByteArray var = versionNode(QStringLiteral("Translation"), pairs,
                                           quint16(pairs.size()), false, {}, wide);
        children.append(versionNode(QStringLiteral("VarFileInfo"), {}, 0, true, {var}, wide));
    }
    return versionNode(QStringLiteral("VS_VERSION_INFO"), fixed, quint16(fixed.size()), false,
                       children, wide);
}

} // namespace ExecutableWriter
