#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/DiscImage.h"
#include "core/DiscImageNames.h"

#include <QDateTime>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <libisofs/libisofs.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using FileMap = QMap<QString, QByteArray>;

class TestDiscImage : public QObject
{
    Q_OBJECT

private slots:
    void readsBackEveryFile_data();
    void readsBackEveryFile();
    void volumeNames_data();
    void volumeNames();
    void isoNames_data();
    void isoNames();
    void refusedImageLeavesNothing_data();
    void refusedImageLeavesNothing();
    void cancelLeavesNothing();
    void fullDiskLeavesNothing();
    void changedFileIsNamed_data();
    void changedFileIsNamed();
    void folderThatCannotBeTakenIsNamed_data();
    void folderThatCannotBeTakenIsNamed();
    void linksShowNothingOutside_data();
    void linksShowNothingOutside();
    void imagePathIsTheNameItself_data();
    void imagePathIsTheNameItself();
    void fileOverFourGiB();
    void theCheckSeesTheImage();
};

namespace {

const QDateTime kept(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);

QString longPolishName()
{
    QString name;
    while (name.size() < 99)
        name += QStringLiteral("Zażółć gęślą jaźń ");
    return name.left(99) + QStringLiteral(".txt");
}

// A file named in bytes that need not be UTF-8, in a folder that may be new.
void writeRawFile(const QByteArray &path)
{
    ::mkdir(path.left(path.lastIndexOf('/')).constData(), 0755);
    std::fclose(std::fopen(path.constData(), "w"));
}

// QDir cannot remove the names it cannot spell.
struct TempDir : QTemporaryDir {
    ~TempDir() { QProcess::execute("rm", {"-rf", path()}); }
};

// A data folder with what users put on discs; returns what a reader must find, links followed.
FileMap writeDataFolder(const QString &root)
{
    FileMap files;
    files["autorun.inf"] = "[autorun]\r\nOpen=setup.exe\r\n\r\n";
    files["Zażółć gęślą jaźń.txt"] = "treść";
    files[longPolishName()] = "długa nazwa";
    files["folder ze spacjami/plik 1.txt"] = "spacje";
    files["a/b/c/d/e/f/g/h/i/głęboki.txt"] = "głęboko";
    files[".ukryty/.sekret"] = "ukryte";
    files["pusty.txt"] = QByteArray();
    QByteArray big(3 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(big.data()), big.size() / 4);
    files["duży.bin"] = big;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeTestFile(root + '/' + it.key(), it.value());
    QFile::link("folder ze spacjami/plik 1.txt", root + "/skrót.txt");
    files["skrót.txt"] = files["folder ze spacjami/plik 1.txt"];
    // Windows-1250, cp852 and Latin-1 names from old archives, as Windows-1250 reads them.
    for (const auto &[bytes, name] : {std::pair{QByteArray("\xa3\xf3" "d\x9f/plik.txt"), u"Łódź/plik.txt"_qs},
                                      {"\xbe\xa2\x88w.txt", u"ľ˘\u0088w.txt"_qs}, {"caf\xe9.txt", u"café.txt"_qs}}) {
        writeRawFile(QFile::encodeName(root) + '/' + bytes);
        files[name] = QByteArray();
    }
    QFile f(root + "/pusty.txt");
    f.open(QIODevice::ReadWrite);
    f.setFileTime(kept, QFileDevice::FileModificationTime);
    return files;
}

QByteArray contentOf(IsoFile *file)
{
    IsoStream *stream = iso_file_get_stream(file);
    QByteArray bytes;
    if (iso_stream_open(stream) < 0)
        return "<unreadable>";
    char buf[65536];
    int n;
    while ((n = iso_stream_read(stream, buf, sizeof buf)) > 0)
        bytes.append(buf, n);
    iso_stream_close(stream);
    return bytes;
}

// modes (when given) gets "MODE UID:GID" of each node, the mode in octal.
void collect(IsoDir *dir, const QString &prefix, FileMap *files, QMap<QString, time_t> *times,
             QMap<QString, QString> *modes)
{
    IsoDirIter *iter = nullptr;
    iso_dir_get_children(dir, &iter);
    IsoNode *node;
    while (iso_dir_iter_next(iter, &node) == 1) {
        const QString path = prefix + QString::fromUtf8(iso_node_get_name(node));
        (*times)[path] = iso_node_get_mtime(node);
        if (modes)
            (*modes)[path] = QStringLiteral("%1 %2:%3").arg(iso_node_get_permissions(node) & 07777, 0, 8)
                                 .arg(iso_node_get_uid(node)).arg(iso_node_get_gid(node));
        if (ISO_NODE_IS_DIR(node))
            collect(reinterpret_cast<IsoDir *>(node), path + '/', files, times, modes);
        else if (ISO_NODE_IS_FILE(node))
            (*files)[path] = contentOf(reinterpret_cast<IsoFile *>(node));
        else if (ISO_NODE_IS_SYMLINK(node))
            (*files)[path] = "-> " + QByteArray(iso_symlink_get_dest(reinterpret_cast<IsoSymlink *>(node)));
    }
    iso_dir_iter_free(iter);
}

enum class Tree { RockRidge, Joliet, Iso9660 };

// Reads the image with the library's own reader, through one of its trees; volume gets the
// volume id and the volume set id.
FileMap readImage(const QString &path, Tree tree, QStringList *volume, QMap<QString, time_t> *times,
                  QMap<QString, QString> *modes = nullptr)
{
    IsoDataSource *source = nullptr;
    IsoReadOpts *opts = nullptr;
    IsoImage *image = nullptr;
    IsoReadImageFeatures *features = nullptr;
    FileMap files;
    if (iso_data_source_new_from_file(QFile::encodeName(path).constData(), &source) < 0)
        return files;
    iso_read_opts_new(&opts, 0);
    iso_read_opts_set_no_rockridge(opts, tree != Tree::RockRidge);
    iso_read_opts_set_no_joliet(opts, tree == Tree::Iso9660);
    iso_read_opts_set_preferjoliet(opts, tree == Tree::Joliet);
    iso_image_new("read", &image);
    if (iso_image_import(image, source, opts, &features) >= 0) {
        *volume = QStringList{QString::fromLatin1(iso_image_get_volume_id(image)),
                              QString::fromLatin1(iso_image_get_volset_id(image))};
        collect(iso_image_get_root(image), QString(), &files, times, modes);
        iso_read_image_features_destroy(features);
    }
    iso_image_unref(image);
    iso_read_opts_free(opts);
    iso_data_source_unref(source);
    return files;
}

// The library's reader keeps only the primary volume name; Joliet's is read from its descriptor.
QString jolietVolumeIdOf(const QString &path)
{
    const QByteArray bytes = readTestFile(path);
    for (int sector = 16; (sector + 1) * 2048 <= bytes.size(); ++sector) {
        const QByteArray d = bytes.mid(sector * 2048, 2048);
        if (d[0] == char(2) && d.mid(88, 3) == "%/E")
            return QString(QStringDecoder(QStringConverter::Utf16BE).decode(d.mid(40, 32))).trimmed();
        if (d[0] == char(255))
            break;
    }
    return QString();
}

// Adds the folders within the ISO 9660 folder at extent to folders ("NAME@extent"); false when
// one holds its records out of the order of their names, or one across the end of a block.
bool readFolders(const QByteArray &image, qint64 extent, qint64 size, QStringList *folders)
{
    QByteArrayList names;
    for (qint64 at = extent * 2048; at < extent * 2048 + size;) {
        const int length = uchar(image[at]);
        if (length != 0 && at % 2048 + length > 2048)
            return false;
        if (length == 0) {
            at += 2048 - at % 2048;
            continue;
        }
        const char *record = image.constData() + at;
        names << image.mid(at + 33, uchar(record[32])).split(';').first();
        const quint32 start = qFromLittleEndian<quint32>(record + 2);
        if (record[25] & 2 && names.size() > 2) {
            *folders << names.last() + '@' + QString::number(start);
            if (!readFolders(image, start, qFromLittleEndian<quint32>(record + 10), folders))
                return false;
        }
        at += length;
    }
    return std::adjacent_find(names.cbegin(), names.cend(), std::greater_equal<>()) == names.cend();
}

// The folders of the path table but the first ("NAME@extent"); empty when they are out of its
// order (by the number of the folder holding them, then by name).
QStringList pathTableOf(const QByteArray &image)
{
    const char *descriptor = image.constData() + 16 * 2048;
    const char *entry = image.constData() + qFromLittleEndian<quint32>(descriptor + 140) * 2048 + 10;
    const char *end = entry - 10 + qFromLittleEndian<quint32>(descriptor + 132);
    QStringList folders;
    QByteArrayList keys;
    for (; entry < end; entry += 8 + uchar(entry[0]) + uchar(entry[0]) % 2) {
        const QByteArray name(entry + 8, uchar(entry[0]));
        keys << QByteArray::number(qFromLittleEndian<quint16>(entry + 6)).rightJustified(5, '0') + name;
        folders << name + '@' + QString::number(qFromLittleEndian<quint32>(entry + 2));
    }
    return std::adjacent_find(keys.cbegin(), keys.cend(), std::greater_equal<>()) == keys.cend() ? folders : QStringList();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

void TestDiscImage::readsBackEveryFile_data()
{
    QTest::addColumn<bool>("joliet");
    QTest::newRow("Rock Ridge names") << false;
    QTest::newRow("Joliet names, as Windows reads them") << true;
}

void TestDiscImage::readsBackEveryFile()
{
    QFETCH(bool, joliet);
    TempDir dir;
    const FileMap expected = writeDataFolder(dir.filePath("dane"));
    QVERIFY(writeTestFile(dir.filePath("dane/.autorun.inf.pelmora-Ab12Cd"), "a save killed midway"));
    // The maker's private files and folders are everyone's on the disc, owned by root.
    QVERIFY(QFile::setPermissions(dir.filePath("dane/pusty.txt"), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(dir.filePath("dane/duży.bin"), QFile::ReadOwner | QFile::ExeOwner | QFile::ExeGroup));
    QVERIFY(QFile::setPermissions(dir.filePath("dane/a"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    DiscImageJob job{dir.filePath("dane"), dir.filePath("obraz.iso"), QStringLiteral("Płyta")};
    QStringList progressFiles;
    job.progress = [&](int, const QString &file) { progressFiles << file; };
    const DiscImageResult result = writeDiscImage(job);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.files, expected.size());
    QCOMPARE(result.bytes, QFileInfo(job.imagePath).size());
    QVERIFY(progressFiles.contains("duży.bin"));

    QStringList volume;
    QMap<QString, time_t> times;
    QMap<QString, QString> modes;
    const FileMap read = readImage(job.imagePath, joliet ? Tree::Joliet : Tree::RockRidge, &volume, &times, &modes);
    if (!joliet) {
        QCOMPARE(modes["pusty.txt"], "444 0:0");
        QCOMPARE(modes[u"duży.bin"_qs], "554 0:0");
        QCOMPARE(modes["a"], "555 0:0");
    }
    QCOMPARE(read.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(read[it.key()] == it.value(), qPrintable(it.key()));
    QCOMPARE(QDateTime::fromSecsSinceEpoch(times["pusty.txt"], Qt::UTC), kept);
}

void TestDiscImage::volumeNames_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("volumeId");
    QTest::addColumn<QString>("jolietId");
    QTest::newRow("Polish label") << "Łódź żółć 2" << "LODZ_ZOLC_2" << "Łódź żółć 2";
    QTest::newRow("long label cut") << "Bardzo długa etykieta płyty z programem i danymi"
                                    << "BARDZO_DLUGA_ETYKIETA_PLYTY_Z_PR" << "Bardzo długa ety";
    QTest::newRow("no label: the folder's name") << "" << "DANE_SC" << "dane śc";
}

void TestDiscImage::volumeNames()
{
    QFETCH(QString, label);
    QFETCH(QString, volumeId);
    QFETCH(QString, jolietId);
    QTemporaryDir dir;
    writeTestFile(dir.filePath("dane śc/plik.txt"), "x");
    DiscImageJob job{dir.filePath("dane śc"), dir.filePath("obraz.iso"), label};
    const DiscImageResult result = writeDiscImage(job);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.volumeId, volumeId);
    QCOMPARE(result.jolietVolumeId, jolietId);
    QStringList read;
    QMap<QString, time_t> times;
    readImage(job.imagePath, Tree::Iso9660, &read, &times);
    QCOMPARE(read, (QStringList{volumeId, volumeId})); // the volume set named as the volume
    QCOMPARE(jolietVolumeIdOf(job.imagePath), jolietId);
}

void TestDiscImage::isoNames_data()
{
    QTest::addColumn<QStringList>("names"); // made in the data folder; "/" ends a folder
    QTest::addColumn<QStringList>("isoNames"); // as readers without Joliet and Rock Ridge find them
    QTest::newRow("Polish letters as plain Latin ones")
        << QStringList{u"żółw.ico"_qs, u"narzędzia/źródło.txt"_qs, u"Łódź.txt"_qs, "readme.txt"}
        << QStringList{"LODZ.TXT", "NARZEDZIA", "NARZEDZIA/ZRODLO.TXT", "README.TXT", "ZOLW.ICO"};
    QTest::newRow("marks written separately; other characters as _")
        << QStringList{u"z\u0307o\u0301\u0142w.ico"_qs, u"a b-ß.txt"_qs} << QStringList{"A_B__.TXT", "ZOLW.ICO"};
    QTest::newRow("names alike numbered") << QStringList{"zolw.ico", u"żółw.ico"_qs, u"Łąka/"_qs, "laka/"}
                                            << QStringList{"LAKA0", "LAKA1", "ZOLW0.ICO", "ZOLW1.ICO"};
    // Z sorts before _: in their new order the records take a block more than the library gave.
    QStringList names, isoNames;
    for (int i = 0; i < 40; ++i) {
        names << (i % 2 ? u"ż"_qs : u"z"_qs) + QString(i % 23, u'a') + QString::number(i) + ".txt";
        isoNames << "Z" + QString(i % 23, u'A') + QString::number(i) + ".TXT";
    }
    QTest::newRow("a folder of many blocks in a new order") << names << isoNames;
}

void TestDiscImage::isoNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, isoNames);
    QTemporaryDir dir;
    QSet<QString> paths; // as Rock Ridge keeps them
    for (const QString &name : names) {
        QVERIFY(name.endsWith('/') ? QDir().mkpath(dir.filePath("dane/" + name)) : writeTestFile(dir.filePath("dane/" + name)));
        const QStringList steps = (name.endsWith('/') ? name.chopped(1) : name).split('/');
        for (qsizetype n = 1; n <= steps.size(); ++n)
            paths << steps.first(n).join('/');
    }
    const DiscImageResult result = writeDiscImage({dir.filePath("dane"), dir.filePath("obraz.iso"), u"Płyta Łódź"_qs});
    QVERIFY2(result.ok, qPrintable(result.error));
    QStringList volume;
    QMap<QString, time_t> iso, rockRidge;
    readImage(dir.filePath("obraz.iso"), Tree::Iso9660, &volume, &iso);
    QCOMPARE(volume, (QStringList{"PLYTA_LODZ", "PLYTA_LODZ"}));
    isoNames.sort();
    QCOMPARE(iso.keys(), isoNames);
    readImage(dir.filePath("obraz.iso"), Tree::RockRidge, &volume, &rockRidge);
    QStringList expected(paths.cbegin(), paths.cend());
    expected.sort();
    QCOMPARE(rockRidge.keys(), expected);
    const QByteArray image = readTestFile(dir.filePath("obraz.iso"));
    const char *root = image.constData() + 16 * 2048 + 156;
    QStringList folders;
    QVERIFY(readFolders(image, qFromLittleEndian<quint32>(root + 2), qFromLittleEndian<quint32>(root + 10), &folders));
    QStringList table = pathTableOf(image);
    folders.sort();
    table.sort();
    QCOMPARE(table, folders);
}

void TestDiscImage::refusedImageLeavesNothing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("image");
    QTest::newRow("image inside the data folder") << "dane" << "dane/obraz.iso";
    QTest::newRow("image in a subfolder of it") << "dane" << "dane/a/obraz.iso";
    QTest::newRow("missing data folder") << "brak" << "obraz.iso";
    QTest::newRow("missing target folder") << "dane" << "brak/obraz.iso";
}

void TestDiscImage::refusedImageLeavesNothing()
{
    QFETCH(QString, folder);
    QFETCH(QString, image);
    QTemporaryDir dir;
    writeTestFile(dir.filePath("dane/a/plik.txt"), "x");
    const DiscImageResult result = writeDiscImage({dir.filePath(folder), dir.filePath(image), {}});
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(image)));
    QCOMPARE(entriesOf(dir.filePath("dane/a")), QStringList{"plik.txt"});
}

void TestDiscImage::cancelLeavesNothing()
{
    TempDir dir;
    writeDataFolder(dir.filePath("dane"));
    QDir().mkdir(dir.filePath("wynik"));
    std::atomic_bool cancel{false};
    DiscImageJob job{dir.filePath("dane"), dir.filePath("wynik/obraz.iso"), {}};
    job.cancel = &cancel;
    job.progress = [&](int percent, const QString &) { cancel = cancel || percent >= 10; };
    const DiscImageResult result = writeDiscImage(job);
    QVERIFY(!result.ok);
    QVERIFY(result.cancelled);
    QCOMPARE(entriesOf(dir.filePath("wynik")), QStringList());
}

void TestDiscImage::fullDiskLeavesNothing()
{
    TempDir dir;
    writeDataFolder(dir.filePath("dane"));
    QDir().mkdir(dir.filePath("wynik"));
    DiscImageResult result;
    {
        const FileSizeLimit limit(1024 * 1024);
        result = writeDiscImage({dir.filePath("dane"), dir.filePath("wynik/obraz.iso"), {}});
    }
    QVERIFY(!result.ok);
    QVERIFY(!result.cancelled);
    QVERIFY2(result.error.contains("obraz.iso"), qPrintable(result.error));
    QCOMPARE(entriesOf(dir.filePath("wynik")), QStringList());
}

void TestDiscImage::changedFileIsNamed_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("kind");
    const int changed = int(DiscImageProblem::Kind::Changed);
    QTest::newRow("removed") << "z.txt" << "remove" << int(DiscImageProblem::Kind::Unreadable);
    QTest::newRow("shrunk") << "z.txt" << "shrink" << changed;
    QTest::newRow("grown") << "z.txt" << "grow" << changed;
    QTest::newRow("replaced by a link to a file outside") << "z.txt" << "link" << changed;
    QTest::newRow("shrunk while copied") << "a.bin" << "shrink" << changed;
    QTest::newRow("grown while copied") << "a.bin" << "grow" << changed;
    QTest::newRow("rewritten, its time put back") << "z.txt" << "rewrite" << changed;
}

void TestDiscImage::changedFileIsNamed()
{
    // Changed under the writer after the layout, as another program might.
    QFETCH(QString, file);
    QFETCH(QString, change);
    QFETCH(int, kind);
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("dane/a.bin"), QByteArray(8 << 20, 'a')) && writeTestFile(dir.filePath("dane/z.txt"), "0123456789"));
    QVERIFY(writeTestFile(dir.filePath("poza.txt"), "poza poza!"));
    QFile f(dir.filePath("dane/" + file));
    QVERIFY(f.open(QIODevice::ReadWrite)
            && f.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000), QFileDevice::FileModificationTime));
    f.close();
    DiscImageJob job{dir.filePath("dane"), dir.filePath("obraz.iso"), {}};
    job.progress = [&](int, const QString &current) {
        const QString now = current == QLatin1String("a.bin") ? std::exchange(change, QString()) : QString();
        if (now == "shrink" || now == "grow")
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(now == "grow" ? f.size() + 5000 : 3));
        else if (now == "rewrite") // the same size, and the time it had (whole seconds, as set below)
            QVERIFY(f.open(QIODevice::ReadWrite) && f.write("9876543210") == 10
                    && f.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000), QFileDevice::FileModificationTime));
        else if (!now.isEmpty())
            QVERIFY(f.remove() && (now != "link" || QFile::link(dir.filePath("poza.txt"), f.fileName())));
    };
    const DiscImageResult result = writeDiscImage(job);
    QCOMPARE(int(result.problem.kind), kind);
    QCOMPARE(result.problem.subject, file);
    QCOMPARE(entriesOf(dir.path()), (QStringList{"dane", "poza.txt"}));
}

void TestDiscImage::folderThatCannotBeTakenIsNamed_data()
{
    QTest::addColumn<QString>("locked"); // made unreadable; "-": none
    QTest::addColumn<QString>("subject"); // empty: the data folder as given
    QTest::addColumn<int>("kind");
    QTest::newRow("a folder in it unreadable") << "a" << "a" << int(DiscImageProblem::Kind::UnreadableFolder);
    QTest::newRow("the data folder unreadable") << "" << "" << int(DiscImageProblem::Kind::UnreadableFolder);
    QTest::newRow("two names alike once decoded") << "-" << u"café.txt"_qs << int(DiscImageProblem::Kind::CannotAdd);
}

void TestDiscImage::folderThatCannotBeTakenIsNamed()
{
    // Root reads any folder, so the writer runs as nobody.
    QFETCH(QString, locked);
    QFETCH(QString, subject);
    QFETCH(int, kind);
    TempDir dir;
    QVERIFY(writeTestFile(dir.filePath("dane/a/plik.txt")) && writeTestFile(dir.filePath(u"dane/café.txt"_qs)));
    writeRawFile(QFile::encodeName(dir.filePath("dane")) + "/caf\xe9.txt");
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    QFile::setPermissions(dir.filePath("dane/" + locked), {});
    const bool root = ::geteuid() == 0;
    QVERIFY(!root || (::setegid(65534) == 0 && ::seteuid(65534) == 0));
    const DiscImageResult result = writeDiscImage({dir.filePath("dane"), dir.filePath("obraz.iso"), {}});
    QVERIFY(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
    QFile::setPermissions(dir.filePath("dane/" + locked), QFileDevice::Permissions(0x7777));
    QCOMPARE(int(result.problem.kind), kind);
    QCOMPARE(result.problem.subject, subject.isEmpty() ? dir.filePath("dane") : subject);
    QCOMPARE(entriesOf(dir.path()), QStringList{"dane"});
}

void TestDiscImage::linksShowNothingOutside_data()
{
    // In dest "@" stands for the data folder, "~" for the folder holding it.
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("kept"); // empty: left out
    QTest::newRow("absolute, inside: made relative") << "@/b" << "../b";
    QTest::newRow("absolute, outside: left out") << "~/poza" << "";
    QTest::newRow("relative, leading out: left out") << "../../poza" << "";
}

void TestDiscImage::linksShowNothingOutside()
{
    QFETCH(QString, dest);
    QFETCH(QString, kept);
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("dane/a")) && QDir().mkpath(dir.filePath("dane/b")) && QDir().mkpath(dir.filePath("poza")));
    QVERIFY(QFile::link(dest.replace('@', dir.filePath("dane")).replace('~', dir.path()), dir.filePath("dane/a/l")));
    const DiscImageResult result = writeDiscImage({dir.filePath("dane"), dir.filePath("obraz.iso"), {}});
    QCOMPARE(result.skipped, kept.isEmpty() ? QStringList{"a/l"} : QStringList());
    QStringList volume;
    QMap<QString, time_t> times;
    QCOMPARE(readImage(dir.filePath("obraz.iso"), Tree::RockRidge, &volume, &times).value("a/l"), kept.isEmpty() ? "" : "-> " + kept.toUtf8());
}

void TestDiscImage::imagePathIsTheNameItself_data()
{
    QTest::addColumn<QString>("linkTo");
    QTest::newRow("a link to someone's file") << "ofiara.txt";
    QTest::newRow("a link into the data folder") << "dane/obraz.iso";
}

void TestDiscImage::imagePathIsTheNameItself()
{
    QFETCH(QString, linkTo);
    QTemporaryDir dir;
    QVERIFY(writeTestFile(dir.filePath("dane/plik.txt"), "x") && writeTestFile(dir.filePath("ofiara.txt"), "ofiara"));
    QVERIFY(QFile::link(dir.filePath(linkTo), dir.filePath("obraz.iso")));
    const DiscImageResult result = writeDiscImage({dir.filePath("dane"), dir.filePath("obraz.iso"), {}});
    QVERIFY(result.ok && !QFileInfo(dir.filePath("obraz.iso")).isSymLink());
    QCOMPARE(readTestFile(dir.filePath("ofiara.txt")), QByteArray("ofiara"));
    QCOMPARE(entriesOf(dir.filePath("dane")), QStringList{"plik.txt"});
}

// The disc check names the files of the image as Windows will read them and gives its size
// without writing it: both must be what the image holds.
void TestDiscImage::theCheckSeesTheImage()
{
    const QStringList paths{"pytanie?.exe", QString(110, 'd') + ".exe", QString(120, 'k'), u"emoji\U0001F600.txt"_qs,
                            "a*b:c;d.txt", "bez rozszerzenia", u"Żółw.ico"_qs, "x<y>.txt", "kropka.",
                            "co?/w:środku.txt", QString(105, 'f') + "/plik.txt"};
    QTemporaryDir dir;
    for (const QString &path : paths)
        QVERIFY(writeTestFile(dir.filePath("dane/" + path), path.toUtf8()));
    QStringList expected;
    for (const QString &path : paths) {
        const QStringList parts = path.split('/');
        QStringList named;
        for (qsizetype i = 0; i < parts.size(); ++i)
            named << jolietName(parts[i], i + 1 < parts.size());
        expected << named.join('/');
    }
    expected.sort();
    const DiscImageJob job{dir.filePath("dane"), dir.filePath("obraz.iso"), {}};
    const DiscImagePlan plan = planDiscImage(job);
    const DiscImageResult result = writeDiscImage(job);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(plan.bytes, result.bytes);
    QStringList volume;
    QMap<QString, time_t> times;
    QStringList onDisc = readImage(job.imagePath, Tree::Joliet, &volume, &times).keys();
    onDisc.sort();
    QCOMPARE(onDisc, expected);
}

void TestDiscImage::fileOverFourGiB()
{
    // Sparse, with marks at both ends and past 4 GiB, where one extent of ISO 9660 ends.
    constexpr qint64 size = (4LL << 30) + 5 * 1024 * 1024;
    const QList<QPair<qint64, QByteArray>> marks{{100, "POCZĄTEK"}, {(4LL << 30) + 123, "ZA 4 GIB"}, {size - 6, "KONIEC"}};
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("dane")));
    {
        QFile big(dir.filePath("dane/duży.bin"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(size));
        for (const auto &mark : marks)
            QVERIFY(big.seek(mark.first) && big.write(mark.second) == mark.second.size());
    }
    const DiscImageResult result = writeDiscImage({dir.filePath("dane"), dir.filePath("obraz.iso"), {}});
    QVERIFY2(result.ok, qPrintable(result.error));
    QFile::remove(dir.filePath("dane/duży.bin")); // room on the disk for nothing but the image

    IsoDataSource *source = nullptr;
    IsoReadOpts *opts = nullptr;
    IsoImage *image = nullptr;
    IsoReadImageFeatures *features = nullptr;
    QVERIFY(iso_data_source_new_from_file(QFile::encodeName(dir.filePath("obraz.iso")).constData(), &source) >= 0);
    iso_read_opts_new(&opts, 0);
    iso_image_new("read", &image);
    QVERIFY(iso_image_import(image, source, opts, &features) >= 0);
    IsoNode *node = nullptr;
    QVERIFY(iso_tree_path_to_node(image, "/duży.bin", &node) == 1 && ISO_NODE_IS_FILE(node));
    IsoStream *stream = iso_file_get_stream(reinterpret_cast<IsoFile *>(node));
    QCOMPARE(qint64(iso_stream_get_size(stream)), size);
    // Read through once, keeping only the bytes under the marks.
    QList<QByteArray> found(marks.size());
    QVERIFY(iso_stream_open(stream) >= 0);
    QByteArray buf(1 << 20, Qt::Uninitialized);
    qint64 at = 0;
    int n;
    while ((n = iso_stream_read(stream, buf.data(), size_t(buf.size()))) > 0) {
        for (int i = 0; i < marks.size(); ++i) {
            const qint64 from = qMax(at, marks[i].first), to = qMin(at + n, marks[i].first + marks[i].second.size());
            if (from < to)
                found[i] += buf.mid(from - at, to - from);
        }
        at += n;
    }
    iso_stream_close(stream);
    iso_read_image_features_destroy(features);
    iso_image_unref(image);
    iso_read_opts_free(opts);
    iso_data_source_unref(source);
    QCOMPARE(at, size);
    for (int i = 0; i < marks.size(); ++i)
        QCOMPARE(found[i], marks[i].second);
}

QTEST_GUILESS_MAIN(TestDiscImage)
#include "tst_discimage.moc"
