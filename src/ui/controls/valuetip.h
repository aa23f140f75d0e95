// A slider's value as its tooltip: the scroll bars of the form show no
// number, so the value is shown while the pointer rests on the control or
// drags it, or below it when keys move it, kept current as it changes. Screen readers read the value from
// the control itself.
#pragma once

#include <QObject>
#include <QString>

class QAbstractSlider;

namespace tq::ui {

class ValueTip : public QObject
{
    Q_OBJECT
public:
    // Belongs to the slider; unit follows the number ("120 characters").
    ValueTip(QAbstractSlider *slider, QString unit);

    QString text(int value) const;

private:
    void follow();

    QAbstractSlider *m_slider;
    QString m_unit;
};

} // namespace tq::ui
