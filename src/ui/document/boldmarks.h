// Ticks along the document area's vertical scroll bar where bold lies in the
// whole text, as code editors mark search hits: while the writer has words
// bolded they see where in the book those words cluster. With no bold there
// are no ticks, so the scroll bar looks as it always did.
#pragma once

#include <QBasicTimer>
#include <QList>
#include <QWidget>

namespace tq::ui {

class DocumentArea;
class WidgetSurface;

class BoldMarks : public QWidget
{
    Q_OBJECT
public:
    BoldMarks(WidgetSurface &surface, DocumentArea *area);

    // The ticks, as runs of pixel rows of the scroll bar, [top, bottom).
    const QList<std::pair<int, int>> &ticks() const { return m_ticks; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void scheduleUpdate();
    void recompute();
    QRect groove() const;

    WidgetSurface &m_surface;
    DocumentArea *m_area;
    QList<std::pair<int, int>> m_ticks;
    QBasicTimer m_timer;
};

} // namespace tq::ui
