#include "core/PathShortening.h"

#include <QtTest>

class TestPathShortening : public QObject
{
    Q_OBJECT

private slots:
    void shorten_data();
    void shorten();
};

namespace {
// Dots narrower than other characters, as in a proportional font: "...\" then takes less
// room than most folder names it stands for, so every step of a chain can be reached.
int px(const QString &text)
{
    int width = 0;
    for (QChar c : text)
        width += c == QLatin1Char('.') ? 3 : 7;
    return width;
}

// One row per step: a label exactly as wide as the step shows that step.
void addChain(const char *name, const QStringList &steps)
{
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QTest::addRow("%s, step %lld", name, qlonglong(i)) << steps.first() << px(steps[i]) << steps[i];
    }
    QTest::addRow("%s, nothing fits", name) << steps.first() << 0 << steps.last();
}
} // namespace

void TestPathShortening::shorten_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("shown");

    addChain("drive path", {
        u"C:\\Program Files\\Tools\\Setup\\setup.exe"_qs,
        u"C:\\...\\Tools\\Setup\\setup.exe"_qs,
        u"C:\\...\\Setup\\setup.exe"_qs,
        u"C:\\...\\setup.exe"_qs,
        u"...\\setup.exe"_qs,
        u"setup.exe"_qs,
    });
    addChain("relative path", {
        u"sub\\dir\\a.exe"_qs,
        u"...\\dir\\a.exe"_qs,
        u"...\\a.exe"_qs,
        u"a.exe"_qs,
    });
    addChain("drive root", {u"C:\\a.exe"_qs, u"C:a.exe"_qs, u"a.exe"_qs});
    addChain("disc path", {
        u"[MOJA PLYTA]\\narzedzia\\view.exe"_qs,
        u"...\\narzedzia\\view.exe"_qs,
        u"...\\view.exe"_qs,
        u"view.exe"_qs,
    });
    addChain("native path", {
        u"/home/u/a/b/setup.exe"_qs,
        u"/.../u/a/b/setup.exe"_qs,
        u"/.../a/b/setup.exe"_qs,
        u"/.../b/setup.exe"_qs,
        u"/.../setup.exe"_qs,
        u".../setup.exe"_qs,
        u"setup.exe"_qs,
    });
    addChain("separators mixed", {
        u"dir/sub\\a.exe"_qs,
        u".../sub\\a.exe"_qs,
        u"...\\a.exe"_qs,
        u"a.exe"_qs,
    });
    // The first step (a mark for the empty folder between the two leading separators) is
    // wider than the path itself, so no width shows it.
    addChain("network share", {
        u"\\\\srv\\share\\a.exe"_qs,
        u"\\...\\share\\a.exe"_qs,
        u"\\...\\a.exe"_qs,
        u"...\\a.exe"_qs,
        u"a.exe"_qs,
    });
    // A folder that merely starts with dots is a folder, not an earlier "...".
    addChain("dot folder", {
        u".a/bb/x.exe"_qs,
        u".../bb/x.exe"_qs,
        u".../x.exe"_qs,
        u"x.exe"_qs,
    });
    addChain("dot folder after the root", {
        u"/.a/bb/x.exe"_qs,
        u"/.../bb/x.exe"_qs,
        u"/.../x.exe"_qs,
        u".../x.exe"_qs,
        u"x.exe"_qs,
    });

    const QString wide = u"C:\\Program Files\\Tools\\Setup\\setup.exe"_qs;
    QTest::newRow("between two steps") << wide << px(u"C:\\...\\Setup\\setup.exe"_qs) + 5
                                       << u"C:\\...\\Setup\\setup.exe"_qs;
    QTest::newRow("one pixel short of a step") << wide << px(u"C:\\...\\Setup\\setup.exe"_qs) - 1
                                               << u"C:\\...\\setup.exe"_qs;
    QTest::newRow("wider than needed") << wide << 10000 << wide;
    QTest::newRow("name alone") << u"setup.exe"_qs << 0 << u"setup.exe"_qs;
    QTest::newRow("drive letter in a name") << u"a:b.exe"_qs << 0 << u"a:b.exe"_qs;
    // A native path has no drive, even with a colon where a drive letter's would stand.
    QTest::newRow("colon after the root") << u"/:/x"_qs << px(u"/:/x"_qs) - 1 << u".../x"_qs;

    // Odd input must end, and without reading past the text.
    QTest::newRow("empty") << QString() << 0 << QString();
    QTest::newRow("root") << u"\\"_qs << 0 << QString();
    QTest::newRow("root fits") << u"\\"_qs << 7 << u"\\"_qs;
    QTest::newRow("drive alone") << u"C:"_qs << 0 << u"C:"_qs;
    QTest::newRow("drive root") << u"C:\\"_qs << 0 << QString();
    QTest::newRow("drive root, drive fits") << u"C:\\"_qs << px(u"C:"_qs) << u"C:"_qs;
    QTest::newRow("a mark alone") << u"...\\"_qs << 0 << QString();
    QTest::newRow("root mark alone") << u"\\...\\"_qs << 0 << QString();
    QTest::newRow("three backslashes") << u"\\\\\\"_qs << 0 << QString();
    QTest::newRow("slashes only") << u"/////"_qs << 0 << QString();
    QTest::newRow("slashes then a name") << u"////a"_qs << 0 << u"a"_qs;
    QTest::newRow("trailing separator") << u"C:\\dir\\"_qs << px(u"C:\\...\\"_qs) << u"C:\\...\\"_qs;
}

void TestPathShortening::shorten()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(QString, shown);
    QCOMPARE(shortenPath(path, width, px), shown);
}

QTEST_GUILESS_MAIN(TestPathShortening)
#include "tst_pathshortening.moc"
