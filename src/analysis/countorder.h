// The list's order: most frequent first, in exactly the order a selection sort
// with exchange gives (which is not stable). Shared by the word table and the
// word families, which must come out in the same order for the same counts.
#pragma once

#include <QList>

#include <utility>
#include <vector>

namespace tq {

// Orders rows[1..] by their member count; rows[0] is not used. Row needs a
// count and a cheap swap.
//
// The selection sort picks, for each position i, the first row at or after i
// that holds the largest count, and exchanges it with row i. A segment tree
// over the rows answers "first largest at or after i" in O(log N), and an
// exchange only changes the two leaves involved, so the very same permutation
// comes out in O(N log N).
template<typename Row>
void sortRowsByCount(QList<Row> &rows)
{
    const qsizetype n = rows.size() - 1;
    if (n < 2)
        return;
    qsizetype size = 1;
    while (size < n)
        size *= 2;
    // tree[k] holds the row (1-based) of the first largest count below node k;
    // 0 stands for "no row".
    std::vector<qsizetype> tree(size_t(2 * size), 0);
    auto countOf = [&rows](qsizetype row) { return row == 0 ? qint64(-1) : qint64(rows[row].count); };
    auto better = [&](qsizetype a, qsizetype b) {
        // a lies before b, so a wins ties
        return countOf(b) > countOf(a) ? b : a;
    };
    for (qsizetype r = 1; r <= n; ++r)
        tree[size_t(size + r - 1)] = r;
    for (qsizetype k = size - 1; k >= 1; --k)
        tree[size_t(k)] = better(tree[size_t(2 * k)], tree[size_t(2 * k + 1)]);
    auto refresh = [&](qsizetype row) {
        qsizetype k = (size + row - 1) / 2;
        for (; k >= 1; k /= 2)
            tree[size_t(k)] = better(tree[size_t(2 * k)], tree[size_t(2 * k + 1)]);
    };
    auto firstLargestFrom = [&](qsizetype from) {
        // Walk the leaves from..n left to right through the tree's nodes.
        qsizetype best = 0;
        qsizetype lo = size + from - 1;
        qsizetype hi = size + n;   // one past the last leaf in use
        qsizetype rightNodes[64];
        int rightCount = 0;
        while (lo < hi) {
            if (lo & 1)
                best = better(best, tree[size_t(lo++)]);
            if (hi & 1)
                rightNodes[rightCount++] = --hi;
            lo /= 2;
            hi /= 2;
        }
        while (rightCount > 0)
            best = better(best, tree[size_t(rightNodes[--rightCount])]);
        return best;
    };
    for (qsizetype i = 1; i <= n - 1; ++i) {
        const qsizetype c = firstLargestFrom(i);
        if (c != i) {
            std::swap(rows[i], rows[c]);
            refresh(c);
        }
        // Row i is final; drop it so later queries cannot pick it.
        tree[size_t(size + i - 1)] = 0;
        refresh(i);
    }
}

} // namespace tq
