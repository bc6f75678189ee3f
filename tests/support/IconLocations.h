#pragma once

// Icon lines as discs hold them, the file and number the reader takes from each (INT_MIN:
// none) and the line Pelmora writes back; brak.exe is a file the folder does not hold.

#include <QtTest>

#include <climits>

inline void addIconLocationRows()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char *line, const char *file, int index, const char *written) {
        QTest::newRow(line) << QByteArray(line) << QString::fromLatin1(file) << index << QByteArray(written);
    };
    row("icon=setup.exe", "setup.exe", INT_MIN, "Icon=setup.exe");
    row("icon=setup.exe,0", "setup.exe", 0, "Icon=setup.exe,0");
    row("icon=setup.exe,3", "setup.exe", 3, "Icon=setup.exe,3");
    row("icon=setup.exe,-7", "setup.exe", -7, "Icon=setup.exe,-7");
    row("icon=setup.exe, 0", "setup.exe", 0, "Icon=setup.exe,0");
    row("icon=brak.exe,1", "brak.exe", 1, "Icon=brak.exe,1");
    row("ICON=disc.ico", "disc.ico", INT_MIN, "Icon=disc.ico");
    row("icon=a,disc.ico", "a,disc.ico", INT_MIN, "Icon=a,disc.ico,0"); // else Windows cuts at the comma
    row("icon=setup.exe,x", "setup.exe", INT_MIN, "Icon=setup.exe");
    row("icon=a,setup.exe,1", "a,setup.exe", 1, "Icon=a,setup.exe,1");
}
