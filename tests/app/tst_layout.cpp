#include "Controls.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "widgets/Contrast.h"
#include "widgets/PathLabel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeView>
#include <QtTest>

// The main window's layout: the designed places at the designed size, the room a larger window
// gives to the lists, and no text cut or covered at any font size or scale (ctest runs it again
// with large fonts and scaled twice).
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void designedPlaces_data();
    void designedPlaces();
    void largerWindow_data();
    void largerWindow();
    void nothingCutOrCovered();
    void readableUnderADarkScheme();

private:
    MainWindow &form() { return *m_fixture->windows().main; }
    std::unique_ptr<WindowFixture> m_fixture;
};

namespace {

// Runs only at the default font and scale, where the designed places hold.
bool designedScale()
{
    return !qEnvironmentVariableIsSet("QT_FONT_DPI") && !qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
}

QString caption(const QWidget *widget)
{
    QString text;
    if (auto *b = qobject_cast<const QAbstractButton *>(widget))
        text = b->text();
    else if (auto *g = qobject_cast<const QGroupBox *>(widget))
        text = g->title();
    else if (auto *l = qobject_cast<const QLabel *>(widget))
        text = l->text();
    return text.remove(QLatin1Char('&')).trimmed();
}

// The room a control's text needs beyond the text itself: a check box's box, a group's frame.
int textAllowance(const QWidget *widget)
{
    if (qobject_cast<const QCheckBox *>(widget))
        return 18;
    if (qobject_cast<const QGroupBox *>(widget) || qobject_cast<const QPushButton *>(widget))
        return 4;
    return 0;
}

} // namespace

void TestLayout::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void TestLayout::designedPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption");

    QTest::newRow("sb_Nowe") << "sb_Nowe" << QRect(8, 8, 65, 57) << "Menu ...";
    QTest::newRow("sb_AutoRun") << "sb_AutoRun" << QRect(8, 72, 65, 57) << "Auto...";
    QTest::newRow("sb_Utworz") << "sb_Utworz" << QRect(8, 136, 65, 57) << u"Utwórz"_qs;
    QTest::newRow("sb_Zapisz") << "sb_Zapisz" << QRect(8, 136, 65, 57) << "Zapisz";
    QTest::newRow("sb_Porady") << "sb_Porady" << QRect(8, 200, 65, 57) << "Porady";
    QTest::newRow("sb_Pomoc") << "sb_Pomoc" << QRect(8, 264, 65, 57) << "Pomoc";
    QTest::newRow("sb_About") << "sb_About" << QRect(8, 328, 65, 57) << "Informacje";
    QTest::newRow("sb_Zamknij") << "sb_Zamknij" << QRect(8, 400, 65, 57) << "Zamknij";
    QTest::newRow("GroupBox1") << "GroupBox1" << QRect(84, 0, 541, 65)
        << u"Ścieżka do folderu z plikami które zamierzasz nagrać na CD(DVD)"_qs;
    QTest::newRow("de_Folder") << "de_Folder" << QRect(100, 16, 505, 21) << "";
    QTest::newRow("SpeedButton2") << "SpeedButton2" << QRect(604, 15, 12, 22) << "";
    QTest::newRow("e_Etykieta") << "e_Etykieta" << QRect(219, 40, 152, 21) << "";
    QTest::newRow("gb_Centrum") << "gb_Centrum" << QRect(84, 72, 261, 393)
        << "Wskaż folder z danymi (przeczytaj porady)";
    QTest::newRow("dfsSystemTreeView1") << "dfsSystemTreeView1" << QRect(100, 88, 233, 241) << "";
    QTest::newRow("Label4") << "Label4" << QRect(100, 376, 241, 17) << "";
    QTest::newRow("l_Plik") << "l_Plik" << QRect(368, 408, 249, 17) << "";
    QTest::newRow("sb_Dodaj") << "sb_Dodaj" << QRect(252, 432, 79, 25) << "Dodaj";
    QTest::newRow("gb_Pozycje") << "gb_Pozycje" << QRect(352, 72, 273, 393) << "Pozycje w menu:";
    QTest::newRow("lv_Lista") << "lv_Lista" << QRect(368, 88, 250, 241) << "";
    QTest::newRow("sb_Odswiez") << "sb_Odswiez" << QRect(360, 432, 79, 25) << u"Odśwież"_qs;
    QTest::newRow("sb_Usun") << "sb_Usun" << QRect(448, 432, 79, 25) << u"Usuń"_qs;
    QTest::newRow("sb_Edytuj") << "sb_Edytuj" << QRect(536, 432, 79, 25) << "Edytuj";
    QTest::newRow("Panel2") << "Panel2" << QRect(627, 0, 155, 464) << "";
    QTest::newRow("Image1") << "Image1" << QRect(627, 16, 155, 124) << "";
    QTest::newRow("Panel3") << "Panel3" << QRect(646, 140, 136, 119) << "";
    QTest::newRow("sb_UsunPlik") << "sb_UsunPlik" << QRect(631, 312, 149, 35) << u"Usuń plik"_qs;
    QTest::newRow("sb_UruchomPlik") << "sb_UruchomPlik" << QRect(631, 360, 149, 35) << "Uruchom plik";
    QTest::newRow("sb_Podglad") << "sb_Podglad" << QRect(631, 408, 149, 51) << u"Podgląd"_qs;
}

// At the default font each control stands within a few pixels of its designed place (the
// window's coordinates), and the window opens at its least size, the designed one.
void TestLayout::designedPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    if (!designedScale())
        QSKIP("the designed places are those of the default font");

    const int slack = 4;
    QVERIFY(qAbs(form().width() - 782) <= slack && qAbs(form().height() - 464) <= slack);
    QCOMPARE(form().minimumSize(), form().size());
    auto *widget = form().findChild<QWidget *>(name);
    QVERIFY(widget);
    const QRect actual(widget->mapTo(&form(), QPoint()), widget->size());
    for (auto [a, d] : {std::pair{actual.left(), place.left()}, {actual.top(), place.top()},
                        {actual.right(), place.right()}, {actual.bottom(), place.bottom()}})
        QVERIFY2(qAbs(a - d) <= slack, qPrintable(QStringLiteral("%1 at %2,%3 %4x%5").arg(name)
                     .arg(actual.x()).arg(actual.y()).arg(actual.width()).arg(actual.height())));
    QCOMPARE(::caption(widget), caption);
}

void TestLayout::largerWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("wider");
    QTest::addColumn<bool>("taller");
    QTest::newRow("folder tree") << "dfsSystemTreeView1" << true << true;
    QTest::newRow("item list") << "lv_Lista" << true << true;
    QTest::newRow("folder edit") << "de_Folder" << true << false;
    QTest::newRow("button bar") << "Panel1" << false << true;
    QTest::newRow("preview") << "Panel2" << false << true;
    QTest::newRow("label edit") << "e_Etykieta" << false << false;
    QTest::newRow("bar button") << "sb_Nowe" << false << false;
    QTest::newRow("list button") << "sb_Edytuj" << false << false;
    QTest::newRow("preview button") << "sb_Podglad" << false << false;
}

// A larger window (maximised, or dragged by its edge) gives its room to the folder and the
// lists; the item list's file column takes the width beyond the labels.
void TestLayout::largerWindow()
{
    QFETCH(QString, name);
    QFETCH(bool, wider);
    QFETCH(bool, taller);
    auto *widget = form().findChild<QWidget *>(name);
    auto *list = named<QTreeView>(form(), "lv_Lista");
    const QSize before = widget->size();
    const int fileColumn = list->header()->sectionSize(1);
    form().resize(form().size() + QSize(300, 200));
    QTRY_VERIFY(form().width() > form().minimumWidth());
    QCOMPARE(widget->width() > before.width(), wider);
    QCOMPARE(widget->height() > before.height(), taller);
    QVERIFY(list->header()->sectionSize(1) > fileColumn);
    // Smaller than the least size it does not go.
    form().resize(200, 100);
    QCOMPARE(form().size(), form().minimumSize());
}

// Every text shows whole, at the window's least size, and no control covers another.
void TestLayout::nothingCutOrCovered()
{
    const QList<QWidget *> all = form().findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisibleTo(&form()) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString text = caption(w);
        auto *label = qobject_cast<QLabel *>(w);
        if (!text.isEmpty() && !qobject_cast<PathLabel *>(w) && !(label && label->wordWrap())) {
            int widest = 0;
            for (const QString &line : text.split(QLatin1Char('\n')))
                widest = qMax(widest, w->fontMetrics().horizontalAdvance(line));
            QVERIFY2(widest + textAllowance(w) <= w->width(),
                     qPrintable(QStringLiteral("%1: \"%2\" needs %3, has %4").arg(w->objectName(), text)
                                    .arg(widest + textAllowance(w)).arg(w->width())));
            QVERIFY2(w->fontMetrics().height() <= w->height(), qPrintable(w->objectName()));
        }
        for (QWidget *other : all) {
            if (other == w || other->parentWidget() != w->parentWidget() || !other->isVisibleTo(&form())
                || other->objectName().startsWith(QLatin1String("qt_")))
                continue;
            // Two designed overlaps of one pixel: the arrow on the folder edit's edge, the
            // hint under the drive's frame.
            const QRect shared = w->geometry() & other->geometry();
            QVERIFY2(shared.isEmpty() || (shared.width() <= 1 || shared.height() <= 1),
                     qPrintable(w->objectName() + QStringLiteral(" covers ") + other->objectName()));
        }
    }
}


// Under a dark scheme the texts of the panels painted in colours of their own (the bar, the
// preview) keep their own dark colour, and those on the scheme's background take its light one.
void TestLayout::readableUnderADarkScheme()
{
    m_fixture.reset();
    const QPalette dark(QColor(60, 60, 60), QColor(45, 45, 45)); // light texts on dark grey
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark);
    init();
    for (QWidget *w : form().findChildren<QWidget *>()) {
        if (caption(w).isEmpty() || !w->isVisibleTo(&form()) || !w->isEnabled()) // greyed text may be faint
            continue;
        // What the text is painted on: the nearest parent that fills its background.
        const QWidget *ground = w->parentWidget();
        while (ground != &form() && !ground->autoFillBackground())
            ground = ground->parentWidget();
        const bool raised = qobject_cast<QPushButton *>(w) || qobject_cast<QLineEdit *>(w);
        const QColor back = raised ? w->palette().color(QPalette::Button) : ground->palette().color(QPalette::Window);
        const QColor text = w->palette().color(raised || qobject_cast<QToolButton *>(w) ? QPalette::ButtonText
                                                                                       : QPalette::WindowText);
        QVERIFY2(contrastRatio(text, back) >= 3.0, qPrintable(QStringLiteral("%1: %2 on %3").arg(w->objectName(),
                                                         text.name(), back.name())));
    }
    QApplication::setPalette(before);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
