// Word families and repeated phrases worked out by hand: the family order and
// the forms' order, the clause ends, the content-word rule and the rule that
// keeps only the longest phrase of a count. Both passes must give them.
#include "testlocale.h"

#include "memorylist.h"
#include "memorysurface.h"
#include "passrun.h"

#include <QTest>

using namespace tq;
using namespace tq::testing;

namespace {

using L = QStringList;

// The lines of the fast pass and of the straightforward one.
std::pair<QStringList, QStringList> lists(const QString &text, const PassOptions &options,
                                          const QString &minLength, bool phrases)
{
    QStringList out[2];
    for (Algorithm algorithm : {Algorithm::Fast, Algorithm::Straightforward}) {
        PassRun run(text);
        run.options = options;
        run.options.phrases = phrases;
        run.controls.minLength = minLength;
        run.run(algorithm);
        QStringList &lines = out[algorithm == Algorithm::Fast ? 0 : 1];
        if (phrases) {
            for (const RepeatedPhrase &p : run.outcome.phrases)
                lines.append(phraseLine(p));
        } else {
            lines = run.list.lines();
        }
    }
    return {out[0], out[1]};
}

} // namespace

class FormsAndPhrasesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void families_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("the families of the example") << "nod nodded glance nods glanced nodding x" << "english"
            << L{"4 - nod nodded nods nodding", "2 - glance glanced", "1 - x"};
        QTest::newRow("forms in the ungrouped list's order") << "nodding glance nods glanced nod nod" << "english"
            << L{"4 - nod nods nodding", "2 - glance glanced"};
        // Counts 1 2 1 2 in first-seen order: the sort's exchanges put the
        // second family of count 1 before the first.
        QTest::newRow("ties as the list's sort leaves them") << "xylophone nod zebra glance nodded glanced"
            << "english" << L{"2 - nod nodded", "2 - glance glanced", "1 - zebra", "1 - xylophone"};
        QTest::newRow("case and punctuation as the list counts them") << "Nodded, NOD! nods." << "english"
            << L{"3 - nodded nod nods"};
        QTest::newRow("the empty word is a family of its own") << "-- nod -- nods" << "english"
            << L{"2 - ", "2 - nod nods"};
        QTest::newRow("another language") << "chanter chantait chantaient" << "french" << L{"3 - chanter chantait chantaient"};
        // Stemmed as UTF-8, every byte of it.
        QTest::newRow("letters beyond ASCII") << "réussir réussit réussissent" << "french"
            << L{"3 - réussir réussit réussissent"};
        QTest::newRow("a language no stemmer knows") << "nod nods nod" << "klingon" << L{"2 - nod", "1 - nods"};
    }
    void families()
    {
        QFETCH(QString, text);
        QFETCH(QString, language);
        QFETCH(QStringList, lines);
        PassOptions options;
        options.wordForms = language;
        const auto [fast, straightforward] = lists(text, options, "0", false);
        QCOMPARE(fast, lines);
        QCOMPARE(straightforward, lines);
    }

    // The window breathes while a book's words are grouped; a newer pass may
    // then take over, and the stopped one must publish nothing at all.
    void breathingWhileGrouping()
    {
        const QString text = QStringLiteral("nod nodded glance nods glanced nodding x");
        PassOptions options;
        options.wordForms = QStringLiteral("english");
        const auto pass = [&](const std::function<bool(int)> &goOn) {
            MemorySurface surface(text);
            FixedControls controls;
            MemoryList list;
            list.entries = {{QStringLiteral("left over"), {}}};
            WordTable table;
            int breaths = 0;
            const bool completed = runAnalysisPass(surface, controls, list, table, [] { return true; }, options,
                                                   QLocale(), [&] { return goOn(++breaths); }).completed;
            return std::tuple(completed, list.lines(), breaths);
        };
        const auto [completed, lines, breaths] = pass([](int) { return true; });
        QVERIFY(completed);
        QCOMPARE(lines, L({"4 - nod nodded nods nodding", "2 - glance glanced", "1 - x"}));
        for (int stop = 1; stop <= breaths; ++stop) {
            const auto [stopCompleted, stopLines, stopBreaths] = pass([stop](int n) { return n < stop; });
            QVERIFY2(!stopCompleted && stopLines == L{"left over"} && stopBreaths == stop,
                     qPrintable(QString::number(stop)));
        }
    }

    void phrases_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<QStringList>("ignored");
        QTest::addColumn<QStringList>("lines");
        auto row = [](const char *name, const QString &text, const QString &minLength, const L &lines,
                      const L &ignored = {}) { QTest::newRow(name) << text << minLength << ignored << lines; };
        row("the example", "he took a deep breath. she took a deep breath, then took a deep breath.", "3",
            {"3 - took a deep breath"});
        // Clause ends.
        row("a full stop ends a phrase", "a b. a b. a b", "0", {"3 - a b"});
        row("a comma does not; overlaps count", "a b, a b, a b", "0", {"3 - a b", "2 - a b a b"});
        row("every clause mark", "a b; a b: a b! a b? a b… a b...", "0", {"6 - a b"});
        row("a mark behind a bracket", "a b.) a b.) a b", "0", {"3 - a b"});
        row("a mark inside a word is not trimmed off", "a e.g a e.g", "0", {"2 - a e.g"});
        row("a clause end may close a phrase", "x y. x y.", "0", {"2 - x y"});
        // Tokens that take no part.
        row("a line break inside a token", "a b\nc a b\nc", "0", {});
        row("an empty word", "a b -- a b --", "0", {"2 - a b"});
        row("an empty word breaks a phrase", "a -- b a -- b", "0", {});
        // The content-word rule.
        row("short words only", "to be or to be", "3", {});
        row("one long enough", "to be or to be", "2", {"2 - to be"});
        row("a minimum that cannot be read counts as 0", "to be or to be", "abc", {"2 - to be"});
        row("ignored words are not content", "the cat the cat", "3", {}, {"cat", "the"});
        row("one word not ignored is enough", "the cat the cat", "3", {"2 - the cat"}, {"cat"});
        // The longest phrase of a count.
        row("shorter ones of the same count go", "x y z x y z", "0", {"2 - x y z"});
        row("a shorter one with a higher count stays", "x y z q x y z r x y", "0", {"3 - x y", "2 - x y z"});
        row("at most six words", "a b c d e f g a b c d e f g", "0", {"2 - a b c d e f", "2 - b c d e f g"});
        // The order.
        row("earlier first", "c d q a b r c d s a b", "0", {"2 - c d", "2 - a b"});
        row("more words first", "a b q c d e r c d e s a b", "0", {"2 - c d e", "2 - a b"});
        row("case and trimmed punctuation as the list's words", "Took a breath, (took A breath", "0",
            {"2 - took a breath"});
    }
    void phrases()
    {
        QFETCH(QString, text);
        QFETCH(QString, minLength);
        QFETCH(QStringList, ignored);
        QFETCH(QStringList, lines);
        PassOptions options;
        options.ignored = IgnoredWords(ignored);
        const auto [fast, straightforward] = lists(text, options, minLength, true);
        QCOMPARE(fast, lines);
        QCOMPARE(straightforward, lines);
    }
};

QTEST_GUILESS_MAIN(FormsAndPhrasesTest)
#include "tst_formsandphrases.moc"
