// The data of the word report: the word families with their forms' counts,
// the repeated phrases and the word list, from one pass over a copy of the
// text. Safe to run in a worker thread: it shares nothing with the caller
// but the values it is given.
#pragma once

#include "controls.h"
#include "passoptions.h"
#include "phrases.h"
#include "resultlist.h"
#include "wordforms.h"

#include <QList>
#include <QString>

#include <optional>

namespace tq {

// A part of a text, from offset first to offset last, both included.
struct TextRange
{
    qsizetype first = 0;
    qsizetype last = 0;
    bool operator==(const TextRange &) const = default;
};

struct WordReport
{
    QList<WordFamily> families;        // by the stemmer of the report's language
    QList<RepeatedPhrase> phrases;
    QList<ResultEntry> list;           // the word list as the options give it
};

// Runs a pass over text (only the range when there is one, cut to the
// text) with the phrases found and the words grouped by the stemmer of
// language. The list shows families when options.wordForms names a language
// (it is then grouped by language too), words otherwise. The colours and
// progress the pass makes are thrown away.
WordReport buildWordReport(const QString &text, const FixedControls &controls, const PassOptions &options,
                           const QString &language, const std::optional<TextRange> &range = std::nullopt);

} // namespace tq
