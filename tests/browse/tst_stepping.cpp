// Stepping through the occurrences of the chosen words and through the
// coloured runs.
#include "listselection.h"
#include "memorysurface.h"
#include "reference.h"
#include "stepping.h"
#include "textrules.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tq;

namespace tq {
char *toString(const Span &s)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(s.start).arg(s.length));
}
} // namespace tq

Q_DECLARE_METATYPE(tq::Span)
Q_DECLARE_METATYPE(std::optional<tq::Span>)
Q_DECLARE_METATYPE(tq::Direction)

namespace {

using Selection = TestSelection;

// "..RR.GG": one character per position, '.' uncoloured, any letter a colour.
QList<Colour> colours(const QString &picture)
{
    QList<Colour> out;
    for (QChar c : picture)
        out.append(c == u'.' ? 0 : Colour(c.unicode()));
    return out;
}

constexpr auto F = Direction::Forward;
constexpr auto B = Direction::Backward;

} // namespace

class TestStepping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stops_data()
    {
        QTest::addColumn<QList<Span>>("stops");
        QTest::addColumn<Span>("from");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<std::optional<Span>>("expected");

        const QList<Span> three = {{2, 3}, {10, 3}, {20, 3}};
        QTest::newRow("caret before the first") << three << Span{0, 0} << F << std::optional(Span{2, 3});
        QTest::newRow("caret on a start selects it") << three << Span{10, 0} << F << std::optional(Span{10, 3});
        QTest::newRow("from a selected stop to the next") << three << Span{10, 3} << F << std::optional(Span{20, 3});
        QTest::newRow("forward wraps to the first") << three << Span{20, 3} << F << std::optional(Span{2, 3});
        QTest::newRow("caret past the last wraps") << three << Span{30, 0} << F << std::optional(Span{2, 3});
        QTest::newRow("caret inside a stop, forward passes it") << three << Span{11, 0} << F << std::optional(Span{20, 3});
        QTest::newRow("caret inside a stop, backward selects it") << three << Span{11, 0} << B << std::optional(Span{10, 3});
        QTest::newRow("backward from a selected stop") << three << Span{10, 3} << B << std::optional(Span{2, 3});
        QTest::newRow("backward wraps to the last") << three << Span{2, 3} << B << std::optional(Span{20, 3});
        QTest::newRow("caret at the very start wraps back") << three << Span{0, 0} << B << std::optional(Span{20, 3});
        QTest::newRow("a lone stop wraps onto itself") << QList<Span>{{4, 2}} << Span{4, 2} << F << std::optional(Span{4, 2});

        const QList<Span> overlapping = {{0, 2}, {1, 2}, {2, 2}};
        QTest::newRow("overlapping, one by one forward") << overlapping << Span{0, 2} << F << std::optional(Span{1, 2});
        QTest::newRow("overlapping, one by one backward") << overlapping << Span{2, 2} << B << std::optional(Span{1, 2});
        const QList<Span> sameStart = {{5, 3}, {5, 4}};
        QTest::newRow("same start, shorter first") << sameStart << Span{5, 3} << F << std::optional(Span{5, 4});
        QTest::newRow("same start, back to the shorter") << sameStart << Span{5, 4} << B << std::optional(Span{5, 3});
        QTest::newRow("no stop") << QList<Span>{} << Span{0, 0} << F << std::optional<Span>();
    }

    void stops()
    {
        QFETCH(QList<Span>, stops);
        QFETCH(Span, from);
        QFETCH(Direction, direction);
        QFETCH(std::optional<Span>, expected);
        QCOMPARE(stepThrough(stops, from, direction), expected);
    }

    void runs_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<Span>("from");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<std::optional<Span>>("expected");

        QTest::newRow("first run") << "..RR..GG.." << Span{0, 0} << F << std::optional(Span{2, 2});
        QTest::newRow("from a run to the next") << "..RR..GG.." << Span{2, 2} << F << std::optional(Span{6, 2});
        QTest::newRow("forward wraps") << "..RR..GG.." << Span{6, 2} << F << std::optional(Span{2, 2});
        QTest::newRow("backward wraps") << "..RR..GG.." << Span{2, 2} << B << std::optional(Span{6, 2});
        QTest::newRow("caret inside, back to its run") << "..RRRR...." << Span{4, 0} << B << std::optional(Span{2, 4});
        QTest::newRow("caret inside, forward wraps past it") << "..RRRR...." << Span{4, 0} << F << std::optional(Span{2, 4});
        QTest::newRow("touching colours are two runs") << "RRGG" << Span{0, 2} << F << std::optional(Span{2, 2});
        QTest::newRow("touching colours, backward") << "RRGG" << Span{2, 2} << B << std::optional(Span{0, 2});
        QTest::newRow("run at the end") << "....RR" << Span{1, 0} << F << std::optional(Span{4, 2});
        QTest::newRow("run at the start, backward from the end") << "RR...." << Span{6, 0} << B << std::optional(Span{0, 2});
        QTest::newRow("selection longer than the run at its start") << "RR...." << Span{0, 5} << B << std::optional(Span{0, 2});
        QTest::newRow("caret past the end") << "RR.GG" << Span{99, 0} << B << std::optional(Span{3, 2});
        QTest::newRow("no colour") << "......" << Span{2, 0} << F << std::optional<Span>();
        QTest::newRow("empty document") << "" << Span{0, 0} << B << std::optional<Span>();
    }

    void runs()
    {
        QFETCH(QString, picture);
        QFETCH(Span, from);
        QFETCH(Direction, direction);
        QFETCH(std::optional<Span>, expected);
        QCOMPARE(stepThroughRuns(colours(picture), from, direction), expected);
    }

    // The stops are exactly what the bolding marks, word by word, down to
    // its rule at the last character.
    void occurrencesAreTheBoldedOnes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QList<Span>>("expected");

        QTest::newRow("any case, inside words") << "The other THE" << QStringList{"the"}
                                               << QList<Span>{{0, 3}, {5, 3}, {10, 3}};
        QTest::newRow("overlapping") << "aaaa" << QStringList{"aa"}
                                     << QList<Span>{{0, 2}, {1, 2}, {2, 2}};
        QTest::newRow("last character after a match") << "a aa" << QStringList{"a"}
                                                       << QList<Span>{{0, 1}, {2, 1}};
        QTest::newRow("last character alone") << "b  a" << QStringList{"a"} << QList<Span>{{3, 1}};
        QTest::newRow("one-character document") << "a" << QStringList{"a"} << QList<Span>{};
        QTest::newRow("two words, same start") << "them" << QStringList{"the", "them"}
                                               << QList<Span>{{0, 3}, {0, 4}};
        QTest::newRow("the empty word has nothing to select") << "a b" << QStringList{""}
                                                              << QList<Span>{};
    }

    void occurrencesAreTheBoldedOnes()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(QList<Span>, expected);
        QCOMPARE(occurrencesOf(lowerCase(text), words), expected);
    }

    // A few words are searched one by one, many by hash: both ways.
    void occurrencesMatchTheBoldingOnRandomTexts_data()
    {
        QTest::addColumn<int>("maxWords");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("a few words") << 3 << 2;
        QTest::newRow("many words") << 40 << 3;
    }
    void occurrencesMatchTheBoldingOnRandomTexts()
    {
        QFETCH(int, maxWords);
        QFETCH(int, maxLength);
        QRandomGenerator rng(11);
        const QString alphabet = QStringLiteral("abcAB ");
        for (int round = 0; round < 500; ++round) {
            QString text;
            for (int i = int(rng.bounded(14)); i > 0; --i)
                text += alphabet[rng.bounded(alphabet.size())];
            QStringList words;
            for (int w = int(rng.bounded(1, maxWords + 1)); w > 0; --w) {
                QString word;
                for (int i = int(rng.bounded(1, maxLength + 1)); i > 0; --i)
                    word += alphabet[rng.bounded(5)];
                words.append(lowerCase(word));
            }
            QList<Span> expected;
            for (const QString &w : words)
                for (qsizetype o : occurrencesToBold(text, w))
                    expected.append(Span{o, w.size()});
            std::sort(expected.begin(), expected.end());
            expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
            QVERIFY2(occurrencesOf(lowerCase(text), words) == expected,
                     qPrintable(text + u'|' + words.join(u',')));
        }
    }

    void stepperFollowsTheTextAndTheChoice()
    {
        MemorySurface surface(QStringLiteral("one two one"));
        Selection list;
        list.words = {"one", "two"};
        list.selected = {true, false};
        DocumentText document(surface);
        OccurrenceStepper stepper(surface, document);

        QCOMPARE(stepper.step(list, Span{1, 0}, F), std::optional(Span{8, 3}));
        // An edit moves the occurrences.
        surface.replace(0, 0, QStringLiteral("xx "));
        QCOMPARE(stepper.step(list, Span{1, 0}, F), std::optional(Span{3, 3}));
        // Another choice in the list, another set of stops.
        list.selected = {false, true};
        QCOMPARE(stepper.step(list, Span{0, 0}, F), std::optional(Span{7, 3}));
        // Case in the list does not matter.
        list.words[1] = "TWO";
        QCOMPARE(stepper.step(list, Span{0, 0}, B), std::optional(Span{7, 3}));
        // Nothing chosen, or a word that no longer occurs: no step.
        list.selected = {false, false};
        QCOMPARE(stepper.step(list, Span{0, 0}, F), std::optional<Span>());
        list.selected = {false, true};
        surface.setText(QStringLiteral("gone"));
        QCOMPARE(stepper.step(list, Span{0, 0}, F), std::optional<Span>());
    }
};

QTEST_GUILESS_MAIN(TestStepping)
#include "tst_stepping.moc"
