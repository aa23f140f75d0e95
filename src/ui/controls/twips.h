// Twips (1/1440 inch) to device-independent pixels at the screen's logical
// DPI: 15 twips are one pixel at 96 DPI, and the window keeps its proportions
// on screens set to larger text.
#pragma once

#include <QRect>
#include <QtMath>

namespace tq::ui {

class Twips
{
public:
    explicit Twips(qreal dpiX = 96, qreal dpiY = 96) : m_dpiX(dpiX), m_dpiY(dpiY) {}

    int x(qreal twips) const { return qRound(twips * m_dpiX / 1440); }
    int y(qreal twips) const { return qRound(twips * m_dpiY / 1440); }
    qreal fromX(int pixels) const { return pixels * 1440 / m_dpiX; }
    qreal fromY(int pixels) const { return pixels * 1440 / m_dpiY; }

    QRect rect(qreal left, qreal top, qreal width, qreal height) const
    {
        return QRect(x(left), y(top), x(width), y(height));
    }

private:
    qreal m_dpiX;
    qreal m_dpiY;
};

} // namespace tq::ui
