// Work done in slices between events, each slice as large as a time aim
// allows: the size of the next slice follows the time the last one took, so
// a slice stays near the aim whether a character costs little (plain text)
// or much (every word of a book bolded).
#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <algorithm>

namespace tq::ui {

class AdaptiveSlicer
{
public:
    struct Limits
    {
        qint64 aimNs;   // how long a slice should take
        qsizetype first;   // the size of the first slice, and after restart()
        qsizetype min;
        qsizetype max;
    };

    explicit constexpr AdaptiveSlicer(Limits limits) : m_limits(limits), m_size(limits.first) {}

    // How much the next slice should do.
    qsizetype size() const { return m_size; }
    // The next slice starts from the first size again: the cost of a unit
    // of work has changed.
    void restart() { m_size = m_limits.first; }

    // Runs work(size()) and learns from the time it took; returns what work returns.
    template<typename Work>
    auto run(Work work)
    {
        QElapsedTimer clock;
        clock.start();
        const auto result = work(m_size);
        learn(clock.nsecsElapsed());
        return result;
    }

    // A slice of size() took this long. The size changes by at most half or
    // double at a time, so one odd slice (a paint, another process) does
    // not throw it far off.
    void learn(qint64 tookNs)
    {
        const double ratio = double(m_limits.aimNs) / double(std::max<qint64>(tookNs, 1));
        const double next = double(m_size) * std::clamp(ratio, 0.5, 2.0);
        m_size = std::clamp<qsizetype>(qsizetype(next), m_limits.min, m_limits.max);
    }

private:
    Limits m_limits;
    qsizetype m_size;
};

} // namespace tq::ui
