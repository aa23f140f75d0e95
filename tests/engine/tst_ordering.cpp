// Ordering by count: the list shows exactly the permutation the selection sort
// with exchange gives, equal counts included, and the fast ordering must give
// the very same one.
#include "testlocale.h"

#include "analysispass.h"
#include "passrun.h"
#include "reference.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tq;

Q_DECLARE_METATYPE(tq::Algorithm)

namespace {

using Rows = QList<QPair<QString, int>>;

// A table holding rows in this first-occurrence order.
WordTable tableOf(const Rows &rows)
{
    WordTable table;
    table.recreate();
    for (const auto &[word, count] : rows)
        for (int i = 0; i < count; ++i)
            table.count(word);
    return table;
}

QStringList published(const Rows &rows, Algorithm algorithm)
{
    QStringList lines;
    if (algorithm == Algorithm::Straightforward) {
        QList<WordTable::Row> reference;
        for (const auto &[word, count] : rows)
            reference.append({word, count});
        selectionSortByCount(reference);
        for (const WordTable::Row &row : std::as_const(reference))
            lines.append(listLine(row));
        return lines;
    }
    WordTable table = tableOf(rows);
    MemoryList list;
    list.entries = {{"left over", {}}};
    publish(table, list);
    return list.lines();
}

} // namespace

class OrderingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data();
    void order();
    void sameAsStraightforward_data();
    void sameAsStraightforward();
};

void OrderingTest::order_data()
{
    QTest::addColumn<Algorithm>("algorithm");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("lines");
    using L = QStringList;
    for (Algorithm a : {Algorithm::Fast, Algorithm::Straightforward}) {
        const QString name = a == Algorithm::Fast ? "fast" : "straightforward";
        auto row = [&](const char *what) -> QTestData & {
            return QTest::newRow(qPrintable(QString("%1, %2").arg(what, name)));
        };
        row("the cat sat mat") << a << Rows{{"the", 2}, {"cat", 1}, {"sat", 2}, {"mat", 1}}
                               << L{"2 - the", "2 - sat", "1 - cat", "1 - mat"};
        row("exchange breaks first-seen order") << a << Rows{{"a", 1}, {"b", 1}, {"c", 2}}
                                                << L{"2 - c", "1 - b", "1 - a"};
        row("equal leaders keep their order") << a << Rows{{"x", 1}, {"y", 3}, {"z", 3}, {"w", 2}}
                                              << L{"3 - y", "3 - z", "2 - w", "1 - x"};
        row("empty table") << a << Rows{} << L{};
        row("one row") << a << Rows{{"solo", 4}} << L{"4 - solo"};
        row("empty word and digits") << a << Rows{{"", 2}, {"1999", 3}, {"a", 1}}
                                     << L{"3 - 1999", "2 - ", "1 - a"};
        row("big counts") << a << Rows{{"small", 32767}, {"big", 40000}, {"mid", 32768}}
                          << L{"40000 - big", "32768 - mid", "32767 - small"};
        row("all equal: no exchange") << a << Rows{{"d", 1}, {"c", 1}, {"b", 1}, {"a", 1}}
                                      << L{"1 - d", "1 - c", "1 - b", "1 - a"};
        row("ascending") << a << Rows{{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}
                         << L{"4 - d", "3 - c", "2 - b", "1 - a"};
        row("two exchanges of equals") << a << Rows{{"p", 1}, {"q", 1}, {"r", 2}, {"s", 1}, {"t", 2}}
                                       << L{"2 - r", "2 - t", "1 - p", "1 - s", "1 - q"};
    }
}

void OrderingTest::order()
{
    QFETCH(Algorithm, algorithm);
    QFETCH(Rows, rows);
    QFETCH(QStringList, lines);
    QCOMPARE(published(rows, algorithm), lines);
}

void OrderingTest::sameAsStraightforward_data()
{
    QTest::addColumn<int>("tables");
    QTest::addColumn<int>("maxRows");
    QTest::addColumn<int>("maxCount");
    QTest::newRow("small tables, few distinct counts") << 400 << 12 << 3;
    QTest::newRow("medium tables, many equal counts") << 200 << 150 << 4;
    QTest::newRow("medium tables, spread counts") << 200 << 150 << 300;
    QTest::newRow("large table") << 2 << 3000 << 6;
}

void OrderingTest::sameAsStraightforward()
{
    QFETCH(int, tables);
    QFETCH(int, maxRows);
    QFETCH(int, maxCount);
    const quint32 seed = 4242;
    QRandomGenerator random(seed);
    for (int t = 0; t < tables; ++t) {
        WordTable fast;
        QList<WordTable::Row> reference;
        const int n = random.bounded(maxRows + 1);
        for (int r = 0; r < n; ++r) {
            const QString word = QString::number(r);
            const int count = random.bounded(1, maxCount + 1);
            reference.append({word, count});
            for (int c = count; c > 0; --c)
                fast.count(word);
        }
        fast.sortByCount();
        selectionSortByCount(reference);
        for (qsizetype i = 1; i <= n; ++i)
            QVERIFY2(fast.row(i).word == reference.at(i - 1).word,
                     qPrintable(QString("seed %1, table %2, row %3").arg(seed).arg(t).arg(i)));
        // Counting after the reorder still finds the rows.
        if (n > 0) {
            fast.count(u"0");
            QCOMPARE(fast.upperBound(), qsizetype(n));
        }
    }
}

QTEST_GUILESS_MAIN(OrderingTest)
#include "tst_ordering.moc"
