#include "stepping.h"

#include "textrules.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace tq {

std::optional<Span> stepThrough(const QList<Span> &sortedStops, Span from, Direction direction)
{
    if (sortedStops.isEmpty())
        return std::nullopt;
    if (direction == Direction::Forward) {
        const auto it = std::upper_bound(sortedStops.cbegin(), sortedStops.cend(), from);
        return it != sortedStops.cend() ? *it : sortedStops.first();
    }
    const auto it = std::lower_bound(sortedStops.cbegin(), sortedStops.cend(), from);
    return it != sortedStops.cbegin() ? *(it - 1) : sortedStops.last();
}

namespace {

class Runs
{
public:
    explicit Runs(const QList<Colour> &colours) : c(colours.constData()), size(colours.size()) {}

    bool startsAt(qsizetype i) const { return c[i] != 0 && (i == 0 || c[i - 1] != c[i]); }

    Span at(qsizetype start) const
    {
        qsizetype end = start + 1;
        while (end < size && c[end] == c[start])
            ++end;
        return {start, end - start};
    }

    // The first run starting in [from, size), if any.
    std::optional<Span> firstFrom(qsizetype from) const
    {
        for (qsizetype i = from; i < size; ++i) {
            if (startsAt(i))
                return at(i);
        }
        return std::nullopt;
    }

    // The last run starting in [0, before), if any.
    std::optional<Span> lastBefore(qsizetype before) const
    {
        for (qsizetype i = std::min(before, size) - 1; i >= 0; --i) {
            if (startsAt(i))
                return at(i);
        }
        return std::nullopt;
    }

    const Colour *c;
    qsizetype size;
};

} // namespace

std::optional<Span> stepThroughRuns(const QList<Colour> &colours, Span from, Direction direction)
{
    const Runs runs(colours);
    const qsizetype p = std::clamp<qsizetype>(from.start, 0, runs.size);
    // A run starting right at the selection comes before or after it by
    // length, as in stepThrough.
    const std::optional<Span> here =
        p < runs.size && runs.startsAt(p) ? std::optional<Span>(runs.at(p)) : std::nullopt;
    if (direction == Direction::Forward) {
        if (here && *here > from)
            return here;
        if (std::optional<Span> next = runs.firstFrom(p + 1))
            return next;
        return runs.firstFrom(0);
    }
    if (here && *here < from)
        return here;
    if (std::optional<Span> previous = runs.lastBefore(p))
        return previous;
    return runs.lastBefore(runs.size);
}

namespace {

constexpr quint64 HashBase = 1000003;
constexpr size_t FewWords = 8;

quint64 hashOf(QStringView s)
{
    quint64 h = 0;
    for (QChar c : s)
        h = h * HashBase + c.unicode();
    return h;
}

// Calls found(wordIndex, offset) for every occurrence, overlapping ones
// included, of the words (all of one length, at least 1) in text, by one
// rolling-hash scan.
template<typename Found>
void scanOneLength(QStringView text, qsizetype length, const std::vector<QStringView> &words,
                   Found found)
{
    const qsizetype size = text.size();
    if (length > size)
        return;
    quint64 top = 1;   // HashBase^(length - 1)
    for (qsizetype i = 1; i < length; ++i)
        top *= HashBase;
    std::vector<std::pair<quint64, size_t>> table;
    for (size_t w = 0; w < words.size(); ++w)
        table.emplace_back(hashOf(words[w]), w);
    std::sort(table.begin(), table.end());

    const char16_t *units = text.utf16();
    const size_t bytes = size_t(length) * sizeof(char16_t);
    quint64 h = hashOf(text.first(length));
    for (qsizetype p = 0;; ++p) {
        auto it = std::lower_bound(table.begin(), table.end(), std::pair<quint64, size_t>(h, 0));
        for (; it != table.end() && it->first == h; ++it) {
            if (std::memcmp(words[it->second].utf16(), units + p, bytes) == 0)
                found(it->second, p);
        }
        if (p + length >= size)
            break;
        h = (h - units[p] * top) * HashBase + units[p + length];
    }
}

} // namespace

QList<Span> occurrencesOf(QStringView loweredText, const QStringList &loweredWords)
{
    QList<Span> stops;
    const qsizetype size = loweredText.size();
    if (size < 2)
        return stops;   // the bolding's search never starts
    std::map<qsizetype, std::vector<QStringView>> byLength;
    for (const QString &w : loweredWords) {
        if (!w.isEmpty())
            byLength[w.size()].push_back(w);
    }
    for (const auto &group : byLength) {
        // Named copies: a lambda may not capture a structured binding (clang 14).
        const qsizetype length = group.first;
        const std::vector<QStringView> &words = group.second;
        // The bolding does not reach an occurrence on the last character
        // when the same word occurs just before it.
        std::vector<char> atSecondLast(words.size(), 0);
        auto found = [&](size_t w, qsizetype offset) {
            if (offset == size - 1 && atSecondLast[w])
                return;
            if (offset == size - 2)
                atSecondLast[w] = 1;
            stops.append(Span{offset, length});
        };
        // A few words are found fastest one by one; many at once by hash.
        if (words.size() <= FewWords) {
            for (size_t w = 0; w < words.size(); ++w) {
                for (qsizetype at = findLowered(loweredText, words[w], 0, size); at >= 0;
                     at = findLowered(loweredText, words[w], at + 1, size))
                    found(w, at);
            }
        } else {
            scanOneLength(loweredText, length, words, found);
        }
    }
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}

QStringList selectedWords(const ListSelection &list)
{
    QStringList words;
    for (qsizetype i = 0, n = list.count(); i < n; ++i) {
        if (list.isSelected(i))
            words.append(lowerCase(list.word(i)));
    }
    words.sort();
    words.removeDuplicates();
    return words;
}

std::optional<Span> OccurrenceStepper::step(const ListSelection &list, Span from,
                                            Direction direction)
{
    QStringList words = selectedWords(list);
    if (words.isEmpty())
        return std::nullopt;
    const quint64 version = m_surface.textVersion();
    if (!m_valid || version != m_version || words != m_words) {
        m_text.sync();
        m_stops = occurrencesOf(m_text.lowered(), words);
        m_words = std::move(words);
        m_version = version;
        m_valid = true;
    }
    return stepThrough(m_stops, from, direction);
}

} // namespace tq
