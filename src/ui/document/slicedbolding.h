// Bolding the words chosen in the list without freezing the window: the text
// in view is bolded at once, the rest of a book in slices between events. A
// newer choice takes over from unfinished work; a command that reads the
// bold has the rest done first, one that clears it drops the rest.
#pragma once

#include "adaptiveslicer.h"

#include <QBasicTimer>
#include <QObject>

#include <memory>

namespace tq {
class BoldJob;
class ListSelection;
}

namespace tq::ui {

class DocumentArea;
class WidgetSurface;

class SlicedBolding : public QObject
{
    Q_OBJECT
public:
    SlicedBolding(WidgetSurface &surface, DocumentArea *area, QObject *parent = nullptr);
    ~SlicedBolding() override;

    // Bolds the words selected in list now, dropping any unfinished bolding.
    void start(const ListSelection &list);
    // Does what is left at once.
    void finish();
    // Drops what is left.
    void cancel();
    bool isRunning() const { return m_job != nullptr; }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    // A slice of bolding, in characters, leaving room in the same turn of
    // the event loop for the surface's own slice of laying out bold. Slices
    // start small for every new choice of words: the time a character takes
    // depends on the words, from one common word to every word of a book.
    static constexpr AdaptiveSlicer::Limits BoldingSlices{5'000'000, 16 * 1024, 4 * 1024,
                                                          4 * 1024 * 1024};

    void boldView();
    bool step(qsizetype characters);

    WidgetSurface &m_surface;
    DocumentArea *m_area;
    std::unique_ptr<BoldJob> m_job;
    QBasicTimer m_timer;
    AdaptiveSlicer m_slicer{BoldingSlices};
};

} // namespace tq::ui
