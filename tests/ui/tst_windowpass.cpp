// "Analyze" in the real window: colours and selection read back from the
// document, the progress bar, and what a writer can do while a pass runs.
#include "testlocale.h"

#include "windowfixture.h"

#include "analysispass.h"
#include "floatprogressbar.h"
#include "memorylist.h"
#include "memorysurface.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

constexpr quint32 Red = 255;
constexpr quint32 Green = 41472;
constexpr quint32 Blue = 16711680;

enum Mode { NoFilters, Beginning, Complete };

void setMode(MainWindow &form, Mode mode)
{
    (mode == Beginning ? WindowProbe::beginningOption(form) : mode == Complete ? WindowProbe::completeWordsOption(form) : WindowProbe::noFiltersOption(form))->setChecked(true);
}

// The list a pass over text gives with the default settings, in memory.
QStringList expectedLines(const QString &text)
{
    tq::MemoryList list;
    tq::MemorySurface surface(text);
    tq::FixedControls controls;
    tq::WordTable table;
    tq::runAnalysisPass(surface, controls, list, table, [] { return true; });
    return list.lines();
}

} // namespace

class WindowPassTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Worked examples of the highlighter, through the window's controls.
    void colours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("minLength");
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<Run>>("colours");
        QTest::addColumn<QList<int>>("selection");   // start, end

        const QString fox = QStringLiteral("The quick brown fox jumps over the lazy dog.");
        QTest::newRow("fox, 20") << fox << "3" << 20 << int(NoFilters) << QList<Run>()
                                 << QList<int>{0, 44};
        QTest::newRow("fox, 31") << fox << "3" << 31 << int(NoFilters)
                                 << QList<Run>{{0, 2, Red}, {31, 33, Red}} << QList<int>{31, 34};
        QTest::newRow("initial document, 31")
            << fox + u'\n' << "3" << 31 << int(NoFilters)
            << QList<Run>{{0, 2, Red}, {31, 33, Red}} << QList<int>{31, 34};
        QTest::newRow("exactly 20 apart")
            << QStringLiteral("abc xxxxxxxxxxxxxxx abc q") << "3" << 20 << int(NoFilters)
            << QList<Run>{{0, 2, Red}, {20, 22, Red}} << QList<int>{20, 23};
        QTest::newRow("21 apart") << QStringLiteral("abc xxxxxxxxxxxxxxxx abc q") << "3" << 20
                                  << int(NoFilters) << QList<Run>() << QList<int>{0, 26};
        QTest::newRow("case ignored")
            << QStringLiteral("Alpha beta alpha, gamma beta") << "3" << 20 << int(NoFilters)
            << QList<Run>{{0, 4, Red}, {6, 9, Green}, {11, 15, Red}, {24, 27, Green}}
            << QList<int>{24, 28};
        QTest::newRow("cat dog") << QStringLiteral("cat dog cat dog cat") << "3" << 20
                                 << int(NoFilters)
                                 << QList<Run>{{0, 2, Red}, {4, 6, Red}, {8, 10, Red}, {12, 14, Red},
                                               {16, 18, Red}}
                                 << QList<int>{16, 19};
        QTest::newRow("apple banana")
            << QStringLiteral("apple apple apple banana banana") << "3" << 20 << int(NoFilters)
            << QList<Run>{{0, 4, Red}, {6, 10, Red}, {12, 16, Red}, {18, 23, Green}, {25, 30, Green}}
            << QList<int>{25, 31};
        const QString theme = QStringLiteral("the other theme the end");
        QTest::newRow("theme, no filters")
            << theme << "3" << 20 << int(NoFilters)
            << QList<Run>{{0, 2, Red}, {5, 7, Red}, {10, 12, Red}, {16, 18, Red}} << QList<int>{16, 19};
        QTest::newRow("theme, beginning")
            << theme << "3" << 20 << int(Beginning)
            << QList<Run>{{0, 2, Red}, {10, 12, Red}, {16, 18, Red}} << QList<int>{16, 19};
        QTest::newRow("theme, complete") << theme << "3" << 20 << int(Complete)
                                         << QList<Run>{{0, 2, Red}, {16, 18, Red}}
                                         << QList<int>{16, 19};
        QTest::newRow("line break is no word start")
            << QStringLiteral("word again\nword x") << "3" << 20 << int(Beginning) << QList<Run>()
            << QList<int>{0, 17};
        QTest::newRow("line break, no filters")
            << QStringLiteral("word again\nword x") << "3" << 20 << int(NoFilters)
            << QList<Run>{{0, 3, Red}, {11, 14, Red}} << QList<int>{11, 15};
        QTest::newRow("one letter") << QStringLiteral("I think I am") << "1" << 20 << int(NoFilters)
                                    << QList<Run>{{0, 0, Red}, {4, 4, Red}, {8, 8, Red}}
                                    << QList<int>{8, 9};
        QTest::newRow("empty tokens spend colours")
            << QStringLiteral("a  b  c") << "0" << 20 << int(NoFilters)
            << QList<Run>{{0, 0, Red}, {3, 3, Blue}} << QList<int>{0, 0};
    }
    void colours()
    {
        QFETCH(QString, text);
        QFETCH(QString, minLength);
        QFETCH(int, sensitivity);
        QFETCH(int, mode);
        QFETCH(QList<Run>, colours);
        QFETCH(QList<int>, selection);
        auto form = shownForm(text);
        WindowProbe::minLengthEdit(*form)->setText(minLength);
        WindowProbe::sensitivityBar(*form)->setValue(sensitivity);
        setMode(*form, Mode(mode));
        QTest::mouseClick(WindowProbe::analyzeButton(*form), Qt::LeftButton);

        QCOMPARE(colourRuns(*form), colours);
        QCOMPARE(paintedRuns(*form), colours);   // all of these texts are in view
        QCOMPARE(boldRuns(*form), QList<Run>());
        // The analysis's own working range; the writer's caret stays put.
        if (selection != QList<int>{0, 0})
            QCOMPARE((QList<int>{int(WindowProbe::selStart(*form)),
                                 int(WindowProbe::selStart(*form) + WindowProbe::selLength(*form))}),
                     selection);
        QCOMPARE(WindowProbe::documentArea(*form)->textCursor().position(), 0);
        QVERIFY(!WindowProbe::documentArea(*form)->textCursor().hasSelection());
        QCOMPARE(WindowProbe::progressBar(*form)->floatValue(), 100.0f);
        QCOMPARE(listLines(*form).size(), WindowProbe::wordList(*form)->count());
    }

    void progressOfAShortPass()
    {
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("ab cd ef"), &pacer);
        WindowProbe::progressBar(*form)->setFloatValue(100);   // as an earlier pass leaves it
        QList<float> seen;
        pacer.setVisitHook([&](qint64) { seen.append(WindowProbe::progressBar(*form)->floatValue()); });
        WindowProbe::analyze(*form);
        // The last visit comes between ordering the list and filling the box.
        QCOMPARE(seen, (QList<float>{37.5f, 75.0f, 100.0f}));
        QCOMPARE(WindowProbe::progressBar(*form)->floatValue(), 100.0f);
        QCOMPARE(WindowProbe::progressBar(*form)->value(), 100);
    }

    // A setting changed while the pass yields acts from the next token on.
    void settingChangedDuringAPass_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("afterToken");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<Run>>("colours");
        QTest::addColumn<QStringList>("lines");
        const QString text = QStringLiteral("cat cat dog dog an an");
        QTest::newRow("unchanged") << text << 1 << "" << QList<Run>{{0, 2, Red}, {4, 6, Red}, {8, 10, Green}, {12, 14, Green}}
                                   << QStringList{"2 - cat", "2 - dog", "2 - an"};
        QTest::newRow("minimum length 4") << text << 1 << "minLength"
                                          << QList<Run>{{0, 2, Red}, {4, 6, Red}}
                                          << QStringList{"2 - cat", "2 - dog", "2 - an"};
        QTest::newRow("filter on") << text << 4 << "filter"
                                   << QList<Run>{{0, 2, Red}, {4, 6, Red}, {8, 10, Green}, {12, 14, Green}}
                                   << QStringList{"2 - cat", "2 - dog"};
        QTest::newRow("complete words") << text << 2 << "complete"
                                        << QList<Run>{{0, 2, Red}, {4, 6, Red}, {8, 10, Green}, {12, 14, Green}}
                                        << QStringList{"2 - cat", "2 - dog", "2 - an"};
        QTest::newRow("complete words, earlier") << QStringLiteral("cat cat dog dog") << 2 << "complete"
                                        << QList<Run>{{0, 2, Red}, {4, 6, Red}}
                                        << QStringList{"2 - cat", "2 - dog"};
    }
    void settingChangedDuringAPass()
    {
        QFETCH(QString, text);
        QFETCH(int, afterToken);
        QFETCH(QString, change);
        QFETCH(QList<Run>, colours);
        QFETCH(QStringList, lines);
        EveryTokenPacer pacer;
        auto form = shownForm(text, &pacer);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens != afterToken)
                return;
            if (change == u"minLength")
                WindowProbe::minLengthEdit(*form)->setText(QStringLiteral("4"));
            else if (change == u"filter")
                WindowProbe::filterCheck(*form)->setChecked(true);
            else if (change == u"complete")
                WindowProbe::completeWordsOption(*form)->setChecked(true);
        });
        WindowProbe::analyze(*form);
        QCOMPARE(colourRuns(*form), colours);
        QCOMPARE(listLines(*form), lines);
    }

    // Typing during a pass: the rest of the pass reads the new text.
    void typingDuringAPass()
    {
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("one two three four five"), &pacer);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 2) {
                QTextCursor c(WindowProbe::documentArea(*form)->document());
                c.movePosition(QTextCursor::End);
                c.insertText(QStringLiteral(" four"));
            }
        });
        WindowProbe::analyze(*form);
        QCOMPARE(listLines(*form).first(), QStringLiteral("2 - four"));
        QCOMPARE(colourRuns(*form), (QList<Run>{{14, 17, Red}, {24, 27, Red}}));
    }

    // Whatever empties or replaces the whole text during a pass stops it: the
    // list keeps no word of the text that is gone, nor the words the pass had
    // counted so far.
    void wholeTextGoneDuringAPass_data()
    {
        QTest::addColumn<bool>("clearAll");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("Clear All") << true << QString() << QString();
        QTest::newRow("select all, type") << false << QStringLiteral("new") << QStringLiteral("new");
    }

    void wholeTextGoneDuringAPass()
    {
        QFETCH(bool, clearAll);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("one two two three four five"), &pacer);
        WindowProbe::analyze(*form);   // an earlier result in the list
        const QStringList earlier = listLines(*form);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens != 3)
                return;
            if (clearAll) {
                QTest::mouseClick(WindowProbe::clearAllButton(*form), Qt::LeftButton);
                QCOMPARE(WindowProbe::wordList(*form)->count(), 0);
            } else {
                tq::ui::DocumentArea *area = WindowProbe::documentArea(*form);
                area->setFocus();
                area->selectAll();
                QTest::keyClicks(area, typed);
            }
        });
        WindowProbe::analyze(*form);
        QCOMPARE(WindowProbe::surface(*form).text(), text);
        // Typing over the text leaves the earlier list, as typing after a pass does.
        QCOMPARE(listLines(*form), clearAll ? QStringList() : earlier);
        QCOMPARE(colourRuns(*form), QList<Run>());
    }

    // A new list starts at its top, whatever the old one's scroll position.
    void newListStartsAtTop()
    {
        QString text;
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("w") + QChar(u'a' + i % 26) + QChar(u'a' + i / 26) + u' ';
        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        QScrollBar *bar = WindowProbe::wordList(*form)->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        WindowProbe::analyze(*form);
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), 0);
    }

    void clearFormattingDuringAPass()
    {
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("cat cat dog dog x"), &pacer);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 1) {
                QCOMPARE(colourRuns(*form), (QList<Run>{{0, 2, Red}, {4, 6, Red}}));
                QTest::mouseClick(WindowProbe::clearFormattingButton(*form), Qt::LeftButton);
                QCOMPARE(colourRuns(*form), QList<Run>());
            }
        });
        WindowProbe::analyze(*form);
        // The colour cycle goes on where it was.
        QCOMPARE(colourRuns(*form), (QList<Run>{{8, 10, Green}, {12, 14, Green}}));
    }

    // A second "Analyze" during a pass supersedes it: the first pass stops
    // when it resumes, so nothing is counted twice or published twice.
    void secondAnalyzeDuringAPass()
    {
        const QString text = QStringLiteral("a cat and a cat and the dog met the dog");
        EveryTokenPacer pacer;
        auto form = shownForm(text, &pacer);
        int published = 0;
        QObject::connect(WindowProbe::wordList(*form)->model(), &QAbstractItemModel::rowsInserted,
                         [&] { ++published; });
        int nested = 0;
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 3 && nested++ == 0)
                QTest::mouseClick(WindowProbe::analyzeButton(*form), Qt::LeftButton);
        });
        WindowProbe::analyze(*form);
        QCOMPARE(listLines(*form), expectedLines(text));
        QCOMPARE(WindowProbe::wordTable(*form).row(1).count, 2);
        QVERIFY(published > 0);
        const int once = published;
        published = 0;
        pacer.setVisitHook({});
        WindowProbe::analyze(*form);
        QCOMPARE(published, once);   // the superseded pass published nothing
        QCOMPARE(listLines(*form), expectedLines(text));
    }

    // Analyze pressed over and over during a pass: each press's pass starts
    // only after the one before has unwound, so every visit to the event
    // loop happens at the depths of a pass left alone however often it is pressed, and
    // the newest pass gives the result, counted once.
    void manyAnalyzePresses_data()
    {
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("everyNthVisit");
        QTest::newRow("one press") << 1 << 1;
        QTest::newRow("a press at every visit") << 60 << 1;
        QTest::newRow("two presses per visit") << 40 << 1;
        QTest::newRow("every third visit") << 30 << 3;
    }
    void manyAnalyzePresses()
    {
        QFETCH(int, presses);
        QFETCH(int, everyNthVisit);
        const bool twice = QByteArray(QTest::currentDataTag()).startsWith("two");
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("cat dog%1 ").arg(i % 7);
        EveryTokenPacer pacer;
        auto form = shownForm(text, &pacer);
        int published = 0;
        QObject::connect(WindowProbe::wordList(*form)->model(), &QAbstractItemModel::rowsInserted,
                         [&] { ++published; });
        // The stack depths of the visits of one pass left alone.
        quintptr shallowest = ~quintptr(0), deepest = 0;
        const auto noteDepth = [&] {
            char probe = 0;
            shallowest = qMin(shallowest, quintptr(&probe));
            deepest = qMax(deepest, quintptr(&probe));
        };
        pacer.setVisitHook([&](qint64) { noteDepth(); });
        WindowProbe::analyze(*form);
        const int once = std::exchange(published, 0);
        const quintptr aloneSpread = deepest - shallowest;
        shallowest = ~quintptr(0);
        deepest = 0;
        int visits = 0;
        int pressed = 0;
        pacer.setVisitHook([&](qint64) {
            noteDepth();
            if (pressed < presses && visits++ % everyNthVisit == 0) {
                for (int i = 0; i < (twice ? 2 : 1); ++i, ++pressed)
                    QTest::mouseClick(WindowProbe::analyzeButton(*form), Qt::LeftButton);
            }
        });
        WindowProbe::analyze(*form);
        QCOMPARE(pressed, presses + (twice && presses % 2 ? 1 : 0));
        QCOMPARE(deepest - shallowest, aloneSpread);
        QCOMPARE(published, once);   // only the newest pass got to the end
        QCOMPARE(listLines(*form), expectedLines(text));
        QCOMPARE(WindowProbe::wordTable(*form).row(1).count, 40);   // "cat", counted once
        QCOMPARE(WindowProbe::progressBar(*form)->floatValue(), 100.0f);
    }

    // With the normal pacing a pass visits the event loop once the interval
    // has passed, not at every token: on a clock that moves a fifth of the
    // interval at each reading, and so at each token, every fifth token. It
    // lets waiting events in then, and shows its progress meanwhile.
    void pacedVisitsDuringALongPass()
    {
        QString text;
        for (int i = 0; i < 300; ++i)
            text += QStringLiteral("word%1 again ").arg(i % 70);
        ProbePacer pacer([now = qint64(0)]() mutable {
            return now += tq::ui::PassPacer::DefaultIntervalNs / 5;
        });
        auto form = shownForm(text, &pacer);
        QList<qint64> visitedAt;
        pacer.setVisitHook([&](qint64 tokens) { visitedAt.append(tokens); });
        float progressWhenRun = -1;
        QTimer::singleShot(0, form.get(), [&] { progressWhenRun = WindowProbe::progressBar(*form)->floatValue(); });
        WindowProbe::analyze(*form);
        QCOMPARE(pacer.visits(), visitedAt.size());
        QVERIFY(visitedAt.size() > 100);
        for (qsizetype i = 0; i < visitedAt.size(); ++i)
            QCOMPARE(visitedAt[i], 5 * (i + 1));
        QVERIFY(progressWhenRun > 0 && progressWhenRun < 100);
        QCOMPARE(listLines(*form), expectedLines(text));
    }

    // Closing the window while a pass runs: the pass ends at its next resume,
    // without handling another token, and the program's event loop ends.
    void closingDuringAPass()
    {
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += QStringLiteral("word%1 ").arg(i % 50);
        EveryTokenPacer pacer;
        auto form = shownForm(text, &pacer);
        qint64 lastToken = 0;
        float progressAtClose = -1;
        pacer.setVisitHook([&](qint64 tokens) {
            lastToken = tokens;
            if (tokens == 10) {
                progressAtClose = WindowProbe::progressBar(*form)->floatValue();
                form->close();
            }
        });
        bool returned = false;
        QTimer::singleShot(0, form.get(), [&] {
            WindowProbe::analyze(*form);
            returned = true;
        });
        QApplication::exec();   // ends when the last window closes, as main() does

        QVERIFY(returned);
        QCOMPARE(lastToken, 10);   // no visit after the close
        QCOMPARE(pacer.visits(), 10);
        QCOMPARE(WindowProbe::progressBar(*form)->floatValue(), progressAtClose);   // nor another token
        QVERIFY(progressAtClose > 0 && progressAtClose < 100);
        QCOMPARE(WindowProbe::wordList(*form)->count(), 0);
    }
};

QTEST_MAIN(WindowPassTest)
#include "tst_windowpass.moc"
