// Formatting read as maximal runs of equal non-zero values: the form in which
// the tests and the driver compare colour and bold.
#pragma once

#include <QList>
#include <QtGlobal>

namespace tq::testing {

struct Run
{
    qsizetype first;
    qsizetype last;   // both ends included
    quint64 colour;   // the value: a colour, or 1 for bold
    bool operator==(const Run &) const = default;
};

// The maximal runs of equal non-zero values of valueAt(0) .. valueAt(size - 1).
template<typename ValueAt>
QList<Run> runsOf(qsizetype size, ValueAt valueAt)
{
    QList<Run> runs;
    for (qsizetype i = 0; i < size;) {
        const quint64 value = quint64(valueAt(i));
        qsizetype j = i + 1;
        while (j < size && quint64(valueAt(j)) == value)
            ++j;
        if (value != 0)
            runs.append(Run{i, j - 1, value});
        i = j;
    }
    return runs;
}

} // namespace tq::testing
