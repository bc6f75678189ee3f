#include "widgets/PathLabel.h"
#include "widgets/WindowFont.h"

#include <QHBoxLayout>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

class TestXPathLabel : public QObject
{
    Q_OBJECT

private slots:
    void drawnText_data();
    void drawnText();
    void wideningShowsMoreAgain();
    void ampersandIsDrawn();
    void disabledTextIsEngraved();
    void textDoesNotResizeTheLabel();
};

namespace {
const QString longPath = u"C:\\Program Files\\Narzędzia\\Setup\\setup.exe"_qs;

// The rightmost column holding a pixel other than the background at (0, 0); -1 when none.
int inkRight(const QImage &image)
{
    const QRgb background = image.pixel(0, 0);
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != background)
                return x;
        }
    }
    return -1;
}

// Whether some pixel is clearly of the given primary colour (antialiased edges included).
bool hasPixelsOf(const QImage &image, int channel)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
            if (c[channel] - std::max(c[(channel + 1) % 3], c[(channel + 2) % 3]) > 100)
                return true;
        }
    }
    return false;
}
} // namespace

void TestXPathLabel::drawnText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("whole");

    QTest::newRow("wide") << longPath << 600 << true;
    QTest::newRow("narrow") << longPath << 120 << false;
    QTest::newRow("narrower than the name") << longPath << 10 << false;
    QTest::newRow("native, narrow") << u"/home/ala/płyta/narzędzia/view.exe"_qs << 110 << false;
    QTest::newRow("ampersands, narrow") << u"C:\\R&D\\A&&B\\R&D setup.exe"_qs << 110 << false;
    QTest::newRow("ampersands, wide") << u"C:\\R&D\\A&&B\\R&D setup.exe"_qs << 600 << true;
}

void TestXPathLabel::drawnText()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(bool, whole);

    PathLabel label;
    label.setFont(windowFont());
    label.setGeometry(0, 0, width, 17);
    label.setText(path);
    label.grab();

    QCOMPARE(label.text(), path);
    const QString drawn = label.drawnText();
    if (whole) {
        QCOMPARE(drawn, path);
        return;
    }
    const QString name = path.mid(path.lastIndexOf(QRegularExpression(u"[\\\\/]"_qs)) + 1);
    QVERIFY2(drawn != path, qPrintable(drawn));
    QVERIFY2(drawn.endsWith(name), qPrintable(drawn));
    const int drawnWidth = QFontMetrics(label.font()).horizontalAdvance(drawn);
    QVERIFY2(drawnWidth <= width || drawn == name, qPrintable(drawn));
}

void TestXPathLabel::wideningShowsMoreAgain()
{
    PathLabel label;
    label.setFont(windowFont());
    label.setText(longPath);
    label.resize(100, 17);
    label.grab();
    QVERIFY(label.drawnText() != longPath);
    label.resize(600, 17);
    QCOMPARE(label.drawnText(), longPath);
}

void TestXPathLabel::ampersandIsDrawn()
{
    // Read as a mnemonic, "&" would vanish (and perhaps underline the next letter), leaving
    // the text no wider than without it.
    const auto rendered = [](const QString &text) {
        PathLabel label;
        label.setFont(windowFont());
        label.setGeometry(0, 0, 241, 17);
        label.setText(text);
        return inkRight(label.grab().toImage());
    };
    const int without = rendered(u"RD"_qs);
    const int with = rendered(u"R&D"_qs);
    QVERIFY(without > 0);
    QVERIFY2(with - without >= QFontMetrics(windowFont()).horizontalAdvance(QLatin1Char('&')) - 1,
             qPrintable(u"%1 / %2"_qs.arg(with).arg(without)));
}

void TestXPathLabel::disabledTextIsEngraved()
{
    PathLabel label;
    QFont font = windowFont();
    font.setPixelSize(20);
    font.setBold(true);
    label.setFont(font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::green);
    palette.setColor(QPalette::Light, Qt::red);
    palette.setColor(QPalette::Dark, Qt::blue);
    label.setPalette(palette);
    label.setGeometry(0, 0, 241, 30);
    label.setText(u"EEEE\\HHHH"_qs);

    const QImage enabled = label.grab().toImage();
    label.setEnabled(false);
    const QImage disabled = label.grab().toImage();

    QVERIFY(hasPixelsOf(enabled, 1));
    QVERIFY(!hasPixelsOf(enabled, 0));
    QVERIFY(!hasPixelsOf(disabled, 1));
    QVERIFY(hasPixelsOf(disabled, 0)); // the highlight below and to the right
    QVERIFY(hasPixelsOf(disabled, 2)); // the shadow on top
    QCOMPARE(inkRight(disabled), inkRight(enabled) + 1);
}

void TestXPathLabel::textDoesNotResizeTheLabel()
{
    PathLabel label;
    label.setFont(windowFont());
    label.setText(u"a.exe"_qs);
    const QSize hintShort = label.sizeHint();
    const QSize minimumShort = label.minimumSizeHint();
    label.setText(longPath);
    QCOMPARE(label.sizeHint(), hintShort);
    QCOMPARE(label.minimumSizeHint(), minimumShort);

    QWidget box;
    auto *layout = new QHBoxLayout(&box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *inLayout = new PathLabel;
    inLayout->setText(longPath + longPath + longPath);
    layout->addWidget(inLayout);
    box.resize(100, 30);
    layout->activate();
    QCOMPARE(box.width(), 100);
    QCOMPARE(inLayout->width(), 100);
}

QTEST_MAIN(TestXPathLabel)
#include "tst_pathlabel.moc"
