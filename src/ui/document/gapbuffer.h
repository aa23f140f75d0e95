// One value per character of a document, kept in step with its edits.
//
// The values sit in one array with a gap at the place of the last edit, so an
// edit moves only the values between it and the edit before: typing in the
// middle of a book costs what the typing does, not a shift of every value
// after it.
#pragma once

#include <QList>

#include <algorithm>
#include <iterator>

namespace tq::ui {

template<typename T>
class GapBuffer
{
public:
    GapBuffer() = default;
    explicit GapBuffer(qsizetype size) : m_data(size, T{}) {}

    qsizetype size() const { return m_data.size() - m_gapLength; }
    T at(qsizetype i) const { return m_data.at(physical(i)); }
    void set(qsizetype i, T value) { m_data[physical(i)] = value; }

    // Gives every value in [from, to) the value given; returns the span of
    // those that changed (empty when none did). Runs over the values in
    // place, a piece on each side of the gap, with no lookup per value.
    std::pair<qsizetype, qsizetype> assign(qsizetype from, qsizetype to, T value)
    {
        qsizetype first = to, last = from;
        auto piece = [&](qsizetype begin, qsizetype end) {
            // Logical [begin, end), all on one side of the gap.
            if (end <= begin)
                return;
            T *d = m_data.data() + physical(begin);
            T *e = d + (end - begin);
            T *changedBegin = std::find_if(d, e, [&](T v) { return v != value; });
            if (changedBegin == e)
                return;
            T *changedEnd = std::find_if(std::make_reverse_iterator(e), std::make_reverse_iterator(changedBegin),
                                         [&](T v) { return v != value; }).base();
            std::fill(changedBegin, changedEnd, value);
            first = std::min(first, begin + (changedBegin - d));
            last = std::max(last, begin + (changedEnd - d));
        };
        piece(from, std::min(to, m_gapStart));
        piece(std::max(from, m_gapStart), to);
        return {first, last};
    }

    // Whether any value in [from, to) is value.
    bool contains(qsizetype from, qsizetype to, T value) const
    {
        auto piece = [&](qsizetype begin, qsizetype end) {
            if (end <= begin)
                return false;
            const T *d = m_data.constData() + physical(begin);
            return std::find(d, d + (end - begin), value) != d + (end - begin);
        };
        from = std::max<qsizetype>(from, 0);
        to = std::min(to, size());
        return piece(from, std::min(to, m_gapStart)) || piece(std::max(from, m_gapStart), to);
    }

    // Removes removed values at at and puts added new ones there instead.
    void replace(qsizetype at, qsizetype removed, qsizetype added, T value = T{})
    {
        at = std::clamp<qsizetype>(at, 0, size());
        removed = std::clamp<qsizetype>(removed, 0, size() - at);
        added = std::max<qsizetype>(added, 0);
        moveGapTo(at);
        m_gapLength += removed;
        if (m_gapLength < added) {
            // A gap made roomy once keeps the next keystrokes from moving
            // the values after it again.
            const qsizetype grow = std::max(added - m_gapLength, MinGrowth);
            m_data.insert(m_gapStart, grow, T{});
            m_gapLength += grow;
        }
        std::fill_n(m_data.begin() + m_gapStart, added, value);
        m_gapStart += added;
        m_gapLength -= added;
    }

    void resize(qsizetype size)
    {
        if (size == this->size())
            return;
        if (size < this->size())
            replace(size, this->size() - size, 0);
        else
            replace(this->size(), 0, size - this->size());
    }

    // The values in one piece: closes the gap, which the next edit opens
    // again.
    const QList<T> &values() const
    {
        moveGapTo(size());
        m_data.resize(size());
        m_gapLength = 0;
        return m_data;
    }

private:
    static constexpr qsizetype MinGrowth = 4096;

    qsizetype physical(qsizetype i) const { return i < m_gapStart ? i : i + m_gapLength; }

    void moveGapTo(qsizetype at) const
    {
        if (m_gapLength == 0) {
            m_gapStart = at;
            return;
        }
        T *d = m_data.data();
        if (at < m_gapStart)
            std::move_backward(d + at, d + m_gapStart, d + m_gapStart + m_gapLength);
        else
            std::move(d + m_gapStart + m_gapLength, d + at + m_gapLength, d + m_gapStart);
        m_gapStart = at;
    }

    // Closing the gap for a reader changes no value, only where they sit.
    mutable QList<T> m_data;
    mutable qsizetype m_gapStart = 0;
    mutable qsizetype m_gapLength = 0;
};

} // namespace tq::ui
