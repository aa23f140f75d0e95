// The pacing of a pass against the event loop, on a clock the test moves.
#include "adaptiveslicer.h"
#include "passpacer.h"
#include "windowprobe.h"

#include <QTest>

using tq::ui::PassPacer;
using tq::ui::ProbePacer;

namespace {

constexpr qint64 Interval = PassPacer::DefaultIntervalNs;

} // namespace

class PassPacerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A visit is due once the interval has passed since the pass started or
    // since the last visit ended, and not a nanosecond before.
    void visitDue_data()
    {
        QTest::addColumn<bool>("afterAVisit");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<bool>("due");
        for (const bool afterAVisit : {false, true}) {
            const char *since = afterAVisit ? "since a visit" : "since the start";
            QTest::addRow("%s, nothing", since) << afterAVisit << qint64(0) << false;
            QTest::addRow("%s, just short", since) << afterAVisit << Interval - 1 << false;
            QTest::addRow("%s, exactly", since) << afterAVisit << Interval << true;
            QTest::addRow("%s, long after", since) << afterAVisit << 40 * Interval << true;
        }
    }
    void visitDue()
    {
        QFETCH(bool, afterAVisit);
        QFETCH(qint64, elapsed);
        QFETCH(bool, due);
        qint64 now = 123456789;
        PassPacer pacer([&] { return now; });
        pacer.startPass();
        if (afterAVisit) {
            now += 3 * Interval;
            pacer.visitStarting(1);
            now += 9 * Interval;   // the visit's own length counts for nothing
            pacer.visitEnded();
        }
        now += elapsed;
        QCOMPARE(pacer.visitDue(), due);
    }

    // The longest wait runs from the start of the pass or the end of a visit
    // to the next visit; the visits themselves and the time between passes
    // are no wait. Each visit runs the owner's hook with the tokens so far.
    void visitsAndLongestWait()
    {
        qint64 now = 0;
        ProbePacer pacer([&] { return now; });
        QList<qint64> hooked;
        pacer.setVisitHook([&](qint64 tokens) { hooked.append(tokens); });
        const QList<qint64> waits = {2 * Interval, 7 * Interval, Interval, 3 * Interval};
        pacer.startPass();
        for (qsizetype i = 0; i < waits.size(); ++i) {
            now += waits[i];
            pacer.visitStarting(10 * (i + 1));
            now += 50 * Interval;
            pacer.visitEnded();
        }
        QCOMPARE(pacer.visits(), 4);
        QCOMPARE(pacer.longestWaitNs(), 7 * Interval);
        QCOMPARE(hooked, (QList<qint64>{10, 20, 30, 40}));

        now += 1000 * Interval;
        pacer.startPass();
        QCOMPARE(pacer.visits(), 0);
        QCOMPARE(pacer.longestWaitNs(), 0);
        QVERIFY(!pacer.visitDue());
        now += Interval;
        pacer.visitStarting(1);
        QCOMPARE(pacer.visits(), 1);
        QCOMPARE(pacer.longestWaitNs(), Interval);
    }

    // Starting a pass makes every older one stale, and stopping makes all of
    // them stale, until the next pass starts.
    void stalePasses()
    {
        PassPacer pacer([] { return qint64(0); });
        const quint64 first = pacer.startPass();
        QVERIFY(pacer.isCurrent(first));
        const quint64 second = pacer.startPass();
        QVERIFY(!pacer.isCurrent(first));
        QVERIFY(pacer.isCurrent(second));
        pacer.stopAll();
        QVERIFY(!pacer.isCurrent(first));
        QVERIFY(!pacer.isCurrent(second));
        const quint64 third = pacer.startPass();
        QVERIFY(pacer.isCurrent(third));
        QVERIFY(!pacer.isCurrent(first) && !pacer.isCurrent(second));
    }

    // A slice's size follows the time the last one took, by at most half or
    // double, inside its limits; restart() goes back to the first size.
    void sliceSizeFollowsTime_data()
    {
        QTest::addColumn<QList<qint64>>("tookMs");
        QTest::addColumn<QList<qsizetype>>("sizes");   // after each slice
        // aim 10 ms, first 1000, min 100, max 4000
        QTest::newRow("on the aim") << QList<qint64>{10, 10} << QList<qsizetype>{1000, 1000};
        QTest::newRow("twice the aim halves") << QList<qint64>{20} << QList<qsizetype>{500};
        QTest::newRow("slower still, no more than half") << QList<qint64>{100} << QList<qsizetype>{500};
        QTest::newRow("quick, no more than double") << QList<qint64>{0, 1} << QList<qsizetype>{2000, 4000};
        QTest::newRow("held at max") << QList<qint64>{1, 1, 1} << QList<qsizetype>{2000, 4000, 4000};
        QTest::newRow("held at min") << QList<qint64>{100, 100, 100, 100} << QList<qsizetype>{500, 250, 125, 100};
        QTest::newRow("in between") << QList<qint64>{8} << QList<qsizetype>{1250};
    }
    void sliceSizeFollowsTime()
    {
        QFETCH(QList<qint64>, tookMs);
        QFETCH(QList<qsizetype>, sizes);
        tq::ui::AdaptiveSlicer slicer({10'000'000, 1000, 100, 4000});
        QList<qsizetype> got;
        for (qint64 ms : tookMs) {
            slicer.learn(ms * 1'000'000);
            got.append(slicer.size());
        }
        QCOMPARE(got, sizes);
        slicer.restart();
        QCOMPARE(slicer.size(), qsizetype(1000));
        QCOMPARE(slicer.run([](qsizetype size) { return size; }), qsizetype(1000));   // work gets the size
    }
};

QTEST_GUILESS_MAIN(PassPacerTest)
#include "tst_passpacer.moc"
