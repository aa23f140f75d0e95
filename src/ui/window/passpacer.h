// When a running analysis pass lets the event loop in, and whether it may go
// on afterwards.
//
// The pass offers a visit after every token. Taking every offer costs far more
// than the pass itself on a long document, so a visit is made only once a
// few milliseconds have passed since the last one: a person cannot tell the
// difference, and the document can only change during a visit anyway.
//
// Every pass gets a number; starting a pass, or closing the window, makes
// every older pass stale, and a stale pass stops at its next resume.
#pragma once

#include <QtGlobal>

#include <functional>

namespace tq::ui {

class PassPacer
{
public:
    // Nanoseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;
    static qint64 steadyClock();

    // At least this long between the end of one visit and the next.
    static constexpr qint64 DefaultIntervalNs = 5'000'000;

    explicit PassPacer(Clock clock = steadyClock) : m_clock(std::move(clock)) {}
    virtual ~PassPacer() = default;

    // Starts counting for a new pass, which supersedes any pass running.
    virtual quint64 startPass();
    bool isCurrent(quint64 pass) const { return pass == m_current; }
    // Every pass still running ends at its next resume.
    void stopAll() { ++m_current; }

    bool visitDue() const;
    // A visit begins after the pass has handled this many tokens.
    virtual void visitStarting(qint64 tokens);
    void visitEnded();

    // How long the event loop waited at most during the last pass started,
    // between the start of the pass or the end of a visit and the next visit.
    qint64 longestWaitNs() const { return m_longestWaitNs; }

private:
    Clock m_clock;
    quint64 m_current = 0;
    qint64 m_waitingSince = 0;
    qint64 m_longestWaitNs = 0;
};

} // namespace tq::ui
