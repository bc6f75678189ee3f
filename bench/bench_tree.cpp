// The folder tree on a folder of many files (20,000 and 100,000 files, and 20 folders), against
// a plain QDir listing of the same folder measured in the same run:
// - listing: the tree with its root opened, against the QDir listing sorted by name;
// - memory: the heap the shown tree holds per entry, against the sorted QFileInfoList's, and
//   the resident memory each adds (after malloc_trim), which is what the system counts;
// - create / remove: from writing autorun.inf into the shown folder and telling the tree (as
//   Create does) or removing it, until the entry is in or out and the view is laid out again;
//   notices: what the folder's change notices that follow cost beyond 30 ms of waiting for them;
// - filter on / off: "programs only" switched on and off in the shown tree.
// Times are medians. Usage: bench_tree [FILES...]   (run offscreen)

#include "Timing.h"
#include "core/AtomicFile.h"
#include "widgets/FolderTree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

double heapInUse()
{
    return double(mallinfo2().uordblks);
}

// The process's resident memory once the allocator has given back what it can: what the
// system counts against the program, fragments and mapped blocks included.
double residentBytes()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
}

// Lets the change notices that are on their way arrive and be handled.
void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Makes the change, then waits until the root of the tree has gained (or lost) the entry named
// name, whether the tree takes the change in at once (told of it) or on the folder's notice, and
// lets the view lay itself out. The rows are watched from before the change, so that nothing
// is looked for among them: a scan of a million rows would be the figure.
template <typename Change>
void changeAndWait(FolderTree &view, const QString &name, bool present, Change &&change)
{
    QAbstractItemModel *model = view.model();
    const QModelIndex root = model->index(0, 0);
    QEventLoop loop;
    bool seen = false;
    const auto check = [&](const QModelIndex &parent, int first, int last) {
        if (parent != root)
            return;
        for (int row = first; row <= last; ++row) {
            if (model->index(row, 0, root).data().toString() == name) {
                seen = true;
                loop.quit();
            }
        }
    };
    const QMetaObject::Connection connection =
        present ? QObject::connect(model, &QAbstractItemModel::rowsInserted, &loop, check)
                : QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, &loop, check);
    change();
    if (!seen)
        loop.exec();
    QObject::disconnect(connection);
    QCoreApplication::processEvents();
}

void measure(int files)
{
    QTemporaryDir dir;
    const char *suffixes[] = {".txt", ".exe", ".dll", ".ico", ".html", ""};
    for (int i = 0; i < files; ++i) {
        QFile f(dir.filePath(QStringLiteral("plik%1%2").arg(i).arg(QLatin1String(suffixes[i % 6]))));
        f.open(QIODevice::WriteOnly);
    }
    for (int i = 0; i < 20; ++i)
        QDir(dir.path()).mkdir(QStringLiteral("folder%1").arg(i));
    const QString folder = dir.path() + QLatin1Char('/');

    std::vector<double> sorted, tree;
    for (int run = 0; run < 5; ++run) {
        sorted.push_back(millisOf([&] { (void)QDir(dir.path()).entryInfoList(everything, QDir::Name); }));
        FolderTree view;
        view.resize(233, 241);
        tree.push_back(millisOf([&] { view.setRootFolder(folder); }));
    }

    double listRss = residentBytes();
    double listBytes = heapInUse();
    QFileInfoList list = QDir(dir.path()).entryInfoList(everything, QDir::Name);
    for (QFileInfo &info : list)
        (void)info.isDir(); // as a listing is used: each entry's kind looked at
    listBytes = (heapInUse() - listBytes) / double(list.size());
    listRss = (residentBytes() - listRss) / double(list.size());
    list.clear();

    double treeRss = residentBytes();
    double treeBytes = heapInUse();
    auto view = std::make_unique<FolderTree>();
    view->resize(233, 241);
    view->setReadDelay(0);
    view->setRootFolder(folder);
    view->show();
    QCoreApplication::processEvents();
    const int entries = view->topLevelItem(0)->childCount();
    treeBytes = (heapInUse() - treeBytes) / double(entries);
    treeRss = (residentBytes() - treeRss) / double(entries);

    view->select(folder + QStringLiteral("plik1.exe"));
    QCoreApplication::processEvents();
    std::vector<double> created, removed, notices, filterOn, filterOff;
    const QString autorun = folder + QStringLiteral("autorun.inf");
    for (int run = 0; run < 7; ++run) {
        // As the window does: the file written, then the tree told which entry changed.
        created.push_back(millisOf([&] {
            changeAndWait(*view, QStringLiteral("autorun.inf"), true, [&] {
                writeFileAtomically(autorun, "[autorun]\r\nopen=plik1.exe\r\n");
                view->entryChanged(autorun);
            });
        }));
        // The folder's change notices, which find the folder as the program left it.
        notices.push_back(millisOf([&] { settle(); }));
        removed.push_back(millisOf([&] {
            changeAndWait(*view, QStringLiteral("autorun.inf"), false, [&] {
                QFile::remove(autorun);
                view->entryChanged(autorun);
            });
        }));
        settle();
    }
    for (int run = 0; run < 5; ++run) {
        filterOn.push_back(millisOf([&] {
            view->setFileMask(QStringLiteral("*.exe"));
            QCoreApplication::processEvents();
        }));
        filterOff.push_back(millisOf([&] {
            view->setFileMask(QString());
            QCoreApplication::processEvents();
        }));
    }
    std::printf("%7d  %8.1f ms %8.1f ms %8.2fx  %7.0f B %7.0f B  %7.0f B %7.0f B  %8.1f ms %8.1f ms %8.1f ms  %8.1f ms %8.1f ms\n",
                files, median(sorted), median(tree), median(tree) / median(sorted), listBytes, treeBytes, listRss,
                treeRss, median(created), median(removed), median(notices) - 30, median(filterOn), median(filterOff));
    std::fflush(stdout);
    if (entries != files + 20)
        std::printf("         (the tree lists %d entries, not %d)\n", entries, files + 20);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {20000, 100000};
    std::printf("A folder of FILES files and 20 folders. QDir: its listing sorted by name, the baseline;\n"
                "heap: bytes held per entry by the QDir listing and by the shown tree; RSS: the resident\n"
                "memory they add per entry, after malloc_trim; times are medians.\n");
    std::printf("%7s  %11s %11s %9s  %9s %9s  %9s %9s  %11s %11s %11s  %11s %11s\n", "files", "QDir", "tree",
                "tree/QDir", "QDir heap", "tree heap", "QDir RSS", "tree RSS", "create", "remove", "notices",
                "filter on", "filter off");
    for (const int files : sizes)
        measure(files);
    return 0;
}
