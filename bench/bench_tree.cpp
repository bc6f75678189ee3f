// Lists a folder of many files (20,000 by default) in the folder tree and, for scale, with a
// plain QDir listing of the same folder. Usage: bench_tree [FILES]   (run offscreen)

#include "widgets/TdfsSystemTreeView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    const char *suffixes[] = {".txt", ".exe", ".dll", ".ico", ".html", ""};
    for (int i = 0; i < files; ++i) {
        QFile f(dir.filePath(QStringLiteral("plik%1%2").arg(i).arg(QLatin1String(suffixes[i % 6]))));
        f.open(QIODevice::WriteOnly);
    }
    for (int i = 0; i < 20; ++i)
        QDir(dir.path()).mkdir(QStringLiteral("folder%1").arg(i));

    std::vector<double> unsorted, plain, tree;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        (void)QDir(dir.path()).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
        unsorted.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        const QFileInfoList list = QDir(dir.path()).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        plain.push_back(timer.nsecsElapsed() / 1e6);

        TdfsSystemTreeView view;
        view.resize(233, 241);
        timer.restart();
        view.setCustomDir(dir.path() + QLatin1Char('/'));
        tree.push_back(timer.nsecsElapsed() / 1e6);
        if (run == 0)
            std::printf("%lld entries listed by QDir, %d by the tree\n", qlonglong(list.size()),
                        view.topLevelItem(0)->childCount());
    }
    std::printf("folder of %d files and 20 folders, median of 7 runs:\n", files);
    std::printf("  plain QDir listing, unsorted:        %8.1f ms\n", median(unsorted));
    std::printf("  plain QDir listing, sorted by name:  %8.1f ms\n", median(plain));
    std::printf("  tree, root opened:                   %8.1f ms  (%.2f x unsorted, %.2f x sorted)\n",
                median(tree), median(tree) / median(unsorted), median(tree) / median(plain));
    return 0;
}
