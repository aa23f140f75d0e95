// The window's icon, drawn here so that every size comes from one drawing: a
// small framed chart display, a white zig-zag over a green grid on black.
// Sizes up to 32 pixels use only colours of the classic 16-colour palette and
// no smoothing; icon/tallyquill.svg is the same drawing for the desktop.
#pragma once

#include <QIcon>
#include <QImage>

namespace tq::ui {

QImage renderAppIcon(int size);
QIcon appIcon();   // 16, 32, 48, 64, 128 and 256 pixels

} // namespace tq::ui
