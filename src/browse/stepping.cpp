#include "stepping.h"

#include "textrules.h"
#include "wordfinder.h"

#include <algorithm>

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

QList<Span> occurrencesOf(QStringView text, const QStringList &words)
{
    QList<Span> stops;
    WordFinder(words).find(text, 0, text.size(), [&](qsizetype, qsizetype offset, qsizetype length) {
        stops.append(Span{offset, length});
    });
    // Found in order; a place where two of the words occur is one stop.
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}

QStringList selectedWords(const ListSelection &list)
{
    QStringList words;
    for (qsizetype i = 0, n = list.count(); i < n; ++i) {
        if (list.isSelected(i)) {
            for (const QString &word : list.words(i))
                words.append(lowerCase(word));
        }
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
        m_stops = occurrencesOf(m_text.text(), words);
        m_words = std::move(words);
        m_version = version;
        m_valid = true;
    }
    return stepThrough(m_stops, from, direction);
}

} // namespace tq
