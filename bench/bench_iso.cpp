// Makes the disc image of a 1 GiB folder of random data and, for comparison, copies the same
// files into one file with cat; prints the best of three of each and their ratio (the goal:
// at most 1.5).
// Usage: bench_iso [FOLDER_FOR_TEMPORARY_FILES]

#include "core/DiscImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int bigFiles = 60;
constexpr qint64 bigSize = 16 * 1024 * 1024;
constexpr int smallFiles = 4000; // 4000 x 16 KiB = 64 MiB, for a 1 GiB folder in all
constexpr qint64 smallSize = 16 * 1024;

bool writeRandom(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(int(qMin<qint64>(size, 1024 * 1024)), Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= chunk.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

double seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

// cat into one file, flushed to the disk as the image is when it is renamed into place.
double catTime(const QStringList &files, const QString &out)
{
    ::sync(); // the last run's removed file must not be written back while this one runs
    QElapsedTimer timer;
    timer.start();
    QProcess cat;
    cat.setStandardOutputFile(out);
    cat.start(QStringLiteral("cat"), files);
    cat.waitForFinished(-1);
    const int fd = ::open(QFile::encodeName(out).constData(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
    const double time = seconds(timer);
    QFile::remove(out);
    return time;
}

double imageTime(const QString &data, const QString &out, DiscImageResult *result)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    *result = writeDiscImage({data, out, {}});
    const double time = seconds(timer);
    QFile::remove(out);
    return time;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench_iso-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/bench_iso-XXXXXX"));
    const QString data = dir.filePath(QStringLiteral("dane"));
    QStringList files;
    for (int i = 0; i < bigFiles; ++i)
        files << data + QStringLiteral("/duże/plik %1.bin").arg(i);
    for (int i = 0; i < smallFiles; ++i)
        files << data + QStringLiteral("/małe/%1/plik %2.dat").arg(i / 100).arg(i);
    for (const QString &file : files) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!writeRandom(file, file.endsWith(QLatin1String(".bin")) ? bigSize : smallSize)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    ::sync(); // the folder's own writing must not slow down what is measured

    // The best of three each, taken in turns, so that both meet the same page cache.
    double cat = 1e9, image = 1e9;
    DiscImageResult result;
    for (int round = 0; round < 3 && result.error.isEmpty(); ++round) {
        cat = qMin(cat, catTime(files, dir.filePath(QStringLiteral("cat.out"))));
        image = qMin(image, imageTime(data, dir.filePath(QStringLiteral("obraz.iso")), &result));
    }
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("%d files, image %lld bytes\ncat: %.2f s\nimage: %.2f s\nratio: %.2f\n", result.files,
                result.bytes, cat, image, image / cat);
    return 0;
}
