// Where a set of words occurs in a text, without regard to case, exactly as
// the bolding marks them: bolding searches for each word from the start,
// each search beginning one character after the last match and stopping once
// it reaches the text's length. So every occurrence counts, overlapping ones
// included, except one on the last character when the same word occurs just
// before it; and a text shorter than two characters is never searched.
//
// All the words are found in one walk over the text, and the walk can be cut
// into pieces of any size: a piece needs nothing from the ones before it.
#pragma once

#include "textrules.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace tq {

class WordFinder
{
public:
    // The words, lowered by lowerCase; an empty word never occurs.
    explicit WordFinder(const QStringList &words);

    // Length of the longest word (0 when there are none).
    qsizetype longest() const { return m_longest; }

    // Calls found(word, offset, length) for every occurrence that starts in
    // [from, to), word being its index in the words given. Occurrences come
    // ordered by offset, then by length.
    template<typename Found>
    void find(QStringView text, qsizetype from, qsizetype to, Found found) const
    {
        const qsizetype size = text.size();
        if (size < 2 || m_longest == 0)
            return;
        from = std::max<qsizetype>(from, 0);
        to = std::min(to, size);
        const char16_t *units = text.utf16();
        char16_t next = from < to ? lowerUnit(units[from]) : 0;
        for (qsizetype p = from; p < to; ++p) {
            const char16_t here = next;
            const bool hasNext = p + 1 < size;
            next = hasNext ? lowerUnit(units[p + 1]) : 0;
            const bool single = m_singles[here];
            const bool pair = hasNext && m_starts.mayHold(pairOf(here, next));
            if (!single && !pair)
                continue;
            // The hash of the units from p on, grown to each group's length.
            quint64 h = 0;
            qsizetype hashed = 0;
            for (const Group &group : m_groups) {
                if (p + group.length > size || (group.length > 1 && !pair))
                    break;
                for (; hashed < group.length; ++hashed)
                    h = h * Base + lowerUnit(units[p + hashed]);
                if (!group.seen.mayHold(h))
                    continue;
                auto it = std::lower_bound(group.table.begin(), group.table.end(), h,
                                           [](const Entry &e, quint64 v) { return e.hash < v; });
                for (; it != group.table.end() && it->hash == h; ++it) {
                    if (!matches(it->word, units + p))
                        continue;
                    // The search that found the word just before the last
                    // character stops there.
                    if (p == size - 1 && lowerUnit(units[p - 1]) == here)
                        continue;
                    found(it->index, p, group.length);
                }
            }
        }
    }

private:
    static constexpr quint64 Base = 1000003;

    struct Entry
    {
        quint64 hash;
        QString word;   // lowered
        qsizetype index;
    };

    // A bit per hash bucket, sized to what it holds: most positions are
    // turned away by one look at it.
    class Filter
    {
    public:
        explicit Filter(qsizetype entries = 0)
        {
            while (m_bits < 20 && (qsizetype(1) << m_bits) < 16 * entries)
                ++m_bits;
            m_set.assign(size_t(1) << m_bits, false);
        }
        void add(quint64 h) { m_set[bucket(h)] = true; }
        bool mayHold(quint64 h) const { return m_set[bucket(h)]; }

    private:
        size_t bucket(quint64 h) const { return size_t((h * 0x9E3779B97F4A7C15ull) >> (64 - m_bits)); }
        int m_bits = 6;
        std::vector<bool> m_set;
    };

    // The words of one length, by hash.
    struct Group
    {
        qsizetype length;
        std::vector<Entry> table;
        Filter seen;
    };

    static quint64 pairOf(char16_t first, char16_t second) { return quint64(first) << 16 | second; }
    static bool matches(const QString &lowered, const char16_t *units)
    {
        const char16_t *w = reinterpret_cast<const char16_t *>(lowered.utf16());
        for (qsizetype i = 0, n = lowered.size(); i < n; ++i) {
            if (w[i] != lowerUnit(units[i]))
                return false;
        }
        return true;
    }

    std::vector<Group> m_groups;       // by increasing length
    Filter m_starts;                   // the first two units of the longer words
    std::vector<bool> m_singles;       // the one-unit words
    qsizetype m_longest = 0;
};

} // namespace tq
