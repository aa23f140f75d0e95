// The table of counted words: rows from 1 in order of first occurrence until
// the publication orders them by count. Row 0 exists and is never used.
#pragma once

#include "algorithm.h"

#include <QHash>
#include <QList>
#include <QString>

namespace tq {

class WordTable
{
public:
    struct Row
    {
        QString word;   // lower case, possibly empty
        qint32 count = 0;
    };

    // Before the first pass the table does not exist at all.
    bool exists() const { return m_exists; }
    // Row 0 only, upper row bound 0.
    void recreate();

    // Adds one to the row holding word (compared exactly), or appends a row.
    void count(const QString &word, Algorithm algorithm = Algorithm::Fast);

    qsizetype upperBound() const { return m_rows.isEmpty() ? 0 : m_rows.size() - 1; }
    const Row &row(qsizetype i) const { return m_rows.at(i); }

    // Orders rows 1..N by count, most frequent first, in exactly the order the
    // selection sort with exchange gives (which is not stable).
    void sortByCount(Algorithm algorithm = Algorithm::Fast);

private:
    void straightforwardSort();
    void fastSort();

    bool m_exists = false;
    QList<Row> m_rows;                 // m_rows[0] is the unused row 0
    QHash<QString, qsizetype> m_index; // word -> row, beside the rows
};

} // namespace tq
