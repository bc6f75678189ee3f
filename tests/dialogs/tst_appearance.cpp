#include "Accessibility.h"
#include "Controls.h"
#include "widgets/Contrast.h"
#include "IconFixtures.h"
#include "TestFiles.h"
#include "UserInput.h"
#include "WindowFixture.h"

#include "dialogs/AboutWindow.h"
#include "dialogs/DiscCheckWindow.h"
#include "dialogs/TipsWindow.h"
#include "panels/AutoStartPanel.h"
#include "panels/ItemPanel.h"
#include "widgets/IconList.h"
#include "widgets/PathLabel.h"
#include "widgets/SensitiveLabel.h"
#include "widgets/ShapedPicture.h"
#include "widgets/WindowFont.h"

#include <QAbstractButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QtTest>

#include <cmath>

using namespace IconFixtures;

using Places = QList<QPair<QString, QRect>>; // a control's name ("" for the whole) and place

// The panels and the side windows under a dark colour scheme, at the window font, at the font
// of 144 dpi and grown as the main window grows a panel: each control where it was designed,
// none overlapping, cut or outside; each text standing out from what it is painted on; each
// control named for screen readers, each icon read as "Ikona N z M".
class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void looks_data();
    void looks();

private:
    // A panel (in a window, as the main window holds it) or a side window, shown.
    QWidget *open(const QString &which, int fontPixels);

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<QWidget> m_holder;
    QTemporaryDir m_folder;
};

void TestAppearance::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(QPalette(QColor(60, 60, 60), QColor(45, 45, 45)));
    QList<ExecutableWriter::ResourceEntry> icons;
    for (int i = 1; i <= 3; ++i)
        icons += iconResources(icoFile({square(32, QColor::fromHsv(i * 100, 255, 255))}), i, i);
    QVERIFY(writeTestFile(m_folder.filePath("setup.exe"), ExecutableWriter::writePe(false, false, icons)));
}

QWidget *TestAppearance::open(const QString &which, int fontPixels)
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->setHelpFile(true);
    writeTestFile(QFileInfo(m_fixture->programFile()).dir().filePath("porady.dat"),
                  "[Podady Pelmora]\r\n001=" + QByteArray("Porada o nagrywaniu plyty. ").repeated(8) + "\r\n002=B\r\n");
    m_fixture->start();
    QFont font = windowFont();
    font.setPixelSize(fontPixels);
    m_holder = std::make_unique<QWidget>();
    m_holder->setFont(font);
    QWidget *root = m_holder.get();
    if (which == "about" || which == "tips") {
        root = which == "about" ? static_cast<QWidget *>(m_fixture->windows().about()) : m_fixture->windows().tips();
        root->setFont(font);
    } else if (which == "check") {
        auto *check = new DiscCheckWindow;
        check->setFindings({{"open-missing", DiscFinding::Severity::Error, "open", "Brak programu setup.exe"}});
        m_holder.reset(root = check);
    } else if (which == "item") {
        auto *panel = new ItemPanel(m_holder.get());
        panel->loadNew(u"[Płyta]setup.exe"_qs, {"Uruchom setup", "Zainstaluj setup", "setup"});
        root = panel;
    } else if (which.startsWith("auto-start")) {
        auto *panel = new AutoStartPanel(m_holder.get());
        panel->load(m_folder.path() + "/", {"setup.exe", {}, 1});
        root = panel;
    } else { // a link with the about window's colours on a window of the scheme
        auto *link = new SensitiveLabel(m_holder.get());
        link->setObjectName("link");
        link->setText("http://www.quorvale.example/");
        link->setHoverLook({font, Qt::blue});
        link->setPressedLook({font, Qt::red});
        link->adjustSize();
        m_holder->resize(link->size() + QSize(20, 20));
    }
    if (root->parentWidget() == m_holder.get())
        m_holder->resize(root->size() + QSize(300, 200)); // room for the panel to grow
    root->window()->show();
    if (!QTest::qWaitForWindowExposed(root->window()))
        return nullptr;
    if (which == "auto-start icons")
        UserInput::clickTab(named<QTabWidget>(root, "PageControl1"), 1);
    return root;
}

namespace {

QRect placeIn(QWidget *root, QWidget *w)
{
    return w == root ? root->rect() : QRect(w->mapTo(root, QPoint()), w->size());
}

} // namespace

void TestAppearance::looks_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("fontPixels");
    QTest::addColumn<QSize>("growth");
    QTest::addColumn<Places>("places"); // within 4 pixels; a label's text by its top left corner
    QTest::addColumn<QStringList>("texts"); // whose colours are measured, under the mouse or pressed
    QTest::newRow("item panel") << "item" << 11 << QSize() << Places{
        {"", {0, 0, 473, 129}}, {"XPathLabel1", {8, 24, 457, 17}}, {"cb_NazwaPozycji", {32, 64, 433, 21}},
        {"sb_Add_NO", {296, 96, 79, 25}}, {"sb_Add_OK", {384, 96, 79, 25}}} << QStringList{"Label9", "XPathLabel1", "Label10"};
    QTest::newRow("item panel grown") << "item" << 11 << QSize(200, 100) << Places{
        {"XPathLabel1", {8, 24, 657, 17}}, {"cb_NazwaPozycji", {32, 64, 633, 21}}, {"sb_Add_OK", {584, 196, 79, 25}}}
        << QStringList();
    QTest::newRow("auto-start panel") << "auto-start" << 11 << QSize() << Places{
        {"", {0, 0, 473, 297}}, {"PageControl1", {3, 3, 468, 254}}, {"lb_Programy", {5, 42, 460, 211}},
        {"sb_Auto_NO", {296, 264, 79, 25}}, {"sb_Auto_OK", {384, 264, 79, 25}}} << QStringList{"Label12"};
    QTest::newRow("auto-start panel grown, icons") << "auto-start icons" << 11 << QSize(200, 150) << Places{
        {"lb_Ikony", {5, 42, 660, 229}}, {"dfsIconListBox1", {5, 271, 660, 132}}, {"sb_Auto_OK", {584, 414, 79, 25}}}
        << QStringList{"Label13"};
    QTest::newRow("about") << "about" << 11 << QSize() << Places{
        {"", {0, 0, 438, 331}}, {"img_About", {16, 16, 400, 160}}, {"a_l_3", {61, 193, 0, 0}},
        {"l_Version", {367, 176, 0, 0}}, {"img_Money", {330, 259, 16, 16}}, {"sb_OK", {333, 290, 89, 25}}}
        << QStringList{"a_l_1", "a_l_3", "l_Version", "a_l_10", "sb_OK", "a_l_3 over", "a_l_9 pressed"};
    QTest::newRow("tips") << "tips" << 11 << QSize() << Places{
        {"l_1", {120, 102, 265, 13}}, {"l_5", {120, 166, 0, 0}}, {"sb_NestPor", {368, 224, 153, 38}},
        {"SpeedButton1", {224, 224, 129, 38}}, {"SpeedButton2", {408, 142, 113, 57}}}
        << QStringList{"l_1", "l_3", "SpeedButton1", "SpeedButton3", "sb_NestPor"};
    QTest::newRow("link") << "link" << 11 << QSize() << Places{} << QStringList{"link over", "link pressed"};
    for (const char *which : {"item", "auto-start icons", "about", "tips", "check"})
        QTest::addRow("%s, 144 dpi", which) << which << 17 << QSize() << Places{} << QStringList();
}

void TestAppearance::looks()
{
    QFETCH(QString, which);
    QFETCH(int, fontPixels);
    QFETCH(QSize, growth);
    QFETCH(Places, places);
    QFETCH(QStringList, texts);
    QWidget *root = open(which, fontPixels);
    QVERIFY(root);
    if (!growth.isEmpty()) {
        root->resize(root->size() + growth); // as the main window grows a panel
        QApplication::processEvents();
    }
    if (which != "check" && which != "link") // the designed size is the least, and only a panel grows
        QCOMPARE(root->size(), root->minimumSize() + growth.expandedTo({0, 0}));
    for (const auto &[name, designed] : places) {
        const QRect place = placeIn(root, name.isEmpty() ? root : named<QWidget>(root, qPrintable(name)));
        const QRect text = designed.isEmpty() ? QRect(place.topLeft(), designed.size()) : place;
        for (int edge : {place.left() - designed.left(), place.top() - designed.top(),
                         text.right() - designed.right(), text.bottom() - designed.bottom()})
            QVERIFY2(std::abs(edge) <= 4, qPrintable(name + " at " + QDebug::toString(place)));
    }
    QList<QWidget *> shown; // what shows something, named as the user guide names it
    for (QWidget *w : root->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(w);
        if (w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")
            && !qobject_cast<ShapedPicture *>(w) && (!label || !label->text().isEmpty() || !label->pixmap().isNull()))
            shown << w;
    }
    for (QWidget *w : shown) {
        const QRect place = placeIn(root, w);
        QVERIFY2(root->rect().contains(place), qPrintable(w->objectName() + " stands outside"));
        const auto *label = qobject_cast<QLabel *>(w);
        const auto *button = qobject_cast<QAbstractButton *>(w);
        if ((label && !label->wordWrap() && !qobject_cast<PathLabel *>(w)) || (button && !button->text().isEmpty()))
            QVERIFY2(w->width() >= w->sizeHint().width() && (button || w->height() >= w->sizeHint().height()),
                     qPrintable(w->objectName() + " is cut"));
        for (QWidget *other : shown)
            QVERIFY2(other == w || w->isAncestorOf(other) || other->isAncestorOf(w)
                         || !place.intersects(placeIn(root, other)),
                     qPrintable(w->objectName() + " overlaps " + other->objectName()));
    }
    for (const QString &text : texts) {
        auto *w = named<QWidget>(root, qPrintable(text.section(' ', 0, 0)));
        if (text.endsWith(" over"))
            QTest::mouseMove(w);
        if (text.endsWith(" pressed"))
            QTest::mousePress(w, Qt::LeftButton);
        QTRY_VERIFY(!text.endsWith(" over") || w->underMouse());
        // What it is painted on: the colour that most of its place shows.
        const QImage shot = root->window()->grab(QRect(w->mapTo(root->window(), QPoint()), w->size())).toImage();
        QHash<QRgb, int> counts;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                ++counts[shot.pixel(x, y)];
        const QColor background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                                      return a.second < b.second;
                                  })->first;
        const QColor colour = w->palette().color(w->foregroundRole());
        QVERIFY2(contrastRatio(colour, background) >= 3, qPrintable(text + ": " + colour.name() + " on " + background.name()));
        if (text.endsWith(" pressed"))
            QTest::mouseRelease(w, Qt::LeftButton);
    }
    const QStringList unnamed = Accessibility::unnamedControls(root->window());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    for (IconList *icons : root->findChildren<IconList *>()) {
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(icons);
        for (int row = 0; row < icons->count(); ++row)
            QCOMPARE(list->child(row)->text(QAccessible::Name), QString("Ikona %1 z 3").arg(row + 1));
    }
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
