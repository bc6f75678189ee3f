// Makes the disc image of a 1 GiB folder of random data and, for comparison, copies the same
// files into one file with cat, and makes the image of the same folder with xorriso (followed
// by sync, as the image is flushed to the disk); prints the medians of five of each and the
// ratios (the goals: at most 1.5 against cat, at most 1.1 against xorriso). Two folders: large
// and small files mixed, and 10,000 files of 100 KB.
// Usage: bench_iso [FOLDER_FOR_TEMPORARY_FILES [MIB]]   (MIB: a smaller folder, default 1024)

#include "Timing.h"
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

// Writes the files (path, size) under data, then times cat, xorriso and the image in turns,
// so that all meet the same page cache; prints the medians and their ratios.
int measure(const char *name, const QTemporaryDir &dir, const QString &data,
            const QList<std::pair<QString, qint64>> &files, const QString &xorriso, int rounds)
{
    QStringList paths;
    for (const auto &[file, size] : files) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!writeRandom(file, size)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        paths << file;
    }
    ::sync(); // the folder's own writing must not slow down what is measured
    QList<double> cat, image, peer;
    DiscImageResult result;
    for (int round = 0; round < rounds; ++round) {
        cat << catTime(paths, dir.filePath(QStringLiteral("cat.out")));
        if (!xorriso.isEmpty()) {
            const double time = xorrisoTime(xorriso, data, dir.filePath(QStringLiteral("xorriso.iso")));
            if (time < 0) {
                std::fprintf(stderr, "xorriso failed\n");
                return 1;
            }
            peer << time;
        }
        image << imageTime(data, dir.filePath(QStringLiteral("obraz.iso")), &result);
        if (!result.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error));
            return 1;
        }
    }
    std::printf("%s: %d files, image %lld bytes (medians of %d)\n  cat: %.2f s  image: %.2f s  ratio %.2f\n", name,
                result.files, result.bytes, rounds, median(cat), median(image), median(image) / median(cat));
    if (!xorriso.isEmpty())
        std::printf("  xorriso: %.2f s  ratio to xorriso: %.2f\n", median(peer), median(image) / median(peer));
    std::fflush(stdout);
    QDir(data).removeRecursively();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench_iso-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/bench_iso-XXXXXX"));
    const QString data = dir.filePath(QStringLiteral("dane"));
    const int mib = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1024;
    const QString xorriso = QStandardPaths::findExecutable(QStringLiteral("xorriso"));
    if (xorriso.isEmpty())
        std::printf("xorriso not installed\n");

    // Large files and small ones, as a disc of programs and data holds them.
    QList<std::pair<QString, qint64>> mixed;
    for (int i = 0; i < std::max(1, bigFilesPerGiB * mib / 1024); ++i)
        mixed.append({data + QStringLiteral("/duże/plik %1.bin").arg(i), bigSize});
    for (int i = 0; i < std::max(1, smallFilesPerGiB * mib / 1024); ++i)
        mixed.append({data + QStringLiteral("/małe/%1/plik %2.dat").arg(i / 100).arg(i), smallSize});
    if (const int failed = measure("large and small files", dir, data, mixed, xorriso, 5))
        return failed;

    // Many files of one size, where the cost per file shows: 10,000 x 100 KB for 1 GiB.
    QList<std::pair<QString, qint64>> many;
    for (int i = 0; i < std::max(1, 10000 * mib / 1024); ++i)
        many.append({data + QStringLiteral("/pliki/%1/plik %2.dat").arg(i / 500).arg(i), 100 * 1000});
    return measure("10,000 files of 100 KB", dir, data, many, xorriso, 5);
}
