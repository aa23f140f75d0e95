// Hostile documents and settings: the pass must end, leave the text alone and
// come out in the state the rules give, with both algorithms agreeing.
#include "testlocale.h"

#include "passcheck.h"

#include <QTest>

#include <climits>

using namespace tq;
using namespace tq::testing;

namespace {

FixedControls settings(const QString &minLength = "3", bool filter = false, int sensitivity = 20,
                       MatchMode mode = MatchMode::NoFilters)
{
    FixedControls c;
    c.minLength = minLength;
    c.filter = filter;
    c.sens = sensitivity;
    c.mode = mode;
    return c;
}

QStringList oneLetterLines(qsizetype count)
{
    QStringList lines;
    for (int letter = 0; letter < 26; ++letter) {
        const qsizetype n = count / 26 + (letter < count % 26 ? 1 : 0);
        lines.append(QString::number(n) + " - " + QChar(char16_t(u'a' + letter)));
    }
    return lines;
}

// Every word but the last, at even offsets.
QString everyWordButTheLast(qsizetype count)
{
    QStringList runs;
    for (qsizetype i = 0; i + 1 < count; ++i)
        runs.append(QString::number(2 * i));
    return runs.join(u' ');
}

QString longToken(qsizetype size)
{
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < size; ++i)
        text.append(QChar(char16_t((i % 7 == 0 ? u'A' : u'a') + i % 26)));
    return text;
}

const QString Cycled = "a bb ccc dddd a bb ccc dddd x";
const QStringList CycledAll = {"2 - a", "2 - bb", "2 - ccc", "2 - dddd", "1 - x"};

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void documents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("coloured");
        QTest::addColumn<qint64>("paletteIndex");

        QTest::newRow("empty document") << QString() << "3" << 20 << QStringList{} << "" << 0ll;
        QTest::newRow("only spaces") << "     " << "3" << 20 << QStringList{"5 - "} << "" << 0ll;
        // Each empty token after the first walks back to the start and
        // spends a palette entry without colouring anything visible.
        QTest::newRow("only spaces, minimum 0")
            << "     " << "0" << 20 << QStringList{"5 - "} << "" << 4ll;
        QTest::newRow("only line breaks")
            << "\n\r\n\r\r\n\n" << "3" << 20 << QStringList{"1 - "} << "" << 0ll;
        {
            const QString token = longToken(10'000'000);
            QTest::newRow("10 MB without a space")
                << token << "3" << 20 << QStringList{"1 - " + token.toLower()} << "" << 0ll;
        }
        QTest::newRow("a million one-letter words")
            << oneLetterWords(1'000'000) << "3" << 20 << oneLetterLines(1'000'000) << "" << 0ll;
        // Every one-letter token finds itself; the next same letter is 52
        // characters on, outside the window, so each one takes a fresh colour.
        QTest::newRow("a million one-letter words, minimum 1")
            << oneLetterWords(1'000'000) << "1" << 20 << oneLetterLines(1'000'000)
            << everyWordButTheLast(1'000'000) << 999'999ll;
        QTest::newRow("lone surrogates before a word")
            << u"\xD800" "abc \xDC00" "abc \xD800" "abc x"_qs << "3" << 20
            << QStringList{"3 - abc", "1 - x"} << "0-3 10-13" << 1ll;
        QTest::newRow("lone surrogate inside a word")
            << u"ab\xD800" "cd AB\xD800" "CD x"_qs << "3" << 20
            << QStringList{u"2 - ab\xD800" "cd"_qs, "1 - x"} << "0-4 6-10" << 1ll;
        QTest::newRow("NUL characters")
            << QString::fromLatin1("a\0b A\0B \0 x", 11) << "3" << 20
            << QStringList{QString::fromLatin1("2 - a\0b", 7), "1 - ", "1 - x"} << "0-2 4-6" << 1ll;
        QTest::newRow("emoji and combining marks")
            << u"\U0001F600cat \U0001F600CAT cafe\u0301 cafe\u0301 x"_qs << "3" << 20
            << QStringList{"2 - cat", "2 - cafe", "1 - x"} << "0-4 6-10 12-15 18-21" << 2ll;
        QTest::newRow("right-to-left text")
            << u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD \u05E9\u05DC\u05D5\u05DD abc \u200Fabc x"_qs
            << "3" << 20 << QStringList{"3 - ", "2 - abc", "1 - x"} << "15-17 20-22" << 1ll;
        QTest::newRow("mixed CR, LF and CR LF")
            << "end.\r\nNext end.\rNext end.\nNext end.\r\nNext x" << "3" << 40
            << QStringList{"2 - end.\r\nnext", "1 - end.\rnext", "1 - end.\nnext", "1 - x"}
            << "0-9 31-40" << 1ll;
    }

    void documents()
    {
        QFETCH(QString, text);
        QFETCH(QString, minLength);
        QFETCH(int, sensitivity);
        QFETCH(QStringList, lines);
        QFETCH(QString, coloured);
        QFETCH(qint64, paletteIndex);

        PassResult r;
        analyseChecked(text, settings(minLength, false, sensitivity), r);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.coloured, coloured);
        QCOMPARE(r.outcome.paletteIndex, paletteIndex);
    }

    // One document under every kind of minimum-length text, filter on and off.
    void minimumLength_data()
    {
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("coloured");
        QTest::addColumn<qint64>("paletteIndex");

        const QString all = "0 2-3 5-7 9-12 14 16-17 19-21 23-26";
        const QString fromThree = "5-7 9-12 19-21 23-26";
        const QString onlyFour = "9-12 23-26";
        const QStringList fromThreeLines = {"2 - ccc", "2 - dddd"};
        struct Row
        {
            const char *text;
            QStringList filtered;   // the lines with the filter on
            QString coloured;
            qint64 paletteIndex;
        };
        const Row rows[] = {
            {"", CycledAll, all, 3},
            {"abc", CycledAll, all, 3},
            {"-5", CycledAll, all, 3},
            {"2.5", fromThreeLines, fromThree, 2},
            {"4 letters", {"2 - dddd"}, onlyFour, 1},
            {"  3  ", fromThreeLines, fromThree, 2},
            {"&O777", {}, "", 0},
            {"&HFFFFFFFF", {}, "", 0},
            {"1e308", {}, "", 0},
        };
        for (const Row &row : rows) {
            QTest::addRow("\"%s\", filter off", row.text)
                << QString(row.text) << false << CycledAll << row.coloured << row.paletteIndex;
            QTest::addRow("\"%s\", filter on", row.text)
                << QString(row.text) << true << row.filtered << row.coloured << row.paletteIndex;
        }
        // Too large for a double: the conversion fails, so nothing is counted
        // and nothing is searched for, whatever the filter says.
        QTest::newRow("\"1e999\", filter off") << "1e999" << false << QStringList{} << "" << 0ll;
        QTest::newRow("\"1e999\", filter on") << "1e999" << true << QStringList{} << "" << 0ll;
    }

    void minimumLength()
    {
        QFETCH(QString, minLength);
        QFETCH(bool, filter);
        QFETCH(QStringList, lines);
        QFETCH(QString, coloured);
        QFETCH(qint64, paletteIndex);

        PassResult r;
        analyseChecked(Cycled, settings(minLength, filter), r);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.coloured, coloured);
        QCOMPARE(r.outcome.paletteIndex, paletteIndex);
    }

    // The window's edge at both ends of the bar, at 0 and far beyond.
    void sensitivity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<QString>("coloured");

        auto apart = [](int distance) { return "abc " + QString(distance - 5, u'x') + " abc q"; };
        QTest::newRow("0: a longer token never finds itself") << "abc abc abc x" << "3" << 0 << "";
        QTest::newRow("0: a one-letter token finds itself") << "I a I x" << "1" << 0 << "0 2 4";
        QTest::newRow("20: 20 apart") << apart(20) << "3" << 20 << "0-2 20-22";
        QTest::newRow("20: 21 apart") << apart(21) << "3" << 20 << "";
        QTest::newRow("400: 400 apart") << apart(400) << "3" << 400 << "0-2 400-402";
        QTest::newRow("400: 401 apart") << apart(401) << "3" << 400 << "";
        // Not at offset 0, so a window end that overflows an int shows.
        QTest::newRow("largest int") << "x abc abc q" << "3" << INT_MAX << "2-4 6-8";
    }

    void sensitivity()
    {
        QFETCH(QString, text);
        QFETCH(QString, minLength);
        QFETCH(int, sensitivity);
        QFETCH(QString, coloured);

        PassResult r;
        analyseChecked(text, settings(minLength, false, sensitivity), r);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(r.coloured, coloured);
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
