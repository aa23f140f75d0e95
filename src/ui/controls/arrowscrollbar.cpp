#include "arrowscrollbar.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tq::ui {

void ArrowScrollBar::keyPressEvent(QKeyEvent *event)
{
    const bool left = event->key() == Qt::Key_Left;
    if (orientation() == Qt::Horizontal && (left || event->key() == Qt::Key_Right)) {
        // Right to left, the larger values lie to the left.
        triggerAction(left != isRightToLeft() ? SliderSingleStepSub : SliderSingleStepAdd);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

void ArrowScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

} // namespace tq::ui
