// settings_writer STOREFILE KEY PREFIX COUNT: records PREFIX0 .. PREFIX<COUNT-1> as value names
// of KEY, one opening of the key each, as the program records recent paths.

#include "platform/SettingsStore.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const int count = args[4].toInt();
    for (int i = 0; i < count; ++i) {
        SettingsKey key(args[2], args[1]);
        if (!key.setValue(args[3] + QString::number(i), QString()))
            return 1;
    }
    return 0;
}
