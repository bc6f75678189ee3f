// Writes a starting corpus for the fuzz targets of the executable and icon readers: programs
// and libraries of every kind with icons in several languages and a version, and icon files.

#include "IconFixtures.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace ExecutableWriter;
using namespace IconFixtures;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: fuzz_seeds FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QByteArray ico = icoFile({bmpImage(16, 4, Qt::red), bmpImage(32, 8, Qt::green),
                                    bmpImage(32, 32, Qt::blue)});
    VersionContent version;
    version.translations = {{0x0415, 0x04E2}};
    version.tables = {{"041504e2", {{"FileDescription", "Kreator"}, {"CompanyName", "Q"}}}};
    QList<ResourceEntry> resources = iconResources(ico, 1, 1)
                                     + iconResources(icoFile({pngImage(48, Qt::cyan)}), 2, 10, 0x0415)
                                     + iconResources(icoFile({bmpImage(16, 1, Qt::gray)}), 2, 20);
    resources.append({16, 1, 0x0415, versionBlock(version, true), {}});
    QList<ResourceEntry> sixteenBit = iconResources(ico, 1, 1);
    sixteenBit.append({16, 1, 0, versionBlock(version, false), {}});

    const bool written = writeTestFile(folder.filePath("pe32.exe"), writePe(false, false, resources))
                         && writeTestFile(folder.filePath("pe64.dll"), writePe(true, true, resources))
                         && writeTestFile(folder.filePath("ne.exe"), writeNe(false, sixteenBit))
                         && writeTestFile(folder.filePath("dos.exe"), writeDosProgram(0x40))
                         && writeTestFile(folder.filePath("icons.ico"), ico);
    return written ? 0 : 1;
}
