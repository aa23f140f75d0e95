// One analysis pass over the document: the formatting is reset, every
// space-separated token is cleaned and counted, every token but the last is
// handed to the repetition highlighter, and at the end the table is ordered
// by count and published into the word list.
#pragma once

#include "controls.h"
#include "passoptions.h"
#include "phrases.h"
#include "resultlist.h"
#include "textsurface.h"
#include "wordforms.h"
#include "wordtable.h"

#include <QLocale>

#include <functional>

namespace tq {

// Called after every token but the last. The pass goes on when it returns
// true; false ends the pass at once, without counting, colouring or
// publishing anything more (a newer pass took over, or the window is closing).
using YieldFunction = std::function<bool()>;

struct PassOutcome
{
    bool completed = false;    // false when the yield ended the pass
    qint64 paletteIndex = 0;   // how far the colour cycle went
    QList<RepeatedPhrase> phrases = {};   // when asked for and the pass completed
    QList<WordFamily> families = {};      // when the list shows them and the pass completed
};

PassOutcome runAnalysisPass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                            WordTable &table, const YieldFunction &yield,
                            const PassOptions &options = {}, const QLocale &locale = QLocale());

// Colour 0 and no bold over the whole text, which is left selected.
void resetFormatting(TextSurface &surface);
// No bold over the whole text, which is left selected.
void clearBold(TextSurface &surface);

// "count - word"
QString listLine(const WordTable::Row &row);
// Orders the table by count and fills the list, without yielding: with the
// words, or with their families when wordForms names a stemmer's language.
// Returns the families (none for the plain list).
QList<WordFamily> publish(WordTable &table, ResultList &list, const QString &wordForms = QString());
// The entries of the plain word list, from a table ordered by count.
QList<ResultEntry> wordEntries(const WordTable &table);

} // namespace tq
