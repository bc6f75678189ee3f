#include "TestFiles.h"

#include "platform/Shell.h"

#include <QTemporaryDir>
#include <QtTest>

// The desktop's opener is run for real: one that finds no program, or none at all, is heard of.
class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void failureIsReported_data();
    void failureIsReported();
};

void TestShell::failureIsReported_data()
{
    QTest::addColumn<QByteArray>("opener"); // the script standing for xdg-open; empty: none
    QTest::addColumn<bool>("reported");
    QTest::newRow("a program opens it") << QByteArray("#!/bin/sh\nexit 0\n") << false;
    QTest::newRow("no program for it") << QByteArray("#!/bin/sh\nexit 3\n") << true;
    QTest::newRow("no opener at all") << QByteArray() << true;
}

void TestShell::failureIsReported()
{
    QFETCH(QByteArray, opener);
    QFETCH(bool, reported);
    QTemporaryDir bin;
    if (!opener.isEmpty()) {
        QVERIFY(writeTestFile(bin.filePath("xdg-open"), opener));
        QVERIFY(QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    DesktopShell shell;
    QStringList failures;
    shell.setFailureReport([&](QWidget *, const QString &target) { failures << target; });
    shell.open(nullptr, bin.filePath("pomoc.html"), QStringLiteral("open"), Shell::Show::Normal);
    qputenv("PATH", path);
    if (reported) {
        QTRY_COMPARE(failures, QStringList{bin.filePath("pomoc.html")}); // the answer comes later
    } else {
        QTest::qWait(300);
        QVERIFY(failures.isEmpty());
    }
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
