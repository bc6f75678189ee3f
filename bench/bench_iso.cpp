// Makes the disc image of a 1 GiB folder of random data and, for comparison, copies the same
// files into one file with cat, and makes the image of the same folder with xorriso (followed
// by sync, as the image is flushed to the disk); prints the best of three of each and the
// ratios (the goals: at most 1.5 against cat, at most 1.1 against xorriso).
// Usage: bench_iso [FOLDER_FOR_TEMPORARY_FILES [MIB]]   (MIB: a smaller folder, default 1024)

#include "core/DiscImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

// For a 1 GiB folder: 60 x 16 MiB and 4000 x 16 KiB (64 MiB); a smaller one keeps the mix.
constexpr int bigFilesPerGiB = 60;
constexpr qint64 bigSize = 16 * 1024 * 1024;
constexpr int smallFilesPerGiB = 4000;
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

// The peer's image of the same folder with Joliet and Rock Ridge names, then sync.
double xorrisoTime(const QString &xorriso, const QString &data, const QString &out)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(xorriso,
                  {QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-J"),
                   QStringLiteral("-joliet-long"), QStringLiteral("-R"), QStringLiteral("-o"), out, data});
    process.waitForFinished(-1);
    ::sync();
    const double time = seconds(timer);
    const bool made = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    QFile::remove(out);
    return made ? time : -1;
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
    const int mib = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1024;
    const int bigFiles = std::max(1, bigFilesPerGiB * mib / 1024);
    const int smallFiles = std::max(1, smallFilesPerGiB * mib / 1024);
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

    const QString xorriso = QStandardPaths::findExecutable(QStringLiteral("xorriso"));
    if (xorriso.isEmpty())
        std::printf("xorriso not installed\n");

    // The best of three each, taken in turns, so that all meet the same page cache.
    double cat = 1e9, image = 1e9, peer = 1e9;
    DiscImageResult result;
    for (int round = 0; round < 3 && result.error.isEmpty(); ++round) {
        cat = qMin(cat, catTime(files, dir.filePath(QStringLiteral("cat.out"))));
        if (!xorriso.isEmpty()) {
            const double time = xorrisoTime(xorriso, data, dir.filePath(QStringLiteral("xorriso.iso")));
            if (time < 0) {
                std::fprintf(stderr, "xorriso failed\n");
                return 1;
            }
            peer = qMin(peer, time);
        }
        image = qMin(image, imageTime(data, dir.filePath(QStringLiteral("obraz.iso")), &result));
    }
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("%d files, image %lld bytes\ncat: %.2f s\nimage: %.2f s\nratio: %.2f\n", result.files,
                result.bytes, cat, image, image / cat);
    if (!xorriso.isEmpty())
        std::printf("xorriso: %.2f s\nratio to xorriso: %.2f\n", peer, image / peer);
    return 0;
}
