// Shared by the engine tests: a list and controls that record what a pass
// writes, and a one-call way to run a pass over a text and keep everything it
// left behind, so a test can compare whole outcomes.
#pragma once

#include "analysispass.h"
#include "highlighter.h"
#include "memorysurface.h"

#include <QStringList>

#include <functional>

namespace tq::testing {

class CollectingList : public ResultList
{
public:
    QStringList lines;
    void clear() override { lines.clear(); }
    void append(const QList<ResultEntry> &entries) override
    {
        for (const ResultEntry &e : entries)
            lines.append(e.line);
    }
};

class RecordingControls : public FixedControls
{
public:
    QList<float> values;
    void setProgress(float percent) override
    {
        FixedControls::setProgress(percent);
        values.append(percent);
    }
};

// "0-2 red, 8 green": maximal runs of equal non-zero colour, ends included.
inline QString colourRuns(const MemorySurface &surface)
{
    auto name = [](Colour c) -> QString {
        static const char *const names[] = {"red", "green", "blue", "magenta", "orange"};
        for (size_t i = 0; i < Palette.size(); ++i)
            if (Palette[i] == c)
                return QString::fromLatin1(names[i]);
        return QString::number(c);
    };
    QStringList runs;
    const qsizetype size = surface.text().size();
    for (qsizetype i = 0; i < size;) {
        qsizetype j = i + 1;
        while (j < size && surface.colourAt(j) == surface.colourAt(i))
            ++j;
        if (surface.colourAt(i) != 0) {
            const QString range = j - 1 == i ? QString::number(i)
                                             : QStringLiteral("%1-%2").arg(i).arg(j - 1);
            runs.append(range + u' ' + name(surface.colourAt(i)));
        }
        i = j;
    }
    return runs.join(QStringLiteral(", "));
}

struct PassRun
{
    MemorySurface surface;
    RecordingControls controls;
    CollectingList list;
    WordTable table;
    PassOutcome outcome;
    int yields = 0;

    explicit PassRun(const QString &text) : surface(text) {}

    // onYield gets the number of the yield, counted from 1, and may edit the
    // surface or the controls; returning false ends the pass.
    void run(Algorithm algorithm = Algorithm::Fast,
             const std::function<bool(PassRun &, int)> &onYield = {})
    {
        outcome = runAnalysisPass(surface, controls, list, table, [&] {
            ++yields;
            return onYield ? onYield(*this, yields) : true;
        }, algorithm);
    }
};

} // namespace tq::testing
