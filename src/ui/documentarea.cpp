#include "documentarea.h"

#include <QScrollBar>

namespace tq::ui {

DocumentArea::DocumentArea(QWidget *parent)
    : QTextEdit(parent)
{
    // Pasted text comes in plain: a writer's prose, without the colours,
    // tables or pictures of the page it came from, so the only colours in
    // the document are the ones an analysis gives.
    setAcceptRichText(false);
}

std::pair<int, int> DocumentArea::visibleRange() const
{
    // Lines partly in view at either edge count as visible.
    constexpr int Margin = 256;
    const QRect view = viewport()->rect();
    const int first = cursorForPosition(view.topLeft()).position();
    const int last = cursorForPosition(view.bottomRight()).position();
    return {qMax(0, first - Margin), last + Margin};
}

DocumentArea::ViewTop DocumentArea::viewTop() const
{
    const QTextCursor top = cursorForPosition(QPoint(0, 0));
    return ViewTop{top.position(), cursorRect(top).top()};
}

void DocumentArea::restoreViewTop(const ViewTop &top)
{
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, top.position, document()->characterCount() - 1));
    const int moved = cursorRect(cursor).top() - top.y;
    if (moved != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + moved);
}

void DocumentArea::scrollContentsBy(int dx, int dy)
{
    QTextEdit::scrollContentsBy(dx, dy);
    Q_EMIT viewChanged();
}

void DocumentArea::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    Q_EMIT viewChanged();
}

} // namespace tq::ui
