#include "browsecommands.h"

#include "analysispass.h"
#include "textrules.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace tq {

namespace {

// One selected word, and where a search loop ends up for it that starts one
// character after each match while the search position stays below the
// text's length, worked out from the word's occurrences instead of one search
// per occurrence: the loop finds every occurrence up to offset size - 2, and
// one on the last character only when none stands just before it.
struct SelectedWord
{
    QString word;                // lowered
    qsizetype last = -1;         // last occurrence the loop reaches, -1 if none
    bool atSecondLast = false;   // an occurrence at offset size - 2
};

class BoldPlan
{
public:
    explicit BoldPlan(const QString &lowered)
        : m_lowered(lowered)
        , m_bold(size_t(lowered.size()), 0)
    {
    }

    // Finds all occurrences of the given words, all of one length (at least
    // 1), with one rolling-hash scan of the text: selecting thousands of
    // entries costs one scan per distinct word length, not one per word.
    void scan(qsizetype length, const std::vector<SelectedWord *> &words)
    {
        const qsizetype size = m_lowered.size();
        if (length > size)
            return;
        quint64 top = 1;   // Base^(length - 1)
        for (qsizetype i = 1; i < length; ++i)
            top *= Base;

        // Most positions match nothing: a bit per hash bucket turns them
        // away before the sorted table is searched.
        std::vector<std::pair<quint64, SelectedWord *>> table;
        std::vector<bool> seen(size_t(1) << FilterBits);
        for (SelectedWord *w : words) {
            const quint64 h = hashOf(w->word);
            table.emplace_back(h, w);
            seen[bucket(h)] = true;
        }
        std::sort(table.begin(), table.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });

        const char16_t *units = reinterpret_cast<const char16_t *>(m_lowered.utf16());
        const size_t bytes = size_t(length) * sizeof(char16_t);
        quint64 h = hashOf(QStringView(units, length));
        for (qsizetype p = 0;; ++p) {
            if (seen[bucket(h)]) {
                auto it = std::lower_bound(table.begin(), table.end(), h,
                                           [](const auto &e, quint64 v) { return e.first < v; });
                for (; it != table.end() && it->first == h; ++it) {
                    if (std::memcmp(it->second->word.utf16(), units + p, bytes) == 0)
                        record(*it->second, p, length);
                }
            }
            if (p + length >= size)
                break;
            h = (h - units[p] * top) * Base + units[p + length];
        }
    }

    // The bolded characters as runs [start, end), in order.
    template<typename Apply>
    void forEachRun(Apply apply) const
    {
        const qsizetype size = qsizetype(m_bold.size());
        for (qsizetype i = 0; i < size;) {
            if (!m_bold[size_t(i)]) {
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < size && m_bold[size_t(j)])
                ++j;
            apply(i, j);
            i = j;
        }
    }

private:
    static constexpr quint64 Base = 1000003;
    static constexpr int FilterBits = 20;

    static quint64 hashOf(QStringView s)
    {
        quint64 h = 0;
        for (QChar c : s)
            h = h * Base + c.unicode();
        return h;
    }

    static size_t bucket(quint64 h) { return size_t((h * 0x9E3779B97F4A7C15ull) >> (64 - FilterBits)); }

    void record(SelectedWord &w, qsizetype offset, qsizetype length)
    {
        const qsizetype size = qsizetype(m_bold.size());
        if (offset == size - 1 && w.atSecondLast)
            return;   // the loop stopped at the occurrence before
        if (offset == size - 2)
            w.atSecondLast = true;
        w.last = offset;
        std::fill_n(m_bold.begin() + offset, length, 1);
    }

    const QString &m_lowered;
    std::vector<char> m_bold;
};

} // namespace

void boldSelectedWords(TextSurface &surface, const ListSelection &list)
{
    DocumentText document(surface);
    boldSelectedWords(surface, list, document);
}

void boldSelectedWords(TextSurface &surface, const ListSelection &list, DocumentText &document)
{
    ClearBold(surface);
    // The text does not change while this runs (only formatting does), so
    // one reading serves every search.
    document.sync();
    const QString &text = document.text();
    if (text.size() < 2)
        return;   // the search loop never starts

    // Each selected word once, grouped by length; list order is kept for
    // choosing the selection left at the end.
    std::vector<SelectedWord *> order;
    std::map<QString, SelectedWord> words;
    std::map<qsizetype, std::vector<SelectedWord *>> byLength;
    const qsizetype entries = list.count();
    for (qsizetype i = 0; i < entries; ++i) {
        if (!list.isSelected(i))
            continue;
        const QString word = lowerCase(list.word(i));
        auto [it, fresh] = words.try_emplace(word, SelectedWord{word});
        order.push_back(&it->second);
        if (fresh && !word.isEmpty())
            byLength[word.size()].push_back(&it->second);
    }
    if (order.empty())
        return;

    BoldPlan plan(document.lowered());
    for (const auto &[length, group] : byLength)
        plan.scan(length, group);
    plan.forEachRun([&](qsizetype start, qsizetype end) {
        surface.select(start, end - start);
        surface.setSelBold(true);
    });

    // The selection is left where the loop over the entries would leave it:
    // on the last occurrence reached for the last selected word that had one.
    // The empty word "occurs" at every search start, the last being size - 2.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const SelectedWord &w = **it;
        if (w.word.isEmpty()) {
            surface.select(text.size() - 2, 0);
            return;
        }
        if (w.last >= 0) {
            surface.select(w.last, w.word.size());
            return;
        }
    }
}

void clearAll(TextSurface &surface, ResultList &list)
{
    resetFormatting(surface);
    surface.setText(QString());
    list.clear();
}

} // namespace tq
