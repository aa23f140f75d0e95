#include "wordfinder.h"

#include <map>

namespace tq {

WordFinder::WordFinder(const QStringList &words)
    : m_singles(size_t(1) << 16)
{
    std::map<qsizetype, std::vector<Entry>> byLength;
    qsizetype longer = 0;   // words of two units or more
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word.isEmpty())
            continue;
        quint64 h = 0;
        for (QChar c : word)
            h = h * Base + c.unicode();
        byLength[word.size()].push_back(Entry{h, word, i});
        longer += word.size() > 1;
        m_longest = std::max(m_longest, word.size());
    }
    m_starts = Filter(longer);
    for (auto &[length, table] : byLength) {
        const Filter seen(qsizetype(table.size()));
        Group &group = m_groups.emplace_back(Group{length, std::move(table), seen});
        std::sort(group.table.begin(), group.table.end(),
                  [](const Entry &a, const Entry &b) { return a.hash < b.hash; });
        for (const Entry &e : group.table) {
            group.seen.add(e.hash);
            const char16_t *u = reinterpret_cast<const char16_t *>(e.word.utf16());
            if (length == 1)
                m_singles[u[0]] = true;
            else
                m_starts.add(pairOf(u[0], u[1]));
        }
    }
}

} // namespace tq
