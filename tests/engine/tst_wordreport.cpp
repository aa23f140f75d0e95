// The word report's data: the families with each form's count, the report
// built from one pass as the options ask, and where a listed phrase occurs,
// which must agree with the phrase's count on any document.
#include "testlocale.h"

#include "passrun.h"
#include "phraselocator.h"
#include "rangesurface.h"
#include "wordreport.h"

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(tq::Span)

using namespace tq;
using namespace tq::testing;

namespace {

using L = QStringList;

// Prose with phrases that come back, broken by clause ends, line breaks,
// empty words and punctuation around words.
QString randomProse(QRandomGenerator &g, int maxTokens)
{
    static const QStringList words = {
        "took", "a", "deep", "breath", "breath.", "breath,", "(took", "A", "Deep;", "he", "she", "--",
        "x", "x:", "e.g", "café", "Café…", "1999", "then", "the\nend", "why?", "don't",
    };
    static const QStringList separators = {" ", " ", " ", " ", "  ", "\n", " \n", "\t", "\r\n"};
    QString text;
    for (int n = g.bounded(maxTokens + 1); n > 0; --n) {
        text += words.at(g.bounded(int(words.size())));
        if (n > 1)
            text += separators.at(g.bounded(int(separators.size())));
    }
    return text;
}

QList<qint64> counts(std::initializer_list<qint64> values)
{
    return QList<qint64>(values);
}

} // namespace

class WordReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each form's count stands beside it, in the order of the ungrouped list
    // (which is not the order in which the forms were first seen).
    void familyFormCounts()
    {
        FixedControls controls;
        controls.minLength = "0";
        const WordReport report =
            buildWordReport("nodding glance nods glanced nod nod NOD Nods", controls, PassOptions{}, "english");
        QCOMPARE(report.families.size(), 2);
        QCOMPARE(report.families[0].forms, (L{"nod", "nods", "nodding"}));
        QCOMPARE(report.families[0].formCounts, counts({3, 2, 1}));
        QCOMPARE(report.families[0].count, 6);
        QCOMPARE(report.families[1].forms, (L{"glance", "glanced"}));
        QCOMPARE(report.families[1].formCounts, counts({1, 1}));
    }

    // The report's list and phrases are what a pass with the same options
    // gives: words unless the options group them, only the range, the
    // ignored words and the filter as set.
    void sameAsThePass_data()
    {
        QTest::addColumn<QString>("wordForms");
        QTest::addColumn<QStringList>("ignored");
        QTest::addColumn<bool>("filter");
        QTest::addColumn<int>("first");   // -1: no range
        QTest::addColumn<int>("last");
        QTest::newRow("words") << "" << L{} << false << -1 << -1;
        QTest::newRow("families") << "english" << L{} << false << -1 << -1;
        QTest::newRow("ignored words, filtered") << "" << L{"took", "The"} << true << -1 << -1;
        QTest::newRow("a range") << "english" << L{} << false << 20 << 95;
    }
    void sameAsThePass()
    {
        QFETCH(QString, wordForms);
        QFETCH(QStringList, ignored);
        QFETCH(bool, filter);
        QFETCH(int, first);
        QFETCH(int, last);
        const QString text = "He nodded. He took a deep breath, then he nods and took a deep breath; "
                             "she nodded and took the deep breath. The end: he took a deep breath.";
        PassRun run(text);
        run.controls.filter = filter;
        run.options = PassOptions{WordRules{}, IgnoredWords(ignored), wordForms, true};
        std::optional<TextRange> range;
        if (first >= 0) {
            range = TextRange{first, last};
            RangeSurface part(run.surface, first, last);
            run.outcome = runAnalysisPass(part, run.controls, run.list, run.table, {}, run.options);
        } else {
            run.run();
        }
        PassOptions asked{WordRules{}, IgnoredWords(ignored), wordForms, false};
        const WordReport report = buildWordReport(text, run.controls, asked, "english", range);
        QStringList lines;
        for (const ResultEntry &entry : report.list)
            lines.append(entry.line);
        QCOMPARE(lines, run.list.lines());
        QCOMPARE(report.phrases, run.outcome.phrases);
        QVERIFY(!report.phrases.isEmpty());
    }

    // Where the occurrences of a phrase lie: from its first word's start to
    // its last word's end, punctuation around them left out, and only the
    // occurrences the phrase rule counts.
    void phraseSpans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<bool>("lineBreaksSeparate");
        QTest::addColumn<QList<Span>>("spans");
        using S = QList<Span>;
        QTest::newRow("the words, not the punctuation") << "He took a breath. (Took a breath, then" << "took a breath"
            << false << S{{3, 13}, {19, 13}};
        QTest::newRow("a clause end inside breaks it") << "took a. breath took a breath" << "took a breath"
            << false << S{{15, 13}};
        QTest::newRow("overlapping occurrences") << "a b a b a b" << "a b a b" << false << S{{0, 7}, {4, 7}};
        QTest::newRow("a line break inside a token") << "a b\nc a b c" << "b c" << false << S{{8, 3}};
        QTest::newRow("line breaks separating words") << "a b\nc a b c" << "b c" << true << S{{2, 3}, {8, 3}};
        QTest::newRow("not a listed phrase's shape") << "a a a" << "a" << false << S{};
        QTest::newRow("an unknown word") << "a b a b" << "a z" << false << S{};
    }
    void phraseSpans()
    {
        QFETCH(QString, text);
        QFETCH(QString, phrase);
        QFETCH(bool, lineBreaksSeparate);
        QFETCH(QList<Span>, spans);
        const PhraseLocator locator(text, WordRules{lineBreaksSeparate, false});
        QCOMPARE(locator.occurrences(phrase), spans);
    }

    // On random documents, rules and ranges, every listed phrase has as many
    // occurrences as its count, each reading as the phrase's first and last
    // words, in order.
    void phraseOccurrencesMatchCounts()
    {
        QRandomGenerator g(20261208u);
        int phrases = 0;
        for (int d = 0; d < 400; ++d) {
            const QString text = randomProse(g, 150);
            const WordRules rules{g.bounded(2) == 1, g.bounded(2) == 1};
            std::optional<TextRange> range;
            if (g.bounded(3) == 0 && text.size() > 2) {
                const qsizetype first = g.bounded(qint64(text.size()) / 2);
                range = TextRange{first, first + g.bounded(qint64(text.size()) - first)};
            }
            MemorySurface surface(text);
            FixedControls controls;
            controls.minLength = "0";
            MemoryList list;
            const PassOptions options{rules, IgnoredWords(), QString(), true};
            PassOutcome outcome;
            if (range) {
                RangeSurface part(surface, range->first, range->last);
                outcome = referencePass(part, controls, list, {}, options);
            } else {
                outcome = referencePass(surface, controls, list, {}, options);
            }
            const PhraseLocator locator(text, rules, range);
            const QString lowered = lowerCase(text);
            for (const RepeatedPhrase &p : std::as_const(outcome.phrases)) {
                ++phrases;
                const QList<Span> spans = locator.occurrences(p.text);
                QVERIFY2(spans.size() == p.count, qPrintable(QString("document %1: \"%2\" %3 times, found %4")
                                                                 .arg(d).arg(p.text).arg(p.count).arg(spans.size())));
                const QStringList words = p.text.split(' ');
                for (qsizetype i = 0; i < spans.size(); ++i) {
                    const QStringView at = QStringView(lowered).sliced(spans[i].start, spans[i].length);
                    QVERIFY(at.startsWith(words.first()) && at.endsWith(words.last()));
                    if (range)
                        QVERIFY(spans[i].start >= range->first && spans[i].start + spans[i].length <= range->last + 1);
                    if (i > 0)
                        QVERIFY(spans[i - 1].start < spans[i].start);
                }
            }
        }
        QVERIFY2(phrases > 300, qPrintable(QString::number(phrases)));
    }
};

QTEST_GUILESS_MAIN(WordReportTest)
#include "tst_wordreport.moc"
