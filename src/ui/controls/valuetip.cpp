#include "valuetip.h"

#include <QAbstractSlider>
#include <QCursor>
#include <QPoint>
#include <QToolTip>

namespace tq::ui {

ValueTip::ValueTip(QAbstractSlider *slider, QString unit)
    : QObject(slider)
    , m_slider(slider)
    , m_unit(std::move(unit))
{
    connect(slider, &QAbstractSlider::valueChanged, this, &ValueTip::follow);
    connect(slider, &QAbstractSlider::sliderPressed, this, &ValueTip::follow);
    slider->setToolTip(text(slider->value()));
}

QString ValueTip::text(int value) const
{
    return QStringLiteral("%1 %2").arg(value).arg(m_unit);
}

void ValueTip::follow()
{
    const QString tip = text(m_slider->value());
    m_slider->setToolTip(tip);
    // A tooltip is not brought up by the pointer while a button is held, and
    // one in view would keep showing the old value.
    if (m_slider->isSliderDown() || (m_slider->underMouse() && QToolTip::isVisible()))
        QToolTip::showText(QCursor::pos(), tip, m_slider);
    // Moved by keys: the value shows below the control.
    else if (m_slider->hasFocus())
        QToolTip::showText(m_slider->mapToGlobal(QPoint(0, m_slider->height())), tip, m_slider);
}

} // namespace tq::ui
