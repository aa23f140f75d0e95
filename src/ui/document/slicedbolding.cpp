#include "slicedbolding.h"

#include "browsecommands.h"
#include "documentarea.h"
#include "widgetsurface.h"

#include <QElapsedTimer>
#include <QTimerEvent>

#include <algorithm>
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
    m_sliceCharacters = FirstSliceCharacters;
    // A text that one slice covers is bolded at once, with nothing left for later.
    if (m_surface.text().size() <= m_sliceCharacters) {
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

void SlicedBolding::step(qsizetype characters)
{
    const bool done = m_job->advance(characters);
    m_surface.flushFormatting();
    if (done)
        cancel();
}

void SlicedBolding::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QObject::timerEvent(event);
    QElapsedTimer clock;
    clock.start();
    step(m_sliceCharacters);
    const double ratio = double(SliceAimNs) / double(std::max<qint64>(clock.nsecsElapsed(), 1));
    const double grown = double(m_sliceCharacters) * std::clamp(ratio, 0.5, 2.0);
    m_sliceCharacters = std::clamp<qsizetype>(qsizetype(grown), MinSliceCharacters, MaxSliceCharacters);
}

} // namespace tq::ui
