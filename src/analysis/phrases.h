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
#include "tokencleaner.h"

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
    // lowered word.
    void addToken(QStringView cut, const CleanedToken &cleaned, QStringView word);

    // Listed phrases, by count, then more words first, then earlier first.
    // minimumLength is the box's numeric prefix, 0 when it cannot be read.
    QList<RepeatedPhrase> phrases(const IgnoredWords &ignored, double minimumLength) const;

private:
    static constexpr qint32 NoWord = -1;
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(QStringView s) const noexcept { return qHash(s); }
    };
    struct Equal
    {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    std::unordered_map<QString, qint32, Hash, Equal> m_ids;
    QList<QString> m_words;          // by id
    std::vector<qint32> m_tokens;    // each token's word id, NoWord when it takes no part
    std::vector<bool> m_clauseEnds;  // by token
};

} // namespace tq
