#include "wordfinder.h"

#include <map>

namespace tq {

WordFinder::WordFinder(const QStringList &words)
    : m_starts(size_t(1) << FilterBits)
    , m_singles(size_t(1) << 16)
{
    std::map<qsizetype, Group> byLength;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = lowerCase(words[i]);
        if (word.isEmpty())
            continue;
        quint64 h = 0;
        for (QChar c : word)
            h = h * Base + c.unicode();
        Group &group = byLength.try_emplace(word.size(), word.size()).first->second;
        group.seen[bucket(h)] = true;
        const char16_t *u = reinterpret_cast<const char16_t *>(word.utf16());
        if (word.size() == 1)
            m_singles[u[0]] = true;
        else
            m_starts[bucket(pairOf(u[0], u[1]))] = true;
        group.table.push_back(Entry{h, word, i});
        m_longest = std::max(m_longest, word.size());
    }
    for (auto &[length, group] : byLength) {
        std::sort(group.table.begin(), group.table.end(),
                  [](const Entry &a, const Entry &b) { return a.hash < b.hash; });
        m_groups.push_back(std::move(group));
    }
}

} // namespace tq
