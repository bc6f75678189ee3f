#include "core/PreviewVariant.h"
#include "core/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestPreviewVariant : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lines_data();
    void lines();

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

void TestPreviewVariant::initTestCase()
{
    m_folder = m_dir.path() + "/";
    QVERIFY(QDir(m_folder).mkpath("narzedzia"));
    QVERIFY(QDir(m_folder).mkpath("ikony"));
    for (const char *name : {"setup.exe", "narzedzia/view.exe", "ikony/app.ico", "app.ico", "50%2.ico"}) {
        QFile f(m_folder + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}

void TestPreviewVariant::lines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the saved example")
        << QByteArray("[autorun]\r\nOpen=setup.exe\r\nIcon=setup.exe,0\r\nName=MOJA PLYTA\r\nLabel=MOJA PLYTA\r\n\r\n"
                      "shell\\00000\\command=setup.exe\r\nshell\\00000=Zainstaluj program\r\n\r\n"
                      "shell\\00001\\command=narzedzia\\view.exe\r\nshell\\00001=Przegl\xB9" "darka\r\n")
        << QStringList{"[autorun]", "open=setup.exe", "Icon=setup.exe,0", "Name=MOJA PLYTA", "",
                       "shell\\00000=Zainstaluj program", "shell\\00000\\command=setup.exe", "",
                       u"shell\\00001=Przeglądarka"_qs, "shell\\00001\\command=narzedzia\\view.exe", ""};
    QTest::newRow("icon with an index")
        << QByteArray("[autorun]\r\nicon=ikony\\app.ico,3\r\n") << QStringList{"[autorun]", "Icon=ikony\\app.ico,3", ""};
    QTest::newRow("percent signs in the name")
        << QByteArray("[autorun]\r\nicon=50%2.ico,1\r\n") << QStringList{"[autorun]", "Icon=50%2.ico,1", ""};
    QTest::newRow("icon without a comma is its first icon")
        << QByteArray("[autorun]\r\nicon=app.ico\r\n") << QStringList{"[autorun]", "Icon=app.ico,0", ""};
    QTest::newRow("index that is no number")
        << QByteArray("[autorun]\r\nicon=app.ico,x\r\n") << QStringList{"[autorun]", "Icon=app.ico,0", ""};
    QTest::newRow("missing files become empty")
        << QByteArray("[autorun]\r\nopen=brak.exe\r\nshell\\a=A\r\nshell\\a\\command=brak.exe /s\r\n")
        << QStringList{"[autorun]", "open=", "", "shell\\a=A", "shell\\a\\command=", ""};
    QTest::newRow("verbs as named, capital S left out")
        << QByteArray("[autorun]\r\nShell\\1=X\r\nShell\\1\\command=setup.exe\r\nshell\\instaluj=I\r\n"
                      "shell\\instaluj\\command=SETUP.EXE\r\n")
        << QStringList{"[autorun]", "", "shell\\instaluj=I", "shell\\instaluj\\command=SETUP.EXE", ""};
    QTest::newRow("no section") << QByteArray("[inne]\r\nopen=setup.exe\r\n") << QStringList{"[autorun]", ""};
}

void TestPreviewVariant::lines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QCOMPARE(previewLines(ProfileFile::fromBytes(file), m_folder), expected);
}

QTEST_GUILESS_MAIN(TestPreviewVariant)
#include "tst_previewvariant.moc"
