#include "resizerule.h"

namespace tq::ui {

std::optional<PanelLayout> applyResizeRule(const std::function<QSizeF()> &clientSize,
                                           const std::function<void(QSizeF)> &grow)
{
    // Single precision throughout, so the minimum test and the panel sizes
    // are worked out from the very same client size values.
    auto width = [&] { return float(clientSize().width()); };
    auto height = [&] { return float(clientSize().height()); };

    if (width() < float(MinimumClient.width())) {
        grow(QSizeF(MinimumClient.width(), height()));
        if (width() < float(MinimumClient.width()))
            return std::nullopt;
    }
    if (height() < float(MinimumClient.height())) {
        grow(QSizeF(width(), MinimumClient.height()));
        if (height() < float(MinimumClient.height()))
            return std::nullopt;
    }
    PanelLayout layout;
    layout.documentSize = QSizeF(width() - 240.0f, height() - 2400.0f);
    layout.frameTop = height() - 2265.0f;
    return layout;
}

} // namespace tq::ui
