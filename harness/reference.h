// The straightforward analysis pass and bolding: the same results as the
// engine's, reached the obvious way (the text read afresh at every use, a
// linear search for each word, a selection sort, one case-insensitive search
// after another). The tests and the fuzzer check the engine against them, and
// the headless driver runs the pass on request; the program never uses them.
#pragma once

#include "analysispass.h"
#include "browsecommands.h"

namespace tq {

enum class Algorithm {
    Fast,              // the engine's pass
    Straightforward,   // the reference pass below
};

PassOutcome referencePass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                          const YieldFunction &yield, const PassOptions &options = {},
                          const QLocale &locale = QLocale());

// Either pass; the table is the engine's and only the fast pass uses it.
PassOutcome runPass(Algorithm algorithm, TextSurface &surface, AnalysisControls &controls,
                    ResultList &list, WordTable &table, const YieldFunction &yield,
                    const PassOptions &options = {}, const QLocale &locale = QLocale());

// The selection sort with exchange, most frequent first, over rows in
// first-occurrence order.
void selectionSortByCount(QList<WordTable::Row> &rows);

// The offsets that boldSelectedWords bolds for one word, in order. The search
// starts one character after each match, and stops once the search position
// reaches the text's length, so a match on the last character alone is not
// found and a one-character document is never searched.
QList<qsizetype> occurrencesToBold(const QString &text, const QString &word);

// The bold of boldSelectedWords as a plain loop over the selected entries,
// one search per occurrence (the selection it leaves is not the same).
void referenceBold(TextSurface &surface, const ListSelection &list);

} // namespace tq
