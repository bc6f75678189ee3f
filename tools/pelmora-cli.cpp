// pelmora-cli: reads, writes and inspects autorun.inf files without the window, for scripted
// disc builds. JSON on stdout, one line of error on stderr; exit 0 ok, 1 failure, 2 usage.

#include "CliCommands.h"
#include "CliOutput.h"

#include "Version.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

// Each command with its arguments as the usage shows them; the options it takes.
struct Command
{
    const char *name;
    const char *arguments;
    QStringList options; // each takes no value but --label, which takes one
    int least;           // arguments after the command, options aside
    int most;            // -1: any number
};

const QList<Command> &commands()
{
    static const QList<Command> list{
        {"read", "FOLDER", {}, 1, 1},
        {"write", "FOLDER [--replace-unwritable] < document.json", {QStringLiteral("--replace-unwritable")}, 1, 1},
        {"ini", "FILE SECTION [KEY...]", {}, 2, -1},
        {"version", "FILE", {}, 1, 1},
        {"scan", "FOLDER", {}, 1, 1},
        {"icons", "FILE", {}, 1, 1},
        {"check", "FOLDER", {}, 1, 1},
        {"iso", "FOLDER OUT.iso [--label TEXT]", {QStringLiteral("--label")}, 2, 2},
    };
    return list;
}

QByteArray usageOf(const Command &command, bool first)
{
    return QByteArray(first ? "usage: " : "       ") + "pelmora-cli " + command.name + ' ' + command.arguments + '\n';
}

QByteArray usage()
{
    QByteArray text;
    for (const Command &command : commands())
        text += usageOf(command, text.isEmpty());
    text += "       pelmora-cli --help | --version\n";
    text += "       pelmora-cli COMMAND --help\n";
    return text;
}

bool isHelp(const QString &arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// What was wrong, in one line, then the usage: on stderr.
int usageError(const QString &what, const QByteArray &text)
{
    std::fprintf(stderr, "pelmora-cli: %s\n%s", what.toLocal8Bit().constData(), text.constData());
    return Usage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString name = args.value(0);

    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"), usage());
    if (args.size() == 1 && (isHelp(name) || name == QLatin1String("help"))) {
        std::fputs(usage().constData(), stdout);
        return Ok;
    }
    if (args.size() == 1 && name == QLatin1String("--version")) {
        std::printf("pelmora-cli %s\n", PELMORA_VERSION);
        return Ok;
    }
    const auto command = std::find_if(commands().cbegin(), commands().cend(),
                                      [&](const Command &c) { return name == QLatin1String(c.name); });
    if (command == commands().cend())
        return usageError(name.startsWith(QLatin1Char('-')) ? QStringLiteral("unknown option %1").arg(name)
                                                            : QStringLiteral("unknown command %1").arg(name),
                          usage());
    const QByteArray commandUsage = usageOf(*command, true);
    if (args.size() == 2 && isHelp(args[1])) {
        std::fputs(commandUsage.constData(), stdout);
        return Ok;
    }

    // The arguments, options taken out; "--" ends the options.
    QStringList plain;
    QStringList options;
    QString label;
    bool optionsEnd = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnd || !arg.startsWith(QLatin1String("--")) || qstrcmp(command->name, "ini") == 0) {
            plain << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!command->options.contains(arg)) {
            return usageError(QStringLiteral("%1 takes no option %2").arg(name, arg), commandUsage);
        } else if (arg == QLatin1String("--label")) {
            if (i + 1 == args.size())
                return usageError(QStringLiteral("--label needs a TEXT"), commandUsage);
            label = args[++i];
            options << arg;
        } else {
            options << arg;
        }
    }
    if (plain.size() < command->least) {
        const QStringList wanted = QString::fromLatin1(command->arguments).split(QLatin1Char(' '));
        return usageError(QStringLiteral("%1 needs %2").arg(name, wanted.value(plain.size())), commandUsage);
    }
    if (command->most >= 0 && plain.size() > command->most)
        return usageError(QStringLiteral("%1 takes no argument %2").arg(name, plain[command->most]), commandUsage);

    if (name == QLatin1String("read"))
        return readCommand(plain[0]);
    if (name == QLatin1String("write"))
        return writeCommand(plain[0], options.contains(QStringLiteral("--replace-unwritable")));
    if (name == QLatin1String("ini"))
        return iniCommand(plain[0], plain[1], plain.mid(2));
    if (name == QLatin1String("version"))
        return versionCommand(plain[0]);
    if (name == QLatin1String("scan"))
        return scanCommand(plain[0]);
    if (name == QLatin1String("icons"))
        return iconsCommand(plain[0]);
    if (name == QLatin1String("check"))
        return checkCommand(plain[0]);
    return isoCommand(plain[0], plain[1], options.contains(QStringLiteral("--label")) ? label : menuLabelOf(plain[0]));
}
