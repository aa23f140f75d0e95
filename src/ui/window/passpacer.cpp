#include "passpacer.h"

#include <chrono>

namespace tq::ui {

qint64 PassPacer::steadyClock()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

quint64 PassPacer::startPass()
{
    m_waitingSince = m_clock();
    m_longestWaitNs = 0;
    return ++m_current;
}

bool PassPacer::visitDue() const
{
    return m_clock() - m_waitingSince >= DefaultIntervalNs;
}

void PassPacer::visitStarting(qint64 tokens)
{
    Q_UNUSED(tokens);
    m_longestWaitNs = qMax(m_longestWaitNs, m_clock() - m_waitingSince);
}

void PassPacer::visitEnded()
{
    m_waitingSince = m_clock();
}

} // namespace tq::ui
