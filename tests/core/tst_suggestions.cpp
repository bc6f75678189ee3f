#include "core/LabelOrder.h"
#include "core/PanelCentring.h"
#include "core/Suggestions.h"

#include <QtTest>

#include <algorithm>

class TestSuggestions : public QObject
{
    Q_OBJECT

private slots:
    void withDescription();
    void withoutDescription();
    void onlyTrailingSpacesGo();
    void labelsEqualButForCaseHaveAFixedOrder();
    void centring_data();
    void centring();
};

void TestSuggestions::withDescription()
{
    const QStringList list = suggestionList("Kreator instalacji", "setup");
    QCOMPARE(list.size(), 20);
    QCOMPARE(list.mid(0, 3), (QStringList{"Kreator instalacji", "Uruchom Kreator instalacji",
                                          "Zainstaluj Kreator instalacji"}));
    QCOMPARE(list[3], u"Podglądnij Kreator instalacji"_qs);
    QCOMPARE(list[9], QStringLiteral("View Kreator instalacji"));
    QCOMPARE(list[10], QStringLiteral("setup"));
    QCOMPARE(list[12], QStringLiteral("Zainstaluj setup"));
    QCOMPARE(list[19], QStringLiteral("View setup"));
}

void TestSuggestions::withoutDescription()
{
    const QStringList list = suggestionList("", "setup.exe");
    QCOMPARE(list.size(), 10);
    QCOMPARE(list[2], QStringLiteral("Zainstaluj setup.exe"));
    QCOMPARE(list[6], QStringLiteral("Odpal setup.exe"));
}

void TestSuggestions::onlyTrailingSpacesGo()
{
    QStringList list = suggestionList("  Opis z odstępami   ", "");
    QCOMPARE(list[0], u"  Opis z odstępami"_qs);
    QCOMPARE(list[1], u"Uruchom   Opis z odstępami"_qs);
    QCOMPARE(list[11], QStringLiteral("Uruchom")); // an empty name leaves the bare verb
    QCOMPARE(list[10], QString());
    list = suggestionList("Tab\t", "x");
    QCOMPARE(list[0], QStringLiteral("Tab\t"));
    QCOMPARE(suggestionList("A", "A").count("A"), 2); // not made unique
}

void TestSuggestions::labelsEqualButForCaseHaveAFixedOrder()
{
    const LabelOrder order;
    QVERIFY(order.compare("abc", "ABC") != 0);
    QCOMPARE(order.compare("abc", "ABC"), -order.compare("ABC", "abc"));
    QVERIFY(order.compare(u"Żółw"_qs, "Zebra") > 0); // the language's order, not code points
    QVERIFY(order.compare("apple", "Banana") < 0);

    QStringList one{"b", "B", "a", "A", "ab"};
    QStringList two{"A", "ab", "B", "a", "b"};
    const auto sortBy = [&](QStringList list) {
        std::vector<LabelOrder::Key> keys;
        for (const QString &s : list)
            keys.push_back(order.key(s));
        std::sort(keys.begin(), keys.end());
        QStringList out;
        for (const auto &k : keys)
            out << k.text;
        return out;
    };
    QCOMPARE(sortBy(one), sortBy(two));
    for (const QString &a : one)
        for (const QString &b : one)
            QCOMPARE(order.key(a) < order.key(b), order.compare(a, b) < 0);
}

void TestSuggestions::centring_data()
{
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("offset");
    QTest::newRow("even room") << 790 << 474 << 158;
    QTest::newRow("half goes down to even") << 789 << 472 << 158; // 158.5
    QTest::newRow("half goes up to even") << 791 << 472 << 160;   // 159.5
    QTest::newRow("panel wider than window") << 400 << 473 << -36; // -36.5
    QTest::newRow("panel wider, other half") << 400 << 471 << -36; // -35.5
}

void TestSuggestions::centring()
{
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(int, offset);
    QCOMPARE(centredOffset(outer, inner), offset);
}

QTEST_GUILESS_MAIN(TestSuggestions)
#include "tst_suggestions.moc"
