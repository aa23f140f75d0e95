// The repetition highlighter, seen through whole passes: which ranges take
// which colour of the cycle, in each match mode, and how far the cycle goes.
// Every case runs with both algorithms, which must agree to the last detail.
#include "testlocale.h"

#include "passrun.h"

#include <QTest>

using namespace tq;
using namespace tq::testing;

Q_DECLARE_METATYPE(tq::MatchMode)

namespace {

struct Settings
{
    QString minLength = "3";
    int sensitivity = 20;
    MatchMode mode = MatchMode::NoFilters;
};

// Runs the fast pass and checks the straightforward one leaves exactly the
// same document behind.
PassRun highlight(const QString &text, const Settings &s,
                  const std::function<bool(PassRun &, int)> &onYield = {})
{
    PassRun runs[2] = {PassRun(text), PassRun(text)};
    const Algorithm algorithms[2] = {Algorithm::Fast, Algorithm::Straightforward};
    for (int i = 0; i < 2; ++i) {
        runs[i].controls.minLength = s.minLength;
        runs[i].controls.sens = s.sensitivity;
        runs[i].controls.mode = s.mode;
        runs[i].run(algorithms[i], onYield);
    }
    const bool same = colourRuns(runs[0].surface) == colourRuns(runs[1].surface)
        && runs[0].outcome.paletteIndex == runs[1].outcome.paletteIndex
        && runs[0].surface.selStart() == runs[1].surface.selStart()
        && runs[0].surface.selLength() == runs[1].surface.selLength();
    if (!same)
        qWarning("straightforward: %s, palette index %lld",
                 qPrintable(colourRuns(runs[1].surface)), runs[1].outcome.paletteIndex);
    QTest::qVerify(same, "fast == straightforward", "", __FILE__, __LINE__);
    return std::move(runs[0]);
}

} // namespace

class HighlighterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colours_data();
    void colours();
    void workedExample_data();
    void workedExample();
    void selectionLeftOnLastRange();
};

void HighlighterTest::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("minLength");
    QTest::addColumn<int>("sensitivity");
    QTest::addColumn<MatchMode>("mode");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<qint64>("paletteIndex");
    const MatchMode none = MatchMode::NoFilters, begin = MatchMode::BeginningOfWord,
                    complete = MatchMode::CompleteWords;
    const QString fox = "The quick brown fox jumps over the lazy dog.";
    const QString x15 = "abc " + QString(15, u'x') + " abc q";
    const QString x16 = "abc " + QString(16, u'x') + " abc q";
    auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    // Window: the distance runs from first character to first character.
    row("fox, 20") << fox << "3" << 20 << none << "" << qint64(0);
    row("fox, 30") << fox << "3" << 30 << none << "" << qint64(0);
    row("fox, 31") << fox << "3" << 31 << none << "0-2 red, 31-33 red" << qint64(1);
    row("distance equal to sensitivity") << x15 << "3" << 20 << none << "0-2 red, 20-22 red" << qint64(1);
    row("one past the sensitivity") << x16 << "3" << 20 << none << "" << qint64(0);
    row("sensitivity 0, one letter finds itself") << "a a" << "1" << 0 << none << "0 red" << qint64(1);
    // Case, trimming, chains and the cycle
    row("case ignored, comma not part") << "Alpha beta alpha, gamma beta" << "3" << 20 << none
        << "0-4 red, 6-9 green, 11-15 red, 24-27 green" << qint64(2);
    row("last token coloured as occurrence") << "x Abc abc ABC" << "3" << 20 << none
        << "2-4 red, 6-8 red, 10-12 red" << qint64(1);
    row("two occurrences: entry reused") << "cat dog cat dog cat" << "3" << 20 << none
        << "0-2 red, 4-6 red, 8-10 red, 12-14 red, 16-18 red" << qint64(1);
    row("third passed over, coloured from second") << "apple apple apple banana banana" << "3" << 20 << none
        << "0-4 red, 6-10 red, 12-16 red, 18-23 green, 25-30 green" << qint64(2);
    row("overlap skipped after occurrence") << "cat catcat x" << "3" << 20 << none << "0-2 red, 4-6 red" << qint64(1);
    row("cycle wraps after five") << "aa aa bb bb cc cc dd dd ee ee ff ff" << "2" << 3 << none
        << "0-1 red, 3-4 red, 6-7 green, 9-10 green, 12-13 blue, 15-16 blue, 18-19 magenta, "
           "21-22 magenta, 24-25 orange, 27-28 orange, 30-31 red, 33-34 red" << qint64(6);
    row("non-ASCII case folded") << "ÉTÉs étés x" << "3" << 20 << none << "0-3 red, 5-8 red" << qint64(1);
    // Match modes
    row("bracket, no filters") << "see (see see x" << "3" << 20 << none << "0-2 red, 5-7 red" << qint64(1);
    row("bracket, beginning") << "see (see see x" << "3" << 20 << begin << "" << qint64(0);
    row("bracket, complete") << "see (see see x" << "3" << 20 << complete << "" << qint64(0);
    row("inside words, no filters") << "the other theme the end" << "3" << 20 << none
        << "0-2 red, 5-7 red, 10-12 red, 16-18 red" << qint64(0);
    row("inside words, beginning") << "the other theme the end" << "3" << 20 << begin
        << "0-2 red, 10-12 red, 16-18 red" << qint64(0);
    row("inside words, complete") << "the other theme the end" << "3" << 20 << complete
        << "0-2 red, 16-18 red" << qint64(1);
    row("ends the text, no filters") << "big dog big" << "3" << 20 << none << "0-2 red, 8-10 red" << qint64(1);
    row("ends the text, complete") << "big dog big" << "3" << 20 << complete << "" << qint64(0);
    row("followed by a space, complete") << "big dog big x" << "3" << 20 << complete << "0-2 red, 8-10 red" << qint64(1);
    row("followed by a comma, complete") << "big dog big, x" << "3" << 20 << complete << "0-2 red, 8-10 red" << qint64(1);
    row("after CR LF, no filters") << "word again\r\nword x" << "3" << 20 << none << "0-3 red, 12-15 red" << qint64(1);
    row("after CR LF, beginning") << "word again\r\nword x" << "3" << 20 << begin << "" << qint64(0);
    row("after CR LF, complete") << "word again\r\nword x" << "3" << 20 << complete << "" << qint64(0);
    row("after tab, beginning") << "word again\tword x" << "3" << 20 << begin << "0-3 red, 11-14 red" << qint64(1);
    row("after tab, complete") << "word again\tword x" << "3" << 20 << complete << "0-3 red, 11-14 red" << qint64(1);
    row("I think I am, no filters") << "I think I am" << "1" << 20 << none << "0 red, 4 red, 8 red" << qint64(0);
    row("I think I am, beginning") << "I think I am" << "1" << 20 << begin << "0 red, 8 red" << qint64(0);
    row("I think I am, complete") << "I think I am" << "1" << 20 << complete << "0 red, 8 red" << qint64(1);
    // Minimum length gate: it measures the token trimmed at its end only.
    row("gate 2.5") << "ab ab abc abc" << "2.5" << 20 << none << "6-8 red, 10-12 red" << qint64(1);
    row("gate abc counts as 0") << "ab ab abc abc" << "abc" << 20 << none
        << "0-1 red, 3-4 red, 6-8 red, 10-12 red" << qint64(0);
    row("gate counts the bracket") << "(ab (ab" << "3" << 20 << none << "0-2 red, 4-6 red" << qint64(1);
    row("gate 1e999: no search") << "cat cat cat" << "1e999" << 20 << none << "" << qint64(0);
    row("gate &H3") << "cat cat" << "&H3" << 20 << none << "0-2 red, 4-6 red" << qint64(1);
    row("gate 4 letters") << "cat cat" << "  4 letters" << 20 << none << "" << qint64(0);
    // Empty tokens: a backward walk that colours nothing visible but may
    // spend a palette entry.
    row("double spaces, min 1") << "a  b  c" << "1" << 20 << none << "0 red, 3 green" << qint64(2);
    row("double spaces, min 0") << "a  b  c" << "0" << 20 << none << "0 red, 3 blue" << qint64(4);
    row("double spaces, min 0, sensitivity 0") << "a  b  c" << "0" << 0 << none << "0 red, 3 blue" << qint64(4);
    row("double spaces, min 0, beginning") << "a  b  c" << "0" << 20 << begin << "0 red, 3 blue" << qint64(4);
    row("double spaces, min 0, complete") << "a  b  c" << "0" << 20 << complete << "3 red" << qint64(2);
    row("leading space, min 0") << " x y" << "0" << 20 << none << "1 red" << qint64(1);
    row("triple space, min 0, complete") << "a   b" << "0" << 20 << complete << "" << qint64(1);
    row("triple space, min 0, beginning") << "a   b" << "0" << 20 << begin << "0 red" << qint64(3);
    row("punctuation token, min -1") << "ab ... ab" << "-1" << 20 << none << "0-1 red, 7-8 red" << qint64(2);
}

void HighlighterTest::colours()
{
    QFETCH(QString, text);
    QFETCH(QString, minLength);
    QFETCH(int, sensitivity);
    QFETCH(MatchMode, mode);
    QFETCH(QString, colours);
    QFETCH(qint64, paletteIndex);
    const PassRun r = highlight(text, {minLength, sensitivity, mode});
    QCOMPARE(colourRuns(r.surface), colours);
    QCOMPARE(r.outcome.paletteIndex, paletteIndex);
}

void HighlighterTest::workedExample_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("colours");   // after the call
    QTest::addColumn<qint64>("paletteIndex");
    QTest::newRow("1: cat takes red, NewColorUsed ends false") << 1 << "0-2 red, 8-10 red, 16-18 red" << qint64(0);
    QTest::newRow("2: dog takes red again") << 2 << "0-2 red, 4-6 red, 8-10 red, 12-14 red, 16-18 red" << qint64(1);
    QTest::newRow("3: cat reuses red") << 3 << "0-2 red, 4-6 red, 8-10 red, 12-14 red, 16-18 red" << qint64(1);
    QTest::newRow("4: dog finds nothing") << 4 << "0-2 red, 4-6 red, 8-10 red, 12-14 red, 16-18 red" << qint64(1);
}

// The state after each call of "cat dog cat dog cat": the colours are read at
// the yield after the call; the palette index by cutting the text there, which
// ends the pass (the cut keeps the colours before it).
void HighlighterTest::workedExample()
{
    QFETCH(int, call);
    QFETCH(QString, colours);
    QFETCH(qint64, paletteIndex);
    QString seen;
    const PassRun r = highlight("cat dog cat dog cat", {}, [&](PassRun &p, int n) {
        if (n == call) {
            seen = colourRuns(p.surface);
            const qsizetype scanPos = 4 * n;
            p.surface.replace(scanPos, p.surface.text().size() - scanPos, QString());
        }
        return true;
    });
    QCOMPARE(seen, colours);
    QCOMPARE(r.outcome.paletteIndex, paletteIndex);
}

void HighlighterTest::selectionLeftOnLastRange()
{
    // The last range coloured is the occurrence at 16-18, found by call 3.
    PassRun r = highlight("cat dog cat dog cat", {});
    QCOMPARE(r.surface.selStart(), qsizetype(16));
    QCOMPARE(r.surface.selLength(), qsizetype(3));
    // Nothing coloured: the reset's whole-document selection stays.
    r = highlight("one two", {});
    QCOMPARE(r.surface.selStart(), qsizetype(0));
    QCOMPARE(r.surface.selLength(), qsizetype(7));
    // An empty token's walk leaves an empty selection on its last accepted turn.
    r = highlight("ab   cd", {"0", 20, MatchMode::CompleteWords});
    QCOMPARE(r.surface.selStart(), qsizetype(3));
    QCOMPARE(r.surface.selLength(), qsizetype(0));
}

QTEST_GUILESS_MAIN(HighlighterTest)
#include "tst_highlighter.moc"
