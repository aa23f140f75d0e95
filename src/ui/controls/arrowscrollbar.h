// A scroll bar whose Left and Right arrow keys move the thumb the way they
// point, as Page Down and End already do. Qt's horizontal scroll bar turns
// the two arrows the other way round, so Right would lower the value. Styles
// draw no focus on a scroll bar; this one shows the usual focus frame.
#pragma once

#include <QScrollBar>

namespace tq::ui {

class ArrowScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tq::ui
