// The writer's options for a pass, against hand-worked cases: line breaks
// that separate words, letters of every language, ignored words. With every
// option off the results stay exactly the classic ones.
#include "testlocale.h"

#include "passrun.h"

#include <QTest>

using namespace tq;
using namespace tq::testing;

namespace {

struct Result
{
    QStringList lines;
    QString colours;
    QList<float> progress;
};

Result pass(const QString &text, const PassOptions &options, MatchMode mode = MatchMode::NoFilters,
            bool filter = false, const QString &minLength = QStringLiteral("3"))
{
    PassRun r(text);
    r.options = options;
    r.controls.mode = mode;
    r.controls.filter = filter;
    r.controls.minLength = minLength;
    r.controls.sens = 40;
    r.run();
    return {r.list.lines(), colourRuns(r.surface), r.controls.values};
}

PassOptions lineBreaks()
{
    return {WordRules{true, false}, {}};
}

PassOptions allLetters()
{
    return {WordRules{false, true}, {}};
}

PassOptions ignoring(const QStringList &words)
{
    return {WordRules{}, IgnoredWords(words)};
}

} // namespace

class WordRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineBreaksSeparateWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("end. / Next") << "end.\nNext" << QStringList{"1 - end", "1 - next"};
        QTest::newRow("CR LF holds an empty token")
            << "end.\r\nNext" << QStringList{"1 - end", "1 - ", "1 - next"};
        QTest::newRow("blank line holds an empty token")
            << "one\n\ntwo" << QStringList{"1 - one", "1 - ", "1 - two"};
        QTest::newRow("vertical tab, form feed, U+2028, U+2029")
            << QString("a\vb\fc") + QChar(0x2028) + "d" + QChar(0x2029) + "e"
            << QStringList{"1 - a", "1 - b", "1 - c", "1 - d", "1 - e"};
        QTest::newRow("NEL and tab still join")
            << QString("a") + QChar(0x85) + "b\tc" << QStringList{QString("1 - a") + QChar(0x85) + "b\tc"};
    }
    void lineBreaksSeparateWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(pass(text, lineBreaks()).lines, lines);
    }

    // The same texts with the rule off: as today, the break stays in the word.
    void lineBreaksJoinByDefault()
    {
        QCOMPARE(pass("end.\nNext", {}).lines, QStringList{"1 - end.\nnext"});
        QCOMPARE(pass("one\n\ntwo", {}).lines, QStringList{"1 - one\n\ntwo"});
    }

    // A break is a word start for the highlighter and the end of the token
    // for the progress bar, exactly as a space.
    void lineBreaksInTheHighlighter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("colours");
        QTest::newRow("beginning of a word after a break")
            << "cat\ncatalog" << int(MatchMode::BeginningOfWord) << "0-2 red, 4-6 red";
        QTest::newRow("complete words across a break")
            << "x cat\ncat." << int(MatchMode::CompleteWords) << "2-4 red, 6-8 red";
        QTest::newRow("complete words need a non-letter after")
            << "x cat\ncats" << int(MatchMode::CompleteWords) << "";
    }
    void lineBreaksInTheHighlighter()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(QString, colours);
        QCOMPARE(pass(text, lineBreaks(), MatchMode(mode)).colours, colours);
        // The same with spaces for breaks gives the same colours.
        QString spaced = text;
        spaced.replace(u'\n', u' ');
        QCOMPARE(pass(spaced, {}, MatchMode(mode)).colours, colours);
    }

    void lineBreaksAndProgress()
    {
        QCOMPARE(pass("ab\ncd", lineBreaks()).progress, (QList<float>{60.0f, 100.0f}));
        QCOMPARE(pass("ab\ncd", {}).progress, (QList<float>{100.0f}));
    }

    void allLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("withRule");
        QTest::addColumn<QStringList>("without");
        QTest::newRow("accents at the ends") << "café Élan naïveté Übung"
                                             << QStringList{"1 - café", "1 - élan", "1 - naïveté", "1 - übung"}
                                             << QStringList{"1 - caf", "1 - lan", "1 - na\u00efvet", "1 - bung"};
        QTest::newRow("punctuation still trimmed") << "«café»," << QStringList{"1 - café"}
                                                   << QStringList{"1 - caf"};
        QTest::newRow("combining mark ends the word") << "cafe\u0301." << QStringList{"1 - cafe\u0301"}
                                                       << QStringList{"1 - cafe"};
        QTest::newRow("other alphabets") << "Ωμέγα слово" << QStringList{"1 - ωμέγα", "1 - слово"}
                                         << QStringList{"2 - "};
        QTest::newRow("surrogate pair letter kept") << QString("x") + QChar(0xD835) + QChar(0xDC00)
                                                    << QStringList{QString("1 - x") + QChar(0xD835) + QChar(0xDC00)}
                                                    << QStringList{"1 - x"};
        QTest::newRow("surrogate pair symbol trimmed") << QString("x") + QChar(0xD83D) + QChar(0xDE00)
                                                       << QStringList{"1 - x"} << QStringList{"1 - x"};
        QTest::newRow("digits are not letters") << "abc123" << QStringList{"1 - abc"} << QStringList{"1 - abc"};
    }
    void allLetters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, withRule);
        QFETCH(QStringList, without);
        QCOMPARE(pass(text, ::allLetters()).lines, withRule);
        QCOMPARE(pass(text, {}).lines, without);
    }

    // The complete-words test asks whether the character after a match is a
    // letter: "caf" is no complete word inside "café" under the rule.
    void allLettersInCompleteWords()
    {
        const QString text = QStringLiteral("x caf caf\u00e9");
        QCOMPARE(pass(text, {}, MatchMode::CompleteWords).colours, QStringLiteral("2-4 red, 6-8 red"));
        QCOMPARE(pass(text, ::allLetters(), MatchMode::CompleteWords).colours, QString());
    }

    void ignoredWords_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("colours");
        // "the" ignored (entered as "THE"): never listed, never searched;
        // "other" still is, and repeats.
        for (int mode : {0, 1, 2}) {
            for (bool filter : {false, true}) {
                const QByteArray tag = QByteArray("mode ") + QByteArray::number(mode)
                                       + (filter ? " filter on" : " filter off");
                QTest::newRow(tag) << mode << filter << "3"
                                   << (filter ? QStringList{"2 - other", "1 - cat"}
                                              : QStringList{"2 - other", "1 - a", "1 - cat"})
                                   << "2-6 red, 16-20 red";
            }
        }
        // With a minimum of 0, "a" is searched too and passes its red on.
        QTest::newRow("minimum length 0") << 0 << false << "0"
                                          << QStringList{"2 - other", "1 - a", "1 - cat"}
                                          << "0 red, 2-6 red, 13 red, 16-20 red";
    }
    void ignoredWords()
    {
        QFETCH(int, mode);
        QFETCH(bool, filter);
        QFETCH(QString, minLength);
        QFETCH(QStringList, lines);
        QFETCH(QString, colours);
        const QString text = QStringLiteral("a other the cat other The the");
        const Result r = pass(text, ignoring({"THE"}), MatchMode(mode), filter, minLength);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.colours, colours);
        // Still walked over: the progress is the same as without the list.
        QCOMPARE(r.progress, pass(text, {}, MatchMode(mode), filter, minLength).progress);
    }

    void ignoredWordsSpendNoColour()
    {
        // Without the list "the" takes red and "cat" green; with it "cat"
        // takes red.
        const QString text = QStringLiteral("the the cat cat");
        QCOMPARE(pass(text, {}).colours, QStringLiteral("0-2 red, 4-6 red, 8-10 green, 12-14 green"));
        QCOMPARE(pass(text, ignoring({"the"})).colours, QStringLiteral("8-10 red, 12-14 red"));
    }

    void ignoredEntriesAreLoweredOnly_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("compared with the cleaned word") << QStringList{"DON'T"} << QStringList{"1 - cat", "1 - "};
        QTest::newRow("not trimmed") << QStringList{"don't "} << QStringList{"1 - don't", "1 - cat", "1 - "};
        QTest::newRow("not cleaned") << QStringList{"(don't)"} << QStringList{"1 - don't", "1 - cat", "1 - "};
        QTest::newRow("the empty word never ignored") << QStringList{"", "x"}
                                                      << QStringList{"1 - don't", "1 - cat", "1 - "};
        QTest::newRow("empty list") << QStringList{} << QStringList{"1 - don't", "1 - cat", "1 - "};
    }
    void ignoredEntriesAreLoweredOnly()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, lines);
        QCOMPARE(pass("(Don't) cat ...", ignoring(entries)).lines, lines);
    }
};

QTEST_GUILESS_MAIN(WordRulesTest)
#include "tst_wordrules.moc"
