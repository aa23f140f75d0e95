#include "passpacer.h"

namespace tq::ui {

quint64 PassPacer::startPass()
{
    m_sinceVisit.start();
    m_longestWaitNs = 0;
    m_visits = 0;
    return ++m_current;
}

bool PassPacer::visitDue() const
{
    return m_everyToken || m_sinceVisit.nsecsElapsed() >= DefaultIntervalNs;
}

void PassPacer::visitStarting()
{
    m_longestWaitNs = qMax(m_longestWaitNs, m_sinceVisit.nsecsElapsed());
    ++m_visits;
}

void PassPacer::visitEnded()
{
    m_sinceVisit.start();
}

} // namespace tq::ui
