#include "phrases.h"

#include "textrules.h"

#include <algorithm>
#include <numeric>

namespace tq {

namespace {

constexpr qint32 LongestPhrase = 6;
constexpr qint32 NoPhrase = -1;

// The phrases of one length: each start's phrase id, and per id its count,
// its first start and whether it holds a content word.
struct Level
{
    std::vector<qint32> at;   // by token; NoPhrase where no phrase of this length starts
    std::vector<qint32> count;
    std::vector<qint32> first;
    std::vector<qint32> prefix;   // the phrase a word shorter it grew from
    std::vector<char> content;
    std::vector<char> dominated;   // a phrase one word longer has the same count
};

} // namespace

QString phraseLine(const RepeatedPhrase &phrase)
{
    return QString::number(phrase.count) + QStringLiteral(" - ") + phrase.text;
}

bool endsClause(QStringView trimmedOff)
{
    for (QChar c : trimmedOff) {
        switch (c.unicode()) {
        case u'.': case u'!': case u'?': case u';': case u':': case u'\u2026':
            return true;
        default:
            break;
        }
    }
    return false;
}

bool takesPartInPhrases(QStringView cut, QStringView word)
{
    return !word.isEmpty() && std::none_of(cut.begin(), cut.end(), [](QChar c) { return isLineBreak(c.unicode()); });
}

void PhraseFinder::addToken(QStringView cut, const CleanedToken &cleaned, QStringView word, qsizetype row)
{
    m_clauseEnds.push_back(endsClause(cut.sliced(cleaned.tokenLength)));
    if (!takesPartInPhrases(cut, word)) {
        m_tokens.push_back(0);
        return;
    }
    if (row > 0) {
        m_tokens.push_back(qint32(row));
        return;
    }
    auto it = m_uncountedIds.find(word);
    if (it == m_uncountedIds.end()) {
        it = m_uncountedIds.emplace(word.toString(), qint32(m_uncounted.size())).first;
        m_uncounted.append(it->first);
    }
    m_tokens.push_back(-1 - it->second);
}

QList<RepeatedPhrase> PhraseFinder::phrases(const WordTable &table, const IgnoredWords &ignored,
                                            double minimumLength) const
{
    // One id per word from 0: the table's rows, then the uncounted words
    // that never got a row (a word may be counted at one token and not at
    // another when the filter changes during the pass).
    QList<QString> words;
    words.reserve(table.upperBound() + m_uncounted.size());
    for (qsizetype r = 1; r <= table.upperBound(); ++r)
        words.append(table.row(r).word);
    std::vector<qint32> uncountedId(size_t(m_uncounted.size()));
    for (qsizetype u = 0; u < m_uncounted.size(); ++u) {
        const qsizetype row = table.rowOf(m_uncounted[u]);
        uncountedId[size_t(u)] = qint32(row > 0 ? row - 1 : words.size());
        if (row == 0)
            words.append(m_uncounted[u]);
    }
    const qint32 n = qint32(m_tokens.size());
    std::vector<qint32> tokens(m_tokens.size());
    for (qint32 i = 0; i < n; ++i) {
        const qint32 t = m_tokens[size_t(i)];
        tokens[size_t(i)] = t > 0 ? t - 1 : t < 0 ? uncountedId[size_t(-1 - t)] : NoPhrase;
    }

    // Single words: the level the two-word phrases grow from.
    Level shorter;
    shorter.count.assign(size_t(words.size()), 0);
    std::vector<char> isContent(size_t(words.size()));
    for (qsizetype w = 0; w < words.size(); ++w)
        isContent[size_t(w)] = !ignored.contains(words[w]) && double(words[w].size()) >= minimumLength;
    shorter.content = isContent;
    for (qint32 w : tokens) {
        if (w != NoPhrase)
            ++shorter.count[size_t(w)];
    }
    shorter.at = tokens;

    struct Listed
    {
        qint32 count, words, first;
    };
    std::vector<Listed> listed;
    auto list = [&listed](const Level &level, qint32 length) {
        for (size_t id = 0; id < level.count.size(); ++id) {
            if (level.count[id] >= 2 && level.content[id] && !level.dominated[id])
                listed.push_back({level.count[id], length, level.first[id]});
        }
    };

    // Scratch reused by every length: for each word, the last shorter phrase
    // that grew by it and into which id.
    std::vector<qint32> grownFrom(size_t(words.size()));
    std::vector<qint32> grownInto(size_t(words.size()));
    struct Start
    {
        qint32 token, word;
    };
    // The starts of the shorter phrases, in text order: no other start can
    // grow.
    std::vector<qint32> starts(static_cast<size_t>(n));
    std::iota(starts.begin(), starts.end(), 0);
    std::vector<qint32> growing;
    std::vector<Start> byShorter;
    std::vector<qint32> bucketEnd;
    for (qint32 length = 2; length <= LongestPhrase; ++length) {
        // Only a phrase that comes back can grow into one that comes back.
        growing.clear();
        bucketEnd.assign(shorter.count.size() + 1, 0);
        for (const qint32 i : starts) {
            if (i + length > n)
                break;
            const qint32 p = shorter.at[size_t(i)];
            if (p != NoPhrase && shorter.count[size_t(p)] >= 2 && !m_clauseEnds[size_t(i + length - 2)]
                && tokens[size_t(i + length - 1)] != NoPhrase) {
                growing.push_back(i);
                ++bucketEnd[size_t(p) + 1];
            }
        }
        // The growing starts grouped by their shorter phrase (a counting
        // sort, each group in text order), so that within a group the
        // longer phrases are told apart by their last word alone: a look-up
        // in arrays as small as the vocabulary instead of a hash table as
        // large as the text.
        for (size_t p = 1; p < bucketEnd.size(); ++p)
            bucketEnd[p] += bucketEnd[p - 1];
        byShorter.resize(growing.size());
        for (const qint32 i : growing)
            byShorter[size_t(bucketEnd[size_t(shorter.at[size_t(i)])]++)] = {i, tokens[size_t(i + length - 1)]};
        // Each bucket now ends where the next began.
        std::fill(grownFrom.begin(), grownFrom.end(), NoPhrase);
        Level longer;
        longer.at.assign(size_t(n), NoPhrase);
        size_t k = 0;
        for (size_t p = 0; p < shorter.count.size(); ++p) {
            for (const size_t end = size_t(bucketEnd[p]); k < end; ++k) {
                const auto [i, w] = byShorter[k];
                if (grownFrom[size_t(w)] != qint32(p)) {
                    grownFrom[size_t(w)] = qint32(p);
                    grownInto[size_t(w)] = qint32(longer.count.size());
                    longer.count.push_back(0);
                    longer.first.push_back(i);
                    longer.prefix.push_back(qint32(p));
                    longer.content.push_back(shorter.content[p] || isContent[size_t(w)]);
                }
                const qint32 id = grownInto[size_t(w)];
                ++longer.count[size_t(id)];
                longer.at[size_t(i)] = id;
            }
        }
        longer.dominated.assign(longer.count.size(), 0);
        if (length > 2) {
            // A phrase inside one a word longer is its first or its last
            // words. Every occurrence of the longer phrase starts with the
            // same shorter one and ends with the same shorter one (the one
            // at its first occurrence, a word on), so one look per phrase.
            shorter.dominated.assign(shorter.count.size(), 0);
            for (size_t q = 0; q < longer.count.size(); ++q) {
                if (longer.count[q] < 2)
                    continue;
                for (const qint32 inside : {longer.prefix[q], shorter.at[size_t(longer.first[q]) + 1]}) {
                    if (inside != NoPhrase && shorter.count[size_t(inside)] == longer.count[q])
                        shorter.dominated[size_t(inside)] = 1;
                }
            }
            list(shorter, length - 1);
        }
        shorter = std::move(longer);
        std::swap(starts, growing);
    }
    list(shorter, LongestPhrase);

    std::sort(listed.begin(), listed.end(), [](const Listed &a, const Listed &b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (a.words != b.words)
            return a.words > b.words;
        return a.first < b.first;
    });
    QList<RepeatedPhrase> out;
    out.reserve(qsizetype(listed.size()));
    const QList<QString> &wordOf = words;
    for (const Listed &l : listed) {
        const qint32 *phrase = tokens.data() + l.first;
        qsizetype size = l.words - 1;
        for (qint32 j = 0; j < l.words; ++j)
            size += wordOf[phrase[j]].size();
        QString text;
        text.reserve(size);
        text += wordOf[phrase[0]];
        for (qint32 j = 1; j < l.words; ++j) {
            text += u' ';
            text += wordOf[phrase[j]];
        }
        out.append({std::move(text), l.count, l.words, l.first});
    }
    return out;
}

} // namespace tq
