#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "core/DiscImage.h"

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

void collect(IsoDir *dir, const QString &prefix, FileMap *files, QMap<QString, time_t> *times)
{
    IsoDirIter *iter = nullptr;
    iso_dir_get_children(dir, &iter);
    IsoNode *node;
    while (iso_dir_iter_next(iter, &node) == 1) {
        const QString path = prefix + QString::fromUtf8(iso_node_get_name(node));
        (*times)[path] = iso_node_get_mtime(node);
        if (ISO_NODE_IS_DIR(node))
            collect(reinterpret_cast<IsoDir *>(node), path + '/', files, times);
        else if (ISO_NODE_IS_FILE(node))
            (*files)[path] = contentOf(reinterpret_cast<IsoFile *>(node));
        else if (ISO_NODE_IS_SYMLINK(node))
            (*files)[path] = "-> " + QByteArray(iso_symlink_get_dest(reinterpret_cast<IsoSymlink *>(node)));
    }
    iso_dir_iter_free(iter);
}

// Reads the image with the library's own reader, through the Rock Ridge or the Joliet tree.
FileMap readImage(const QString &path, bool joliet, QString *volumeId, QMap<QString, time_t> *times)
{
    IsoDataSource *source = nullptr;
    IsoReadOpts *opts = nullptr;
    IsoImage *image = nullptr;
    IsoReadImageFeatures *features = nullptr;
    FileMap files;
    if (iso_data_source_new_from_file(QFile::encodeName(path).constData(), &source) < 0)
        return files;
    iso_read_opts_new(&opts, 0);
    iso_read_opts_set_no_rockridge(opts, joliet);
    iso_read_opts_set_preferjoliet(opts, joliet);
    iso_image_new("read", &image);
    if (iso_image_import(image, source, opts, &features) >= 0) {
        *volumeId = QString::fromLatin1(iso_image_get_volume_id(image));
        collect(iso_image_get_root(image), QString(), &files, times);
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
    DiscImageJob job{dir.filePath("dane"), dir.filePath("obraz.iso"), QStringLiteral("Płyta")};
    QStringList progressFiles;
    job.progress = [&](int, const QString &file) { progressFiles << file; };
    const DiscImageResult result = writeDiscImage(job);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.files, expected.size());
    QCOMPARE(result.bytes, QFileInfo(job.imagePath).size());
    QVERIFY(progressFiles.contains("duży.bin"));

    QString volumeId;
    QMap<QString, time_t> times;
    const FileMap read = readImage(job.imagePath, joliet, &volumeId, &times);
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
    QString read;
    QMap<QString, time_t> times;
    readImage(job.imagePath, false, &read, &times);
    QCOMPARE(read, volumeId);
    QCOMPARE(jolietVolumeIdOf(job.imagePath), jolietId);
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
    DiscImageJob job{dir.filePath("dane"), dir.filePath("obraz.iso"), {}};
    job.progress = [&](int, const QString &current) {
        const QString now = current == QLatin1String("a.bin") ? std::exchange(change, QString()) : QString();
        if (now == "shrink" || now == "grow")
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(now == "grow" ? f.size() + 5000 : 3));
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
    QString volumeId;
    QMap<QString, time_t> times;
    QCOMPARE(readImage(dir.filePath("obraz.iso"), false, &volumeId, &times).value("a/l"), kept.isEmpty() ? "" : "-> " + kept.toUtf8());
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
