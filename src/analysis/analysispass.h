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
#include "yieldfunction.h"

#include <QLocale>

#include <optional>

namespace tq {

struct PassOutcome
{
    bool completed = false;    // false when the yield ended the pass
    qint64 paletteIndex = 0;   // how far the colour cycle went
    QList<RepeatedPhrase> phrases = {};   // when asked for and the pass completed
    QList<WordFamily> families = {};      // when the list shows them and the pass completed
};

// The yield is called after every token but the last. Grouping a book's
// words into families takes longer than a window may wait, so breathe, when
// given, is called word by word while they are grouped; either one ends the
// pass when it returns false.
PassOutcome runAnalysisPass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                            WordTable &table, const YieldFunction &yield,
                            const PassOptions &options = {}, const QLocale &locale = QLocale(),
                            const YieldFunction &breathe = {});

// Colour 0 and no bold over the whole text, which is left selected.
void resetFormatting(TextSurface &surface);
// No bold over the whole text, which is left selected.
void clearBold(TextSurface &surface);

// "count - word"
QString listLine(const WordTable::Row &row);
// Orders the table by count and fills the list: with the words, or with
// their families when wordForms names a stemmer's language, breathing while
// they are grouped. Returns the families (none for the plain list), or
// nothing, with the list untouched, when breathe ended the work.
std::optional<QList<WordFamily>> publish(WordTable &table, ResultList &list,
                                         const QString &wordForms = QString(),
                                         const YieldFunction &breathe = {});
// The entries of the plain word list, from a table ordered by count.
QList<ResultEntry> wordEntries(const WordTable &table);

} // namespace tq
