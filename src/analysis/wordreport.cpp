#include "wordreport.h"

#include "analysispass.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "rangesurface.h"

namespace tq {

WordReport buildWordReport(const QString &text, const FixedControls &controls, const PassOptions &options,
                           const QString &language, const std::optional<TextRange> &range)
{
    FixedControls pass = controls;
    PassOptions grouped = options;
    grouped.wordForms = language;
    grouped.phrases = true;
    MemorySurface surface(text);
    MemoryList families;
    WordTable table;
    PassOutcome outcome;
    if (range) {
        RangeSurface part(surface, range->first, range->last);
        outcome = runAnalysisPass(part, pass, families, table, {}, grouped);
    } else {
        outcome = runAnalysisPass(surface, pass, families, table, {}, grouped);
    }
    WordReport report{std::move(outcome.families), std::move(outcome.phrases), {}};
    // Grouping left the table ordered by count, as the plain list is.
    report.list = options.wordForms.isEmpty() ? wordEntries(table) : std::move(families.entries);
    return report;
}

} // namespace tq
