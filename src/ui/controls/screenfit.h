// Where the window opens on a screen.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tq::ui {

struct WindowPlace
{
    QSize size;           // the client area
    QPoint framePosition; // the frame's top-left corner
};

// At the design size where that fits the screen's available area together
// with the frame around it, else as large as fits, but never under the
// minimum; centred in the area. A window larger than the area keeps its
// top-left corner in it, so that its title bar stays within reach.
WindowPlace placeOnScreen(QSize design, QSize minimum, QRect available, QMargins frame);

} // namespace tq::ui
