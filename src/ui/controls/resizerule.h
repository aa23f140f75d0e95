// The layout rule that keeps the document area and the control panel in step
// with the window's client area, all in twips.
#pragma once

#include <QSizeF>

#include <functional>
#include <optional>

namespace tq::ui {

// The design client area and the smallest one allowed.
inline constexpr QSizeF DesignClient{8550, 8895};
inline constexpr QSizeF MinimumClient{8550, 4260};

struct PanelLayout
{
    QSizeF documentSize;   // the document area's width and height
    qreal frameTop = 0;    // Frame1's top
};

// Reads the client size afresh at each step, as the window may have changed
// it; grow(size) asks the window for a new client size. A window that stays
// below the minimum abandons the rule: nothing is to be moved.
std::optional<PanelLayout> applyResizeRule(const std::function<QSizeF()> &clientSize,
                                           const std::function<void(QSizeF)> &grow);

} // namespace tq::ui
