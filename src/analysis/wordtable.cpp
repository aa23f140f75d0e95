#include "wordtable.h"

#include "countorder.h"

namespace tq {

void WordTable::recreate()
{
    m_rows.clear();
    m_rows.append(Row{});
    m_index.clear();
}

qsizetype WordTable::count(QStringView word)
{
    if (auto it = m_index.find(word); it != m_index.end()) {
        ++m_rows[it->second].count;
        return it->second;
    }
    m_rows.append(Row{word.toString(), 1});
    m_index.emplace(QStringView(m_rows.constLast().word), m_rows.size() - 1);
    return m_rows.size() - 1;
}

// The index keeps answering lookups afterwards.
void WordTable::sortByCount()
{
    if (upperBound() < 2)
        return;
    sortRowsByCount(m_rows);
    for (qsizetype i = 1; i <= upperBound(); ++i)
        m_index[QStringView(m_rows[i].word)] = i;
}

} // namespace tq
