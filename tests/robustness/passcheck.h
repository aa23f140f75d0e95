// Runs a pass over a document with both algorithms and keeps what a test of
// hostile input looks at: the list, the coloured and bolded ranges, the text
// afterwards, the outcome and the progress values.
#pragma once

#include "analysispass.h"
#include "highlighter.h"
#include "memorysurface.h"
#include "passrun.h"

#include <QStringList>
#include <QTest>

#include <algorithm>

namespace tq::testing {

// Runs of offsets for which flagged(offset) holds, written "first-last" and
// separated by spaces; a single offset is written alone.
template<typename Flag>
QString runsText(qsizetype size, Flag flagged)
{
    QStringList out;
    for (const Run &r : runsOf(size, [&](qsizetype i) { return flagged(i) ? 1 : 0; }))
        out.append(r.first == r.last ? QString::number(r.first)
                                     : QString::number(r.first) + u'-' + QString::number(r.last));
    return out.join(u' ');
}

struct PassResult
{
    QString text;              // the document after the pass
    QStringList lines;
    QList<ResultEntry> entries;
    QString coloured;          // runs of coloured characters
    bool paletteOnly = true;   // every colour is one of the five
    bool anyBold = false;
    PassOutcome outcome;
    QList<float> progress;
    QString selection;         // "start+length" left by the pass
};

inline PassResult analyse(const QString &text, const FixedControls &settings,
                          Algorithm algorithm = Algorithm::Fast)
{
    MemorySurface surface(text);
    RecordingControls controls;
    static_cast<FixedControls &>(controls) = settings;
    MemoryList list;
    WordTable table;
    PassResult r;
    r.outcome = runPass(algorithm, surface, controls, list, table, [] { return true; });
    r.text = surface.text();
    r.entries = list.entries;
    r.lines = list.lines();
    r.coloured = runsText(r.text.size(), [&](qsizetype i) { return surface.colourAt(i) != 0; });
    for (qsizetype i = 0; i < r.text.size(); ++i) {
        const Colour c = surface.colourAt(i);
        if (c != 0 && std::find(Palette.begin(), Palette.end(), c) == Palette.end())
            r.paletteOnly = false;
        r.anyBold = r.anyBold || surface.boldAt(i);
    }
    r.progress = controls.values;
    r.selection = QString::number(surface.selStart()) + u'+' + QString::number(surface.selLength());
    return r;
}

// Both algorithms, with the checks every pass over any document must pass:
// it ran to its end, the two agree, the text is untouched, colours come from
// the palette, no bold is left, and the progress ends at 100 without leaving
// 0..100. A broken rule fails the current test; the caller then returns
// (QTest::currentTestFailed()). Fills result with the fast pass's result.
inline void analyseChecked(const QString &text, const FixedControls &settings, PassResult &result)
{
    result = analyse(text, settings, Algorithm::Fast);
    const PassResult reference = analyse(text, settings, Algorithm::Straightforward);
    QVERIFY2(result.text == text, "the pass changed the document text");
    QCOMPARE(result.lines, reference.lines);
    QCOMPARE(result.coloured, reference.coloured);
    QCOMPARE(result.outcome.paletteIndex, reference.outcome.paletteIndex);
    QCOMPARE(result.progress, reference.progress);
    QCOMPARE(result.selection, reference.selection);
    QVERIFY(result.outcome.completed);
    QVERIFY(result.paletteOnly);
    QVERIFY(!result.anyBold);
    QVERIFY(!result.progress.isEmpty());
    QCOMPARE(result.progress.back(), 100.0f);
    for (float p : result.progress)
        QVERIFY(p >= 0.0f && p <= 100.0f);
}

// "a b c ... z a b ..." with count one-letter words.
inline QString oneLetterWords(qsizetype count)
{
    QString text;
    text.reserve(2 * count);
    for (qsizetype i = 0; i < count; ++i) {
        if (i)
            text.append(u' ');
        text.append(QChar(char16_t(u'a' + i % 26)));
    }
    return text;
}

} // namespace tq::testing
