// A word list held in memory: the entries exactly as published. Used with
// MemorySurface by the tests, the command-line driver and the benchmarks.
#pragma once

#include "resultlist.h"

#include <QStringList>

namespace tq {

class MemoryList : public ResultList
{
public:
    QList<ResultEntry> entries;

    void clear() override { entries.clear(); }
    void append(const QList<ResultEntry> &more) override { entries.append(more); }

    QStringList lines() const
    {
        QStringList out;
        for (const ResultEntry &e : entries)
            out.append(e.line);
        return out;
    }
};

} // namespace tq
