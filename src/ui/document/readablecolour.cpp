#include "readablecolour.h"

#include <cmath>

namespace tq::ui {

namespace {

// Relative luminance of the colour as a display shows it (8 bits a channel).
qreal luminance(const QColor &colour)
{
    auto linear = [](int channel) {
        const qreal c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QRgb rgb = colour.rgb();
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

} // namespace

qreal contrastRatio(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDarkBackground(const QColor &background)
{
    return contrastRatio(Qt::white, background) > contrastRatio(Qt::black, background);
}

QColor readableOn(const QColor &colour, const QColor &background)
{
    if (!isDarkBackground(background) || contrastRatio(colour, background) >= ReadableContrast)
        return colour;
    // Lightness raises every channel, so the contrast grows with it, and white
    // always reaches the bound on a background that counts as dark.
    const qreal hue = colour.hslHueF();
    const qreal saturation = colour.hslSaturationF();
    auto at = [&](qreal lightness) {
        return QColor(QColor::fromHslF(hue, saturation, lightness).rgb());
    };
    qreal low = colour.lightnessF();   // too dark
    qreal high = 1;                    // readable
    for (int step = 0; step < 24; ++step) {
        const qreal middle = (low + high) / 2;
        (contrastRatio(at(middle), background) >= ReadableContrast ? high : low) = middle;
    }
    return at(high);
}

} // namespace tq::ui
