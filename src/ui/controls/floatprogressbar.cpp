#include "floatprogressbar.h"

#include <cmath>

namespace tq::ui {

FloatProgressBar::FloatProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void FloatProgressBar::setFloatValue(float value)
{
    m_value = value;
    // Truncated, so the bar shows full only once the pass is over.
    setValue(int(std::floor(qBound(0.0f, value, 100.0f))));
}

} // namespace tq::ui
