// The word list that a pass publishes into.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tq {

struct ResultEntry
{
    QString line;   // "count - word", as shown
    QString word;   // the word itself, for finding its occurrences later
    // A family entry's words, in the order of the line (word is the first);
    // empty for a word entry.
    QStringList forms = {};
};

class ResultList
{
public:
    virtual ~ResultList() = default;
    virtual void clear() = 0;
    // Appends the entries at the end, in the given order.
    virtual void append(const QList<ResultEntry> &entries) = 0;
};

} // namespace tq
