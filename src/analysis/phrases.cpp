#include "phrases.h"

#include "textrules.h"

#include <algorithm>

namespace tq {

namespace {

constexpr qint32 LongestPhrase = 6;

// The ids of the phrases one word longer, keyed by (phrase id, next word id),
// in an open-addressed table: a book asks millions of times.
class LongerIds
{
public:
    explicit LongerIds(size_t expected)
    {
        while (m_mask + 1 < 2 * expected + 16) {
            m_mask = m_mask * 2 + 1;
            ++m_bits;
        }
        m_slots.assign(m_mask + 1, Slot{});
    }

    // The id of (phrase, word); next when the pair is new.
    qint32 idOf(qint32 phrase, qint32 word, qint32 next)
    {
        const quint64 key = (quint64(quint32(phrase)) << 32) | quint32(word);
        // The top bits of the product depend on every bit of the key.
        size_t slot = size_t((key * 0x9E3779B97F4A7C15ull) >> (64 - m_bits));
        for (;; slot = (slot + 1) & m_mask) {
            Slot &s = m_slots[slot];
            if (s.id < 0) {
                s = Slot{phrase, word, next};
                return next;
            }
            if (s.phrase == phrase && s.word == word)
                return s.id;
        }
    }

private:
    // Key and id side by side: a lookup in a book's table is a cache miss.
    struct Slot
    {
        qint32 phrase = -1;
        qint32 word = -1;
        qint32 id = -1;   // -1: empty
    };
    size_t m_mask = 15;
    int m_bits = 4;
    std::vector<Slot> m_slots;
};

// The phrases of one length: each start's phrase id, and per id its count,
// its first start and whether it holds a content word.
struct Level
{
    std::vector<qint32> at;   // by token; -1 where no phrase of this length starts
    std::vector<qint32> count;
    std::vector<qsizetype> first;
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

void PhraseFinder::addToken(QStringView cut, const CleanedToken &cleaned, QStringView word)
{
    m_clauseEnds.push_back(endsClause(cut.sliced(cleaned.tokenLength)));
    if (!takesPartInPhrases(cut, word)) {
        m_tokens.push_back(NoWord);
        return;
    }
    auto it = m_ids.find(word);
    if (it == m_ids.end()) {
        it = m_ids.emplace(word.toString(), qint32(m_words.size())).first;
        m_words.append(it->first);
    }
    m_tokens.push_back(it->second);
}

QList<RepeatedPhrase> PhraseFinder::phrases(const IgnoredWords &ignored, double minimumLength) const
{
    const qsizetype n = qsizetype(m_tokens.size());
    // Single words: the level the two-word phrases grow from.
    Level shorter;
    shorter.at = m_tokens;
    shorter.count.assign(size_t(m_words.size()), 0);
    std::vector<char> isContent(size_t(m_words.size()));
    for (qsizetype w = 0; w < m_words.size(); ++w)
        isContent[size_t(w)] = !ignored.contains(m_words[w]) && double(m_words[w].size()) >= minimumLength;
    shorter.content = isContent;
    for (qint32 w : m_tokens) {
        if (w != NoWord)
            ++shorter.count[size_t(w)];
    }

    struct Listed
    {
        qint32 count, words;
        qsizetype first;
    };
    std::vector<Listed> listed;
    auto list = [&listed](const Level &level, qint32 words) {
        for (size_t id = 0; id < level.count.size(); ++id) {
            if (level.count[id] >= 2 && level.content[id] && !level.dominated[id])
                listed.push_back({level.count[id], words, level.first[id]});
        }
    };

    for (qint32 length = 2; length <= LongestPhrase; ++length) {
        // Only a phrase that comes back can grow into one that comes back.
        auto grows = [&](qsizetype i) {
            const qint32 p = shorter.at[size_t(i)];
            return p >= 0 && shorter.count[size_t(p)] >= 2 && !m_clauseEnds[size_t(i + length - 2)]
                   && m_tokens[size_t(i + length - 1)] != NoWord;
        };
        size_t growing = 0;
        for (qsizetype i = 0; i + length <= n; ++i)
            growing += grows(i) ? 1 : 0;
        Level longer;
        longer.at.assign(size_t(n), -1);
        LongerIds ids(growing);
        for (qsizetype i = 0; i + length <= n; ++i) {
            if (!grows(i))
                continue;
            const qint32 p = shorter.at[size_t(i)];
            const qint32 w = m_tokens[size_t(i + length - 1)];
            const qint32 next = qint32(longer.count.size());
            const qint32 id = ids.idOf(p, w, next);
            if (id == next) {
                longer.count.push_back(0);
                longer.first.push_back(i);
                longer.content.push_back(shorter.content[size_t(p)] || isContent[size_t(w)]);
            }
            ++longer.count[size_t(id)];
            longer.at[size_t(i)] = id;
        }
        longer.dominated.assign(longer.count.size(), 0);
        if (length > 2) {
            // A phrase inside one a word longer is its first or its last words.
            shorter.dominated.assign(shorter.count.size(), 0);
            for (qsizetype i = 0; i + length <= n; ++i) {
                const qint32 q = longer.at[size_t(i)];
                if (q < 0 || longer.count[size_t(q)] < 2)
                    continue;
                for (const qint32 inside : {shorter.at[size_t(i)], shorter.at[size_t(i + 1)]}) {
                    if (inside >= 0 && shorter.count[size_t(inside)] == longer.count[size_t(q)])
                        shorter.dominated[size_t(inside)] = 1;
                }
            }
            list(shorter, length - 1);
        }
        shorter = std::move(longer);
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
    for (const Listed &l : listed) {
        QString text = m_words[m_tokens[size_t(l.first)]];
        for (qint32 j = 1; j < l.words; ++j)
            text += u' ' + m_words[m_tokens[size_t(l.first + j)]];
        out.append({text, l.count, l.words, l.first});
    }
    return out;
}

} // namespace tq
