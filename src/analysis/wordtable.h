// The table of counted words: rows from 1 in order of first occurrence until
// the publication orders them by count. Row 0 exists and is never used.
#pragma once

#include "stringhash.h"

#include <QHash>
#include <QList>
#include <QString>

#include <unordered_map>

namespace tq {

class WordTable
{
public:
    WordTable() { recreate(); }
    // The index views the rows' strings: a move keeps them where they are,
    // a copy could not share them.
    WordTable(WordTable &&) = default;
    WordTable &operator=(WordTable &&) = default;
    WordTable(const WordTable &) = delete;
    WordTable &operator=(const WordTable &) = delete;

    struct Row
    {
        QString word;   // lower case, possibly empty
        qint32 count = 0;
    };

    // Row 0 only, upper row bound 0: the state of a new table.
    void recreate();

    // Adds one to the row holding word (compared exactly), or appends a row;
    // returns the row.
    qsizetype count(QStringView word);

    // The row holding word, 0 when there is none.
    qsizetype rowOf(QStringView word) const
    {
        const auto it = m_index.find(word);
        return it == m_index.end() ? 0 : it->second;
    }

    qsizetype upperBound() const { return m_rows.isEmpty() ? 0 : m_rows.size() - 1; }
    const Row &row(qsizetype i) const { return m_rows.at(i); }

    // Orders rows 1..N by count, most frequent first, in exactly the order the
    // selection sort with exchange gives (which is not stable).
    void sortByCount();

private:
    QList<Row> m_rows;                 // m_rows[0] is the unused row 0
    // word -> row, beside the rows. The keys view the rows' own strings, whose
    // characters stay put however the rows move, so a lookup needs no copy.
    std::unordered_map<QStringView, qsizetype, StringViewHash> m_index;
};

} // namespace tq
