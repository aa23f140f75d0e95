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

    // Finds every occurrence of every selected word (grouped by length, at
    // least 1) in one walk over the text. A position is looked at closely
    // only where its first two units begin some selected word, or its first
    // unit is a one-unit word: prose has few such places, so a click costs
    // about one walk however many entries are selected. Each word's
    // occurrences are met in increasing order, as a search loop meets them.
    void scan(const std::map<qsizetype, std::vector<SelectedWord *>> &byLength)
    {
        std::vector<Group> groups;
        std::vector<bool> starts(size_t(1) << FilterBits);   // first two units
        std::vector<bool> singles(size_t(1) << 16);          // one-unit words
        for (const auto &[length, words] : byLength) {
            Group &group = groups.emplace_back(length);
            for (SelectedWord *w : words) {
                const quint64 h = hashOf(w->word);
                group.table.emplace_back(h, w);
                group.seen[bucket(h)] = true;
                const char16_t *u = reinterpret_cast<const char16_t *>(w->word.utf16());
                if (length == 1)
                    singles[u[0]] = true;
                else
                    starts[bucket(pairOf(u[0], u[1]))] = true;
            }
            std::sort(group.table.begin(), group.table.end(),
                      [](const auto &a, const auto &b) { return a.first < b.first; });
        }

        const qsizetype size = m_lowered.size();
        const char16_t *units = reinterpret_cast<const char16_t *>(m_lowered.utf16());
        for (qsizetype p = 0; p < size; ++p) {
            const bool single = singles[units[p]];
            const bool pair = p + 1 < size && starts[bucket(pairOf(units[p], units[p + 1]))];
            if (!single && !pair)
                continue;
            // The hash of the units from p on, grown to each group's length.
            quint64 h = 0;
            qsizetype hashed = 0;
            for (const Group &group : groups) {
                if (p + group.length > size)
                    break;
                if (group.length > 1 && !pair)
                    break;
                for (; hashed < group.length; ++hashed)
                    h = h * Base + units[p + hashed];
                if (!group.seen[bucket(h)])
                    continue;
                auto it = std::lower_bound(group.table.begin(), group.table.end(), h,
                                           [](const auto &e, quint64 v) { return e.first < v; });
                const size_t bytes = size_t(group.length) * sizeof(char16_t);
                for (; it != group.table.end() && it->first == h; ++it) {
                    if (std::memcmp(it->second->word.utf16(), units + p, bytes) == 0)
                        record(*it->second, p, group.length);
                }
            }
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

    // The selected words of one length, by hash; seen holds a bit per hash
    // bucket, so most positions are turned away before the table is searched.
    struct Group
    {
        explicit Group(qsizetype wordLength) : length(wordLength), seen(size_t(1) << FilterBits) {}
        qsizetype length;
        std::vector<std::pair<quint64, SelectedWord *>> table;
        std::vector<bool> seen;
    };

    static quint64 pairOf(char16_t first, char16_t second) { return quint64(first) << 16 | second; }

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
    plan.scan(byLength);
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
