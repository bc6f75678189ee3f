// pelmora-cli on profile files built to be costly, as whole processes: `ini` on a section of
// many keys out of order beside the same keys in order, and `read` of a file of millions of
// empty sections beside the file's size. Prints medians of time and of peak memory (RSS).
// Usage: bench_ini [KEYS] [RUNS]

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char **environ;

namespace {

struct Cost
{
    double millis = 0;
    double megabytes = 0; // peak resident memory
};

// One run of pelmora-cli with args, its output thrown away.
Cost runOnce(const QStringList &args)
{
    QList<QByteArray> bytes{QByteArray(PELMORA_CLI)};
    for (const QString &a : args)
        bytes << a.toLocal8Bit();
    QList<char *> argv;
    for (QByteArray &b : bytes)
        argv << b.data();
    argv << nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    Cost cost;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        clock_gettime(CLOCK_MONOTONIC, &end);
        cost.millis = double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
        cost.megabytes = double(usage.ru_maxrss) / 1024;
    }
    posix_spawn_file_actions_destroy(&actions);
    return cost;
}

Cost median(const QStringList &args, int runs)
{
    QList<double> times, memory;
    for (int i = 0; i < runs; ++i) {
        const Cost c = runOnce(args);
        times << c.millis;
        memory << c.megabytes;
    }
    std::sort(times.begin(), times.end());
    std::sort(memory.begin(), memory.end());
    return {times[times.size() / 2], memory[memory.size() / 2]};
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    const int keys = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;

    QList<int> order(keys);
    for (int i = 0; i < keys; ++i)
        order[i] = i;
    QByteArray sorted = "[autorun]\r\n";
    for (const int i : order)
        sorted += "k" + QByteArray::number(1000000 + i) + "=v" + QByteArray::number(i) + "\r\n";
    std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
    QByteArray shuffled = "[autorun]\r\n";
    for (const int i : order)
        shuffled += "k" + QByteArray::number(1000000 + i) + "=v" + QByteArray::number(i) + "\r\n";
    write(dir.filePath("sorted.ini"), sorted);
    write(dir.filePath("shuffled.ini"), shuffled);
    const Cost inOrder = median({"ini", dir.filePath("sorted.ini"), "autorun"}, runs);
    const Cost outOfOrder = median({"ini", dir.filePath("shuffled.ini"), "autorun"}, runs);
    std::printf("ini, %d keys: in order %.0f ms %.0f MB, out of order %.0f ms %.0f MB (%.2fx the time)\n", keys,
                inOrder.millis, inOrder.megabytes, outOfOrder.millis, outOfOrder.megabytes,
                outOfOrder.millis / inOrder.millis);

    // Just under the size limit: millions of sections without a key, the menu section last.
    QByteArray sections;
    sections.reserve(64 << 20);
    for (int n = 0; sections.size() < (64 << 20) - 64; ++n)
        sections += "[s" + QByteArray::number(n) + "]\r\n";
    sections += "[autorun]\r\nopen=a.exe\r\n";
    sections.truncate(64 << 20);
    QFile::remove(dir.filePath("autorun.inf"));
    write(dir.filePath("autorun.inf"), sections);
    const Cost read = median({"read", dir.path()}, std::max(1, runs / 5));
    std::printf("read, %lld sections in %.0f MB: %.0f ms, %.0f MB (%.1fx the file's size)\n",
                qlonglong(sections.count('[')), double(sections.size()) / (1 << 20), read.millis, read.megabytes,
                read.megabytes / (double(sections.size()) / (1 << 20)));
    return 0;
}
