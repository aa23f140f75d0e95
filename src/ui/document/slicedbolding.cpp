#include "slicedbolding.h"

#include "browsecommands.h"
#include "documentarea.h"
#include "widgetsurface.h"

#include <QTimerEvent>

#include <limits>

namespace tq::ui {

SlicedBolding::SlicedBolding(WidgetSurface &surface, DocumentArea *area, QObject *parent)
    : QObject(parent)
    , m_surface(surface)
    , m_area(area)
{
    // Text scrolled into view while the slices run is bolded at once too.
    connect(area, &DocumentArea::viewChanged, this, [this] {
        if (m_job)
            boldView();
    });
}

SlicedBolding::~SlicedBolding() = default;

void SlicedBolding::start(const ListSelection &list)
{
    m_job = std::make_unique<BoldJob>(m_surface, list);
    m_slicer.restart();
    // A text that one slice covers is bolded at once, with nothing left for later.
    if (m_surface.text().size() <= m_slicer.size()) {
        finish();
        return;
    }
    boldView();
    m_timer.start(0, this);
}

void SlicedBolding::finish()
{
    if (m_job)
        step(std::numeric_limits<qsizetype>::max());
}

void SlicedBolding::cancel()
{
    m_job.reset();
    m_timer.stop();
}

void SlicedBolding::boldView()
{
    const auto [first, last] = m_area->visibleRange();
    m_job->boldAhead(first, last);
    m_surface.flushFormatting();
}

// Returns whether the bolding is done.
bool SlicedBolding::step(qsizetype characters)
{
    const bool done = m_job->advance(characters);
    m_surface.flushFormatting();
    if (done)
        cancel();
    return done;
}

void SlicedBolding::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QObject::timerEvent(event);
    m_slicer.run([this](qsizetype characters) { return step(characters); });
}

} // namespace tq::ui
