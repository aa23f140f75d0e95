// Shared by the engine tests: controls that record what a pass writes, and a
// one-call way to run a pass over a text and keep everything it
// left behind, so a test can compare whole outcomes.
#pragma once

#include "analysispass.h"
#include "highlighter.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "reference.h"
#include "runs.h"

#include <QStringList>

#include <functional>

namespace tq::testing {

class RecordingControls : public FixedControls
{
public:
    QList<float> values;   // every progress value, in order
    void setProgress(float percent) override
    {
        FixedControls::setProgress(percent);
        values.append(percent);
    }
};

// "0-2 red, 8 green": the runs of colour, ends included.
inline QString colourRuns(const MemorySurface &surface)
{
    auto name = [](quint64 c) -> QString {
        static const char *const names[] = {"red", "green", "blue", "magenta", "orange"};
        for (size_t i = 0; i < Palette.size(); ++i)
            if (Palette[i] == c)
                return QString::fromLatin1(names[i]);
        return QString::number(c);
    };
    QStringList out;
    for (const Run &r : runsOf(surface.text().size(), [&](qsizetype i) { return surface.colourAt(i); })) {
        const QString range = r.first == r.last ? QString::number(r.first)
                                                : QStringLiteral("%1-%2").arg(r.first).arg(r.last);
        out.append(range + u' ' + name(r.colour));
    }
    return out.join(QStringLiteral(", "));
}

struct PassRun
{
    MemorySurface surface;
    RecordingControls controls;
    MemoryList list;
    WordTable table;
    PassOptions options;
    PassOutcome outcome;
    int yields = 0;

    explicit PassRun(const QString &text) : surface(text) {}

    // onYield gets the number of the yield, counted from 1, and may edit the
    // surface or the controls; returning false ends the pass.
    void run(Algorithm algorithm = Algorithm::Fast,
             const std::function<bool(PassRun &, int)> &onYield = {})
    {
        outcome = runPass(algorithm, surface, controls, list, table, [&] {
            ++yields;
            return onYield ? onYield(*this, yields) : true;
        }, options);
    }
};

} // namespace tq::testing
