// Repeated phrases: runs of 2 to 6 words that come back, such as "took a deep
// breath", found among the tokens as the pass cuts them.
//
// A token ends a clause when what the trim took off its end holds one of
// . ! ? ; : or an ellipsis. A token whose text holds a line break, or whose
// word is empty, takes part in no phrase. A phrase occurrence is 2 to 6
// consecutive tokens of which none but the last ends a clause; every start
// counts, overlaps included. A phrase is listed when it occurs at least twice
// and holds a content word (not ignored, at least the minimum length long),
// unless a phrase one word longer that contains it has the same count.
#pragma once

#include "passoptions.h"
#include "stringhash.h"
#include "tokencleaner.h"
#include "wordtable.h"

#include <QList>
#include <QString>

#include <unordered_map>
#include <vector>

namespace tq {

struct RepeatedPhrase
{
    QString text;             // the words joined by one space
    qint32 count = 0;
    qint32 words = 0;
    qsizetype firstToken = 0;   // where the first occurrence starts, counted in tokens
    bool operator==(const RepeatedPhrase &) const = default;
};

// "count - phrase"
QString phraseLine(const RepeatedPhrase &phrase);

// Whether the characters the trim took off a token's end end a clause.
bool endsClause(QStringView trimmedOff);
// Whether a token (its text as cut, its lowered word) can be part of a
// phrase: its word is not empty and its text holds no line break.
bool takesPartInPhrases(QStringView cut, QStringView word);

// The tokens of one pass, one at a time, and the phrases among them.
class PhraseFinder
{
public:
    // cut is the token's text, cleaned what the cleaner made of it, word its
    // lowered word and row the word table's row that counted it (0 when the
    // token was not counted): a counted word needs no look-up of its own.
    void addToken(QStringView cut, const CleanedToken &cleaned, QStringView word, qsizetype row);

    // Listed phrases, by count, then more words first, then earlier first.
    // table is the one that counted the tokens, still in first-seen order.
    // minimumLength is the box's numeric prefix, 0 when it cannot be read.
    QList<RepeatedPhrase> phrases(const WordTable &table, const IgnoredWords &ignored,
                                  double minimumLength) const;

private:
    // Words of tokens the table did not count (ignored, or filtered out).
    std::unordered_map<QString, qint32, StringViewHash, StringViewEqual> m_uncountedIds;
    QList<QString> m_uncounted;
    // Each token's word: a table row (> 0), an uncounted word (-1 - its
    // index in m_uncounted) or 0 when the token takes no part.
    std::vector<qint32> m_tokens;
    std::vector<bool> m_clauseEnds;  // by token
};

} // namespace tq
