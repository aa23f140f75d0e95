// A pass over part of a document: exactly the pass over that text alone,
// moved by the part's start, with nothing outside the part touched, and the
// part following the edits made while the pass yields.
#include "testlocale.h"

#include "analysispass.h"
#include "memorysurface.h"
#include "rangesurface.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tq;

namespace {

struct Lines : ResultList
{
    QStringList lines;
    void clear() override { lines.clear(); }
    void append(const QList<ResultEntry> &entries) override
    {
        for (const ResultEntry &e : entries)
            lines.append(e.line);
    }
};

struct Progress : FixedControls
{
    QList<float> values;
    void setProgress(float percent) override { values.append(percent); }
};

struct Outcome
{
    QStringList lines;
    QList<Colour> colour;
    QList<bool> bold;
    QList<float> progress;
    qint64 palette = 0;
};

Outcome passOver(TextSurface &surface, const MemorySurface &memory, const Progress &settings,
                 qsizetype from, qsizetype size)
{
    Progress controls = settings;
    Lines list;
    WordTable table;
    const PassOutcome result = runAnalysisPass(surface, controls, list, table, [] { return true; });
    Outcome o{list.lines, {}, {}, controls.values, result.paletteIndex};
    for (qsizetype i = from; i < from + size; ++i) {
        o.colour.append(memory.colourAt(i));
        o.bold.append(memory.boldAt(i));
    }
    return o;
}

// A document whose every character is coloured and bold, so that a reset or
// a colour reaching outside the part shows.
MemorySurface formatted(const QString &text)
{
    MemorySurface s(text);
    s.select(0, text.size());
    s.setSelColor(7);
    s.setSelBold(true);
    return s;
}

} // namespace

class TestRangePass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsThePartAlone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("first");
        QTest::addColumn<qsizetype>("last");
        QTest::addColumn<int>("mode");
        QTest::newRow("a chapter in the middle")
            << "Before it all. The cat saw the cat and the dog. After it all." << qsizetype(15)
            << qsizetype(46) << int(MatchMode::NoFilters);
        QTest::newRow("the part's ends cut words") << "other theme the other" << qsizetype(2)
                                                   << qsizetype(17) << int(MatchMode::CompleteWords);
        QTest::newRow("begins after a space") << "xx the theme" << qsizetype(3) << qsizetype(11)
                                              << int(MatchMode::BeginningOfWord);
        QTest::newRow("one character") << "a b c" << qsizetype(2) << qsizetype(2)
                                       << int(MatchMode::NoFilters);
        QTest::newRow("the whole text") << "the the" << qsizetype(0) << qsizetype(6)
                                        << int(MatchMode::NoFilters);
    }
    void sameAsThePartAlone()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, first);
        QFETCH(qsizetype, last);
        QFETCH(int, mode);
        Progress settings;
        settings.mode = MatchMode(mode);
        compare(text, first, last, settings);
    }

    void sameAsThePartAloneOnRandomTexts()
    {
        QRandomGenerator rng(1111);
        const QString alphabet = QStringLiteral("abAB .\n'");
        for (int round = 0; round < 300; ++round) {
            QString text;
            for (int i = int(rng.bounded(1, 60)); i > 0; --i)
                text += alphabet[rng.bounded(alphabet.size())];
            const qsizetype first = rng.bounded(text.size());
            const qsizetype last = first + rng.bounded(text.size() - first);
            Progress settings;
            settings.mode = MatchMode(rng.bounded(3));
            settings.sens = int(rng.bounded(20, 40));
            settings.minLength = QString::number(rng.bounded(0, 3));
            settings.filter = rng.bounded(2) == 1;
            compare(text, first, last, settings);
            if (QTest::currentTestFailed()) {
                qWarning() << "text" << text << "range" << first << last;
                return;
            }
        }
    }

    void followsEdits_data()
    {
        QTest::addColumn<qsizetype>("position");
        QTest::addColumn<qsizetype>("removed");
        QTest::addColumn<qsizetype>("added");
        QTest::addColumn<qsizetype>("start");
        QTest::addColumn<qsizetype>("end");
        // The part is [10, 20).
        QTest::newRow("typed before") << qsizetype(2) << qsizetype(0) << qsizetype(3) << qsizetype(13) << qsizetype(23);
        QTest::newRow("typed at the start goes before") << qsizetype(10) << qsizetype(0) << qsizetype(3) << qsizetype(13) << qsizetype(23);
        QTest::newRow("typed inside") << qsizetype(15) << qsizetype(0) << qsizetype(3) << qsizetype(10) << qsizetype(23);
        QTest::newRow("typed at the end goes in") << qsizetype(20) << qsizetype(0) << qsizetype(3) << qsizetype(10) << qsizetype(23);
        QTest::newRow("typed after") << qsizetype(25) << qsizetype(0) << qsizetype(3) << qsizetype(10) << qsizetype(20);
        QTest::newRow("removed before") << qsizetype(0) << qsizetype(5) << qsizetype(0) << qsizetype(5) << qsizetype(15);
        QTest::newRow("removed across the start") << qsizetype(5) << qsizetype(10) << qsizetype(0) << qsizetype(5) << qsizetype(10);
        QTest::newRow("removed inside") << qsizetype(12) << qsizetype(4) << qsizetype(0) << qsizetype(10) << qsizetype(16);
        QTest::newRow("removed across the end") << qsizetype(15) << qsizetype(10) << qsizetype(0) << qsizetype(10) << qsizetype(15);
        QTest::newRow("all removed") << qsizetype(0) << qsizetype(30) << qsizetype(0) << qsizetype(0) << qsizetype(0);
        QTest::newRow("replaced across the start") << qsizetype(8) << qsizetype(4) << qsizetype(1) << qsizetype(8) << qsizetype(17);
    }
    void followsEdits()
    {
        QFETCH(qsizetype, position);
        QFETCH(qsizetype, removed);
        QFETCH(qsizetype, added);
        QFETCH(qsizetype, start);
        QFETCH(qsizetype, end);
        MemorySurface whole(QString(30, u'x'));
        RangeSurface part(whole, 10, 19);
        whole.replace(position, removed, QString(added, u'y'));
        part.followEdit(position, removed, added);
        QCOMPARE(part.start(), start);
        QCOMPARE(part.end(), end);
        QCOMPARE(part.text(), whole.text().mid(start, end - start));
    }

    // Edits while the pass yields: typed before the part, the pass goes on
    // over the same words, now further on; the whole part removed, it ends.
    void editsDuringThePass()
    {
        const QString chapter = QStringLiteral("word word thing thing");
        MemorySurface whole(QStringLiteral("head ") + chapter + QStringLiteral(" tail"));
        RangeSurface part(whole, 5, 5 + chapter.size() - 1);
        FixedControls controls;
        Lines list;
        WordTable table;
        int yields = 0;
        runAnalysisPass(part, controls, list, table, [&] {
            if (++yields == 2) {
                whole.replace(0, 0, QStringLiteral("more "));
                part.followEdit(0, 0, 5);
            }
            return true;
        });
        QCOMPARE(list.lines, (QStringList{"2 - word", "2 - thing"}));
        for (qsizetype i : {10, 15, 20, 26})
            QVERIFY2(whole.colourAt(i) != 0, qPrintable(QString::number(i)));
        QCOMPARE(whole.colourAt(5), Colour(0));
        QCOMPARE(whole.text(), QStringLiteral("more head ") + chapter + QStringLiteral(" tail"));

        yields = 0;
        MemorySurface other(QStringLiteral("head ") + chapter + QStringLiteral(" tail"));
        RangeSurface gone(other, 5, 5 + chapter.size() - 1);
        runAnalysisPass(gone, controls, list, table, [&] {
            if (++yields == 1) {
                other.replace(5, chapter.size(), QString());
                gone.followEdit(5, chapter.size(), 0);
            }
            return true;
        });
        QCOMPARE(list.lines, (QStringList{"1 - word"}));
        QCOMPARE(other.text(), QStringLiteral("head  tail"));
    }

private:
    void compare(const QString &text, qsizetype first, qsizetype last, const Progress &settings)
    {
        const qsizetype size = last - first + 1;
        MemorySurface alone(text.mid(first, size));
        const Outcome expected = passOver(alone, alone, settings, 0, size);

        MemorySurface whole = formatted(text);
        RangeSurface part(whole, first, last);
        const Outcome got = passOver(part, whole, settings, first, size);
        QCOMPARE(got.lines, expected.lines);
        QCOMPARE(got.colour, expected.colour);
        QCOMPARE(got.bold, expected.bold);
        QCOMPARE(got.progress, expected.progress);
        QCOMPARE(got.palette, expected.palette);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i < first || i > last) {
                QCOMPARE(whole.colourAt(i), Colour(7));
                QVERIFY(whole.boldAt(i));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRangePass)
#include "tst_rangepass.moc"
