// Times the auto-start panel's search of a large folder (100,000 files in 2,000 folders, half
// of them programs, libraries and icons) against one plain walk of the same tree: `find DIR
// -type f` and the same walk in this process. Then times opening the panel, whose lists take
// every hit, to show the cost of filling them on top of the search. `pelmora-cli scan` of the
// tree, a process like find, is timed beside find as well. Every figure is a median of eleven runs.
// Usage: bench_scan [FILES]   (default 100,000; run offscreen)

#include "Controls.h"
#include "Timing.h"
#include "NoMessages.h"

#include "app/MainWindow.h"
#include "core/FileSearch.h"
#include "widgets/FolderEdit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// What `find DIR -type f` does: every folder listed once, every regular file counted.
qint64 plainWalk(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    qint64 files = 0;
    QList<QByteArray> subfolders;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_DIR)
            subfolders << folder + name + '/';
        else if (entry->d_type == DT_REG)
            ++files;
    }
    ::closedir(dir);
    for (const QByteArray &sub : subfolders)
        files += plainWalk(sub);
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int folders = std::max(1, files / 50);
    PrivateSettings settings;
    QTemporaryDir data;
    const QString root = data.path() + QLatin1Char('/');
    static const char *const kinds[] = {".exe", ".dll", ".txt", ".ico", ".dat", ".icl", ".jpg", ".exe"};
    for (int f = 0; f < folders; ++f) {
        const QString folder = root + QStringLiteral("grupa%1/folder%2/").arg(f % 40).arg(f);
        QDir().mkpath(folder);
        for (int i = 0; i < files / folders; ++i)
            QFile(folder + QStringLiteral("plik%1%2").arg(i).arg(QLatin1String(kinds[i % 8])))
                .open(QIODevice::WriteOnly);
    }

    qsizetype hits = 0;
    const double search = medianMillis(11, [&] {
        hits = 0;
        for (const QStringList &list : collectFilesByMasks(root, autoStartMasks()))
            hits += list.size();
    });
    qint64 walked = 0;
    const double walk = medianMillis(11, [&] { walked = plainWalk(QFile::encodeName(root)); });
    const double find =
        medianMillis(11, [&] { runToEnd(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")}); });
    std::printf("panel search: files=%lld folders=%d hits=%lld search_ms=%.1f find_ms=%.1f walk_ms=%.1f "
                "ratio_find=%.2f ratio_walk=%.2f\n",
                qlonglong(walked), folders, qlonglong(hits), search, find, walk, search / find, search / walk);
    const double cli = medianMillis(11, [&] { runToEnd(QStringLiteral(PELMORA_CLI), {QStringLiteral("scan"), root}); });
    std::printf("pelmora-cli scan: files=%lld hits=%lld cli_ms=%.1f find_ms=%.1f ratio_find=%.2f\n",
                qlonglong(walked), qlonglong(hits), cli, find, cli / find);
    std::fflush(stdout);

    SilentWindows silent;
    MainWindow &form = *silent.windows.main;
    form.show();
    named<FolderEdit>(form, "de_Folder")->setFolder(root);
    // The opening in turns with the bare walk, so that both meet the machine in the same state.
    QList<double> opens, walks;
    for (int run = 0; run < 11; ++run) {
        walks << millisOf([&] { plainWalk(QFile::encodeName(root)); });
        opens << millisOf([&] {
            named<QToolButton>(form, "sb_AutoRun")->click();
            QApplication::processEvents();
            named<QPushButton>(form, "sb_Auto_NO")->click();
        });
    }
    const double open = median(opens);
    const double openWalk = median(walks);
    std::printf("panel open: hits=%lld open_ms=%.1f walk_ms=%.1f ratio_walk=%.2f fill_ms=%.1f (open minus search)\n",
                qlonglong(hits), open, openWalk, open / openWalk, open - search);
    return 0;
}
