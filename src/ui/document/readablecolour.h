// Highlight colours as drawn over the document's background. The pure colours
// the analysis uses read well on a light background but poorly on a dark one
// (blue on a dark grey is barely visible), so there each is drawn lighter, with
// its hue kept, until it stands out clearly. What is drawn changes, never the
// colour the document holds.
#pragma once

#include <QColor>

namespace tq::ui {

// The contrast the text of a highlight keeps with a dark background.
inline constexpr qreal ReadableContrast = 4.5;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white),
// from their relative luminance.
qreal contrastRatio(const QColor &a, const QColor &b);

// Whether light text reads better on this background than dark text does.
bool isDarkBackground(const QColor &background);

// The colour to draw a highlight in: on a light background the colour itself;
// on a dark one the colour with the same hue and saturation at the lowest
// lightness that reaches ReadableContrast against the background.
QColor readableOn(const QColor &colour, const QColor &background);

} // namespace tq::ui
