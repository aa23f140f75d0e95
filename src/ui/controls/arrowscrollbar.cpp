#include "arrowscrollbar.h"

#include <QKeyEvent>

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

} // namespace tq::ui
