#include "wordbolder.h"

#include "analysispass.h"
#include "textrules.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <vector>

namespace tq {

QList<qsizetype> occurrencesToBold(const QString &text, const QString &word)
{
    QList<qsizetype> offsets;
    // Positions count from 1 here: s is where the next search starts.
    for (qsizetype s = 1; s < text.size();) {
        const qsizetype found = findIgnoringCase(text, word, s - 1) + 1;
        if (found == 0)
            break;
        offsets.append(found - 1);
        s = found + 1;
    }
    return offsets;
}

namespace {

// Where the search loop of occurrencesToBold ends up for one word, worked
// out from the word's occurrences instead of one search per occurrence: it
// finds every occurrence up to offset size - 2, and one on the last character
// only when none stands just before it.
struct WordHits
{
    qsizetype last = -1;              // last occurrence the loop reaches, -1 if none
    bool atSecondLast = false;        // an occurrence at offset size - 2
};

class BoldPlan
{
public:
    explicit BoldPlan(const QString &text) : m_text(text), m_lowered(lowerCase(text)) {}

    // Finds all occurrences of the given lowered words (all of one length,
    // at least 1) with one rolling-hash scan of the text, so that selecting
    // thousands of entries costs one scan per distinct word length.
    void scan(qsizetype length, const QHash<QString, WordHits *> &words)
    {
        const qsizetype size = m_lowered.size();
        if (length > size)
            return;
        constexpr quint64 Base = 1000003;
        quint64 top = 1;   // Base^(length - 1)
        for (qsizetype i = 1; i < length; ++i)
            top *= Base;
        QHash<quint64, QList<WordHits *>> byHash;
        QList<QString> keys = words.keys();
        for (const QString &w : keys)
            byHash[hashOf(w)].append(words.value(w));
        const char16_t *units = reinterpret_cast<const char16_t *>(m_lowered.utf16());
        quint64 h = hashOf(QStringView(units, length));
        for (qsizetype p = 0;; ++p) {
            if (auto it = byHash.constFind(h); it != byHash.cend()) {
                const QString candidate = QStringView(units + p, length).toString();
                if (WordHits *hits = words.value(candidate))
                    record(*hits, p, length);
            }
            if (p + length >= size)
                break;
            h = (h - units[p] * top) * Base + units[p + length];
        }
    }

    void markBold(qsizetype offset, qsizetype length)
    {
        m_ranges.emplace_back(offset, offset + length);
    }

    // The bold ranges merged into runs, in order.
    std::vector<std::pair<qsizetype, qsizetype>> runs()
    {
        std::sort(m_ranges.begin(), m_ranges.end());
        std::vector<std::pair<qsizetype, qsizetype>> merged;
        for (const auto &r : m_ranges) {
            if (!merged.empty() && r.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, r.second);
            else
                merged.push_back(r);
        }
        return merged;
    }

private:
    static quint64 hashOf(QStringView s)
    {
        quint64 h = 0;
        for (QChar c : s)
            h = h * 1000003 + c.unicode();
        return h;
    }

    void record(WordHits &hits, qsizetype offset, qsizetype length)
    {
        const qsizetype size = m_text.size();
        if (offset == size - 1 && hits.atSecondLast)
            return;   // the loop stopped at the occurrence before
        if (offset == size - 2)
            hits.atSecondLast = true;
        hits.last = offset;
        markBold(offset, length);
    }

    const QString &m_text;
    QString m_lowered;
    std::vector<std::pair<qsizetype, qsizetype>> m_ranges;
};

} // namespace

void boldSelectedWords(TextSurface &surface, const ListSelection &list)
{
    ClearBold(surface);
    // The text does not change while this runs (only formatting does), so
    // one reading serves every search.
    const QString text = surface.text();
    if (text.size() < 2)
        return;   // the search loop never starts

    // Each selected word once, grouped by length; list order is kept for
    // choosing the selection left at the end.
    std::vector<QString> order;
    std::map<QString, WordHits> hits;
    std::map<qsizetype, QHash<QString, WordHits *>> byLength;
    const qsizetype entries = list.count();
    for (qsizetype i = 0; i < entries; ++i) {
        if (!list.isSelected(i))
            continue;
        const QString word = lowerCase(list.word(i));
        order.push_back(word);
        auto [it, fresh] = hits.try_emplace(word);
        if (fresh && !word.isEmpty())
            byLength[word.size()].insert(word, &it->second);
    }
    if (order.empty())
        return;

    BoldPlan plan(text);
    for (const auto &[length, words] : byLength)
        plan.scan(length, words);
    for (const auto &[start, end] : plan.runs()) {
        surface.select(start, end - start);
        surface.setSelBold(true);
    }

    // The selection is left where the loop over the entries would leave it:
    // on the last occurrence reached for the last selected word that had one.
    // The empty word "occurs" at every search start, the last being size - 2.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (it->isEmpty()) {
            surface.select(text.size() - 2, 0);
            return;
        }
        if (const WordHits &h = hits[*it]; h.last >= 0) {
            surface.select(h.last, it->size());
            return;
        }
    }
}

void clearFormatting(TextSurface &surface)
{
    resetFormatting(surface);
}

void clearAll(TextSurface &surface, ResultList &list)
{
    resetFormatting(surface);
    surface.setText(QString());
    list.clear();
}

} // namespace tq
