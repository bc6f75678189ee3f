#include "widgets/SensitiveLabel.h"

#include <QSignalSpy>
#include <QtTest>

class TestSensitiveLabel : public QObject
{
    Q_OBJECT

private slots:
    void looksFollowTheMouse();
    void middleButtonAndInactivePress();
};

namespace {
SensitiveLabel *makeLink(QWidget *parent)
{
    auto *l = new SensitiveLabel(parent);
    l->setText("pelmora@quorvale.example");
    QFont hover = l->font();
    hover.setUnderline(true);
    l->setHoverLook({hover, Qt::blue});
    l->setPressedLook({l->font(), Qt::red});
    l->adjustSize();
    return l;
}
} // namespace

void TestSensitiveLabel::looksFollowTheMouse()
{
    QTest::failOnWarning(QRegularExpression("QFont"));
    QWidget window;
    QFont pixels = window.font(); // as the windows size their fonts
    pixels.setPixelSize(11);
    window.setFont(pixels);
    SensitiveLabel *l = makeLink(&window);
    window.show();
    QSignalSpy clicked(l, &SensitiveLabel::clicked);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(l, &enter);
    QCOMPARE(l->currentLook().colour, QColor(Qt::blue));
    QVERIFY(l->font().underline());
    QTest::mousePress(l, Qt::LeftButton);
    QCOMPARE(l->currentLook().colour, QColor(Qt::red));
    QVERIFY(!l->font().underline());
    QTest::mouseRelease(l, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(l->currentLook().colour, l->normalLook().colour); // normal, though still over it
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(l, &leave);
    QApplication::sendEvent(l, &enter);
    QCOMPARE(l->currentLook().colour, QColor(Qt::blue));
}

void TestSensitiveLabel::middleButtonAndInactivePress()
{
    QWidget window;
    SensitiveLabel *l = makeLink(&window);
    window.show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(l, &enter);
    QTest::mousePress(l, Qt::MiddleButton);
    QCOMPARE(l->currentLook().colour, QColor(Qt::blue)); // nothing changes
    QTest::mouseRelease(l, Qt::MiddleButton);
    QCOMPARE(l->currentLook().colour, l->normalLook().colour); // the release still restores
    l->setPressedLookShown(false);
    QTest::mousePress(l, Qt::LeftButton);
    QCOMPARE(l->currentLook().colour, l->normalLook().colour);
}

QTEST_MAIN(TestSensitiveLabel)
#include "tst_sensitivelabel.moc"
