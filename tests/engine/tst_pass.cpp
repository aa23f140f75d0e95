// The analysis pass: how tokens are cut, trimmed and counted, the filter, the
// progress values, the list it publishes, and what a yield may do to it.
#include "testlocale.h"

#include "passrun.h"

#include <QTest>

using namespace tq;
using namespace tq::testing;

Q_DECLARE_METATYPE(tq::Algorithm)

namespace {

// The rows as "count - word" in first-occurrence order. The table is only
// visible ordered after publication, so the order is taken at the last yield
// (every token but the last has been counted then) and the last token's word
// is added from the final table when it was new.
QStringList countedRows(const QString &text, const QString &minLength = "3", bool filter = false)
{
    PassRun r(text);
    r.controls.minLength = minLength;
    r.controls.filter = filter;
    QStringList order;
    r.run(Algorithm::Fast, [&order](PassRun &p, int) {
        order.clear();
        for (qsizetype i = 1; i <= p.table.upperBound(); ++i)
            order.append(p.table.row(i).word);
        return true;
    });
    QHash<QString, qint32> counts;
    for (qsizetype i = 1; i <= r.table.upperBound(); ++i) {
        counts.insert(r.table.row(i).word, r.table.row(i).count);
        if (!order.contains(r.table.row(i).word))
            order.append(r.table.row(i).word);
    }
    QStringList rows;
    for (const QString &word : order)
        rows.append(listLine({word, counts.value(word)}));
    return rows;
}

// A row named after the case and the algorithm, which it starts with.
QTestData &row(const char *what, Algorithm a)
{
    const char *name = a == Algorithm::Fast ? "fast" : "straightforward";
    return QTest::newRow(qPrintable(QString("%1, %2").arg(what, name))) << a;
}

} // namespace

class PassTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleaning_data();
    void cleaning();
    void filter_data();
    void filter();
    void listLines();
    void progress_data();
    void progress();
    void yieldAfterEveryTokenButTheLast_data();
    void yieldAfterEveryTokenButTheLast();
    void yieldEdits_data();
    void yieldEdits();
    void yieldChangesSettings_data();
    void yieldChangesSettings();
    void yieldEndsPass_data();
    void yieldEndsPass();
    void secondPassDuringYield();
    void resetBeforeWalk();
};

void PassTest::cleaning_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");   // first-occurrence order, filter off
    using L = QStringList;

    QTest::newRow("case folds, first occurrence order") << "The cat saw the CAT." << L{"2 - the", "2 - cat", "1 - saw"};
    QTest::newRow("one word, three cases") << "Word WORD word" << L{"3 - word"};
    QTest::newRow("no space: one token") << "Hello,world!" << L{"1 - hello,world"};
    QTest::newRow("leading and double space") << " a  b" << L{"2 - ", "1 - a", "1 - b"};
    QTest::newRow("trailing space adds no token") << "a b " << L{"1 - a", "1 - b"};
    QTest::newRow("punctuation only") << "— ... x" << L{"2 - ", "1 - x"};
    QTest::newRow("brackets and comma") << "(hello)," << L{"1 - hello"};
    QTest::newRow("leading apostrophe") << "'tis" << L{"1 - tis"};
    QTest::newRow("inner apostrophe") << "don't" << L{"1 - don't"};
    QTest::newRow("abbreviation") << "U.S.A." << L{"1 - u.s.a"};
    QTest::newRow("ordinal") << "3rd" << L{"1 - rd"};
    QTest::newRow("trailing digits") << "abc123" << L{"1 - abc"};
    QTest::newRow("leading digits") << "12a" << L{"1 - a"};
    QTest::newRow("trailing accent") << "café" << L{"1 - caf"};
    QTest::newRow("leading accent") << "Élan" << L{"1 - lan"};
    QTest::newRow("inner non-ASCII lowered") << "aÉb AéB" << L{"2 - aéb"};
    QTest::newRow("inner emoji kept, lone one dropped") << "a😀b 😀" << L{"1 - a😀b", "1 - "};
    QTest::newRow("year") << "1999" << L{"1 - 1999"};
    QTest::newRow("number after trim") << "1999)" << L{"1 - 1999"};
    QTest::newRow("numbers keep their form") << "3.5 -2 1e5 1,000" << L{"1 - 3.5", "1 - -2", "1 - 1e5", "1 - 1,000"};
    QTest::newRow("trailing separator kept") << "1, 1999." << L{"1 - 1,", "1 - 1999."};
    QTest::newRow("number in brackets trims away") << "(1999)" << L{"1 - "};
    QTest::newRow("number after a line break") << "a \n7" << L{"1 - a", "1 - \n7"};
    QTest::newRow("CR LF inside a token") << "end.\r\nNext" << L{"1 - end.\r\nnext"};
    QTest::newRow("LF inside a token") << "end.\nNext" << L{"1 - end.\nnext"};
    QTest::newRow("tab inside a token") << "a\tB" << L{"1 - a\tb"};
    QTest::newRow("tabs at the ends") << "\tword\t" << L{"1 - word"};
    QTest::newRow("NUL inside a token") << QString("a") + QChar(0) + "b" << L{QString("1 - a") + QChar(0) + "b"};
    QTest::newRow("empty document") << "" << L{};
    QTest::newRow("spaces only") << "   " << L{"3 - "};
}

void PassTest::cleaning()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QCOMPARE(countedRows(text), rows);
}

void PassTest::filter_data()
{
    QTest::addColumn<bool>("filter");
    QTest::addColumn<QString>("minLength");
    QTest::addColumn<QStringList>("rows");
    using L = QStringList;
    const QString text = "an (ab abc — x ab";   // "(ab" is counted as "ab"

    QTest::newRow("on, 3") << true << "3" << L{"1 - abc"};
    QTest::newRow("off, 3: everything") << false << "3" << L{"1 - an", "2 - ab", "1 - abc", "1 - ", "1 - x"};
    QTest::newRow("on, 2.5") << true << "2.5" << L{"1 - abc"};
    QTest::newRow("on, 2") << true << "2" << L{"1 - an", "2 - ab", "1 - abc"};
    QTest::newRow("on, 1: empty word left out") << true << "1" << L{"1 - an", "2 - ab", "1 - abc", "1 - x"};
    QTest::newRow("on, 0: empty word counted") << true << "0" << L{"1 - an", "2 - ab", "1 - abc", "1 - ", "1 - x"};
    QTest::newRow("on, -1") << true << "-1" << L{"1 - an", "2 - ab", "1 - abc", "1 - ", "1 - x"};
    QTest::newRow("on, abc counts as 0") << true << "abc" << L{"1 - an", "2 - ab", "1 - abc", "1 - ", "1 - x"};
    QTest::newRow("on, empty counts as 0") << true << "" << L{"1 - an", "2 - ab", "1 - abc", "1 - ", "1 - x"};
    QTest::newRow("on, &H3") << true << "&H3" << L{"1 - abc"};
    QTest::newRow("on, 4 letters") << true << "  4 letters" << L{};
    QTest::newRow("on, conversion fails") << true << "1e999" << L{};
    QTest::newRow("off, conversion fails") << false << "1e999" << L{};
}

void PassTest::filter()
{
    QFETCH(bool, filter);
    QFETCH(QString, minLength);
    QFETCH(QStringList, rows);
    QCOMPARE(countedRows("an (ab abc — x ab", minLength, filter), rows);
}

void PassTest::listLines()
{
    QCOMPARE(listLine({"the", 12}), QString("12 - the"));
    QCOMPARE(listLine({"", 2}), QString("2 - "));
    QCOMPARE(listLine({"1999", 40000}), QString("40000 - 1999"));
    // Publication empties the list first and lists every row, the empty word too.
    PassRun r("b  b a ...");
    r.list.entries = {{"left over", {}}};
    r.run();
    QCOMPARE(r.list.lines(), QStringList({"2 - b", "2 - ", "1 - a"}));
    // A conversion failure leaves nothing counted: the list comes out empty.
    PassRun failed("a b c");
    failed.list.entries = {{"left over", {}}};
    failed.controls.minLength = "1e999";
    failed.run();
    QVERIFY(failed.list.lines().isEmpty());
    QVERIFY(failed.outcome.completed);
}

void PassTest::progress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<float>>("values");
    auto share = [](double pos, double length) { return float(pos / length * 100.0); };
    QTest::newRow("two tokens") << "ab cd" << QList<float>{60, 100};
    QTest::newRow("one token: only the final 100") << "abc" << QList<float>{100};
    QTest::newRow("empty document") << "" << QList<float>{100};
    QTest::newRow("trailing space") << "a b " << QList<float>{50, 100, 100};
    QTest::newRow("leading space") << " a" << QList<float>{50, 100};
    QTest::newRow("eighths, single precision") << "ab cdefg" << QList<float>{share(3, 8), 100};
    QTest::newRow("sevenths") << "abc def" << QList<float>{share(4, 7), 100};
}

void PassTest::progress()
{
    QFETCH(QString, text);
    QFETCH(QList<float>, values);
    PassRun r(text);
    r.list.entries = {{"left over", {}}};
    r.run();
    QCOMPARE(r.controls.values, values);
    if (text.isEmpty())
        QVERIFY(r.list.lines().isEmpty());
}

void PassTest::yieldAfterEveryTokenButTheLast_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("yields");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one token") << "abc" << 0;
    QTest::newRow("three tokens") << "a b c" << 2;
    QTest::newRow("trailing space") << "a b " << 2;
    QTest::newRow("empty tokens") << " a  b" << 3;
    QTest::newRow("spaces only") << "   " << 3;
}

void PassTest::yieldAfterEveryTokenButTheLast()
{
    QFETCH(QString, text);
    QFETCH(int, yields);
    PassRun r(text);
    r.run();
    QCOMPARE(r.yields, yields);
}

// The same edits in both algorithms: the fast one keeps a copy of the text
// and must notice every change made while it yields.
void PassTest::yieldEdits_data()
{
    QTest::addColumn<Algorithm>("algorithm");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("minLength");
    QTest::addColumn<int>("atYield");
    QTest::addColumn<QString>("edit");   // "replace OFFSET REMOVED TEXT" or "set TEXT"
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<qint64>("paletteIndex");
    using L = QStringList;
    for (Algorithm a : {Algorithm::Fast, Algorithm::Straightforward}) {
        row("word replaced ahead", a) << "one two three" << "3" << 1 << "replace 4 3 six"
            << L{"1 - one", "1 - six", "1 - three"} << "" << qint64(0);
        row("repetition typed ahead", a) << "aaa bbb ccc" << "3" << 1 << "replace 8 0 bbb "
            << L{"2 - bbb", "1 - aaa", "1 - ccc"} << "4-6 red, 8-10 red" << qint64(1);
        row("repetition deleted ahead", a) << "aaa bbb bbb" << "3" << 1 << "replace 8 3 ccc"
            << L{"1 - aaa", "1 - bbb", "1 - ccc"} << "" << qint64(0);
        row("text replaced", a) << "aa bb cc" << "3" << 1 << "set xx yy xx"
            << L{"1 - aa", "1 - yy", "1 - xx"} << "" << qint64(0);
        row("shortened to ScanPos", a) << "aa bb cc dd" << "3" << 1 << "set aa "
            << L{"1 - aa"} << "" << qint64(0);
        row("shortened below ScanPos", a) << "aa bb cc dd" << "3" << 2 << "set aa"
            << L{"1 - aa", "1 - bb"} << "" << qint64(0);
        row("cleared", a) << "aa bb cc dd" << "3" << 1 << "set " << L{"1 - aa"} << "" << qint64(0);
        row("shortened, still past ScanPos", a) << "aa bb cc dd" << "3" << 1 << "set aa bbx"
            << L{"1 - aa", "1 - bbx"} << "" << qint64(0);
        // After the edit the next token is "(", an empty token whose first
        // character is already red: it passes the colour on and spends nothing.
        row("empty token on a coloured character", a) << "(see (see x" << "0" << 1 << "replace 6 3 "
            << L{"1 - see", "1 - ", "1 - x"} << "0-3 red, 5 red" << qint64(1);
    }
}

void PassTest::yieldEdits()
{
    QFETCH(Algorithm, algorithm);
    QFETCH(QString, text);
    QFETCH(QString, minLength);
    QFETCH(int, atYield);
    QFETCH(QString, edit);
    QFETCH(QStringList, lines);
    QFETCH(QString, colours);
    QFETCH(qint64, paletteIndex);
    PassRun r(text);
    r.controls.minLength = minLength;
    r.run(algorithm, [&](PassRun &p, int n) {
        if (n != atYield)
            return true;
        const QStringList parts = edit.split(u' ');
        if (parts[0] == "set")
            p.surface.setText(edit.mid(4));
        else
            p.surface.replace(parts[1].toInt(), parts[2].toInt(), edit.section(u' ', 3));
        return true;
    });
    QCOMPARE(r.list.lines(), lines);
    QCOMPARE(colourRuns(r.surface), colours);
    QCOMPARE(r.outcome.paletteIndex, paletteIndex);
    QCOMPARE(r.controls.values.last(), 100.0f);
}

void PassTest::yieldChangesSettings_data()
{
    QTest::addColumn<Algorithm>("algorithm");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("colours");
    using L = QStringList;
    // "abc x abc abc y abc": settings change at the first yield, after the
    // first "abc" (which already found the one at 6 and coloured it).
    for (Algorithm a : {Algorithm::Fast, Algorithm::Straightforward}) {
        row("unchanged", a) << "" << L{"4 - abc", "1 - x", "1 - y"} << "0-2 red, 6-8 red, 10-12 red, 16-18 red";
        row("sensitivity 0", a) << "sens 0" << L{"4 - abc", "1 - x", "1 - y"} << "0-2 red, 6-8 red";
        row("conversion fails", a) << "min 1e999" << L{"1 - abc"} << "0-2 red, 6-8 red";
        row("filter on, min 4", a) << "min 4 filter" << L{"1 - abc"} << "0-2 red, 6-8 red";
        row("complete words", a) << "complete" << L{"4 - abc", "1 - x", "1 - y"} << "0-2 red, 6-8 red, 10-12 red";
        row("min 1: x finds itself", a) << "min 1" << L{"4 - abc", "1 - x", "1 - y"} << "0-2 red, 4 green, 6-8 red, 10-12 red, 14 blue, 16-18 red";
    }
}

void PassTest::yieldChangesSettings()
{
    QFETCH(Algorithm, algorithm);
    QFETCH(QString, setting);
    QFETCH(QStringList, lines);
    QFETCH(QString, colours);
    PassRun r("abc x abc abc y abc");
    r.controls.sens = 6;
    r.run(algorithm, [&](PassRun &p, int n) {
        if (n == 1) {
            const QStringList parts = setting.split(u' ');
            if (parts[0] == "sens")
                p.controls.sens = parts[1].toInt();
            if (parts[0] == "min")
                p.controls.minLength = parts[1];
            p.controls.filter = parts.contains("filter");
            if (parts[0] == "complete")
                p.controls.mode = MatchMode::CompleteWords;
        }
        return true;
    });
    QCOMPARE(r.list.lines(), lines);
    QCOMPARE(colourRuns(r.surface), colours);
}

void PassTest::yieldEndsPass_data()
{
    QTest::addColumn<Algorithm>("algorithm");
    QTest::newRow("fast") << Algorithm::Fast;
    QTest::newRow("straightforward") << Algorithm::Straightforward;
}

// A yield that says stop ends the pass where it is: no more counting,
// colouring, progress or publication.
void PassTest::yieldEndsPass()
{
    QFETCH(Algorithm, algorithm);
    PassRun r("cat dog cat dog cat");
    r.list.entries = {{"left over", {}}};
    r.run(algorithm, [](PassRun &, int n) { return n < 2; });
    QVERIFY(!r.outcome.completed);
    QCOMPARE(r.yields, 2);
    QCOMPARE(r.list.lines(), QStringList{"left over"});
    QCOMPARE(r.controls.values, QList<float>({float(4.0 / 19 * 100), float(8.0 / 19 * 100)}));
    QCOMPARE(colourRuns(r.surface), QString("0-2 red, 4-6 red, 8-10 red, 12-14 red, 16-18 red"));
    QCOMPARE(r.outcome.paletteIndex, qint64(1));
    if (algorithm == Algorithm::Fast)
        QCOMPARE(r.table.upperBound(), qsizetype(2));
}

// A second "Analyze" during a yield re-creates and publishes the window's
// table; the first pass then goes on counting into it and publishes again.
void PassTest::secondPassDuringYield()
{
    PassRun r("b a a");
    r.run(Algorithm::Fast, [](PassRun &p, int n) {
        if (n == 1) {
            FixedControls controls;
            runAnalysisPass(p.surface, controls, p.list, p.table, {});
            if (p.list.lines() != QStringList({"2 - a", "1 - b"}))
                return false;
        }
        return true;
    });
    QVERIFY(r.outcome.completed);
    QCOMPARE(r.list.lines(), QStringList({"4 - a", "1 - b"}));
}

// Colour and bold are gone before the first token is handled.
void PassTest::resetBeforeWalk()
{
    PassRun r("cat cat dog");
    r.surface.select(0, 11);
    r.surface.setSelColor(Palette[3]);
    r.surface.setSelBold(true);
    r.run(Algorithm::Fast, [](PassRun &p, int n) {
        for (qsizetype i = 0; i < p.surface.text().size(); ++i)
            if (p.surface.boldAt(i))
                return false;
        return n > 1 || colourRuns(p.surface) == "0-2 red, 4-6 red";
    });
    QVERIFY(r.outcome.completed);
    QCOMPARE(colourRuns(r.surface), QString("0-2 red, 4-6 red"));
}

QTEST_GUILESS_MAIN(PassTest)
#include "tst_pass.moc"
