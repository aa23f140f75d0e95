// A 0-100 progress bar that keeps the exact single-precision value written to
// it; the bar itself shows whole percents, so it repaints only when the shown
// value changes.
#pragma once

#include <QProgressBar>

namespace tq::ui {

class FloatProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit FloatProgressBar(QWidget *parent = nullptr);

    float floatValue() const { return m_value; }
    void setFloatValue(float value);

private:
    float m_value = 0;
};

} // namespace tq::ui
