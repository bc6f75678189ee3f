// pelmora-cli: reads, writes and inspects autorun.inf files without the window, for scripted
// disc builds. JSON on stdout, one line of error on stderr; exit 0 ok, 1 failure, 2 usage.

#include "CliCommands.h"
#include "CliOutput.h"

#include "Version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
const char *const usageText =
    "usage: pelmora-cli read FOLDER\n"
    "       pelmora-cli write FOLDER [--replace-unwritable] < document.json\n"
    "       pelmora-cli ini FILE SECTION [KEY...]\n"
    "       pelmora-cli version FILE\n"
    "       pelmora-cli scan FOLDER\n"
    "       pelmora-cli icons FILE\n"
    "       pelmora-cli check FOLDER\n"
    "       pelmora-cli iso FOLDER OUT.iso [--label TEXT]\n";
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.value(0);

    if (command == QLatin1String("read") && args.size() == 2)
        return readCommand(args[1]);
    if (command == QLatin1String("write") && args.size() == 2)
        return writeCommand(args[1], false);
    if (command == QLatin1String("write") && args.size() == 3 && args[2] == QLatin1String("--replace-unwritable"))
        return writeCommand(args[1], true);
    if (command == QLatin1String("ini") && args.size() >= 3)
        return iniCommand(args[1], args[2], args.mid(3));
    if (command == QLatin1String("version") && args.size() == 2)
        return versionCommand(args[1]);
    if (command == QLatin1String("scan") && args.size() == 2)
        return scanCommand(args[1]);
    if (command == QLatin1String("icons") && args.size() == 2)
        return iconsCommand(args[1]);
    if (command == QLatin1String("check") && args.size() == 2)
        return checkCommand(args[1]);
    if (command == QLatin1String("iso") && args.size() == 3)
        return isoCommand(args[1], args[2], menuLabelOf(args[1]));
    if (command == QLatin1String("iso") && args.size() == 5 && args[3] == QLatin1String("--label"))
        return isoCommand(args[1], args[2], args[4]);
    if (command == QLatin1String("--version") && args.size() == 1) {
        std::printf("pelmora-cli %s\n", PELMORA_VERSION);
        return Ok;
    }
    std::fputs(usageText, stderr);
    return Usage;
}
