#pragma once

// Icon lines of autorun.inf as discs hold them, what the reader takes from each and the line
// Pelmora writes back after reading it; setup.exe and disc.ico are in the folder, brak.exe is
// not. A number that changed on the way would show the disc another icon, or none.

#include <QByteArray>
#include <QString>
#include <QtTest>

#include <climits>

namespace IconLocations {

constexpr int noNumber = INT_MIN;

inline void addRows()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index"); // noNumber: none taken
    QTest::addColumn<QByteArray>("written"); // empty: no Icon= line

    const auto row = [](const char *name, const char *line, const char *file, int index, const char *written) {
        QTest::newRow(name) << QByteArray(line) << QString::fromLatin1(file) << index << QByteArray(written);
    };
    row("no comma keeps the file", "icon=setup.exe", "setup.exe", noNumber, "Icon=setup.exe");
    row("first icon", "icon=setup.exe,0", "setup.exe", 0, "Icon=setup.exe,0");
    row("fourth icon", "icon=setup.exe,3", "setup.exe", 3, "Icon=setup.exe,3");
    row("resource id", "icon=setup.exe,-7", "setup.exe", -7, "Icon=setup.exe,-7");
    row("blank before the number", "icon=setup.exe, 0", "setup.exe", 0, "Icon=setup.exe,0");
    row("file not there yet", "icon=brak.exe,1", "brak.exe", 1, "Icon=brak.exe,1");
    row("ico file alone", "ICON=disc.ico", "disc.ico", noNumber, "Icon=disc.ico");
    row("ico with number", "icon=disc.ico,0", "disc.ico", 0, "Icon=disc.ico,0");
    row("not a number", "icon=setup.exe,x", "setup.exe", noNumber, "Icon=setup.exe");
    row("empty number", "icon=setup.exe,", "setup.exe", noNumber, "Icon=setup.exe");
    row("other letter case on disk", "icon=SETUP.EXE,1", "SETUP.EXE", 1, "Icon=SETUP.EXE,1");
    row("out of range kept", "icon=setup.exe,+40", "setup.exe", 40, "Icon=setup.exe,40");
    row("last comma splits", "icon=a,setup.exe,1", "a,setup.exe", 1, "Icon=a,setup.exe,1");
    row("empty value", "icon=", "", noNumber, "");
}

} // namespace IconLocations
