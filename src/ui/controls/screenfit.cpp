#include "screenfit.h"

#include <algorithm>

namespace tq::ui {

WindowPlace placeOnScreen(QSize design, QSize minimum, QRect available, QMargins frame)
{
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize room = available.size() - frameSize;
    const QSize size = design.boundedTo(room).expandedTo(minimum);
    const QSize outer = size + frameSize;
    const int x = available.x() + std::max(0, (available.width() - outer.width()) / 2);
    const int y = available.y() + std::max(0, (available.height() - outer.height()) / 2);
    return WindowPlace{size, QPoint(x, y)};
}

} // namespace tq::ui
