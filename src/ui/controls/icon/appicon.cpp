#include "appicon.h"

#include <QPainter>
#include <QPixmap>

namespace tq::ui {

namespace {

// Colours of the 16-colour palette.
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Green(0, 128, 0);
const QColor Silver(192, 192, 192);
const QColor Grey(128, 128, 128);

// The drawing on a 32 by 32 grid.
const QRect Bezel(1, 2, 30, 26);
const QRect Screen(4, 5, 24, 20);
const QPoint Line[] = {{5, 21}, {10, 12}, {14, 17}, {19, 8}, {23, 14}, {26, 9}};

} // namespace

QImage renderAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const bool smooth = size > 32;
    p.setRenderHint(QPainter::Antialiasing, smooth);
    const qreal unit = size / 32.0;
    auto scaled = [&](const QRect &r) {
        return QRectF(r.x() * unit, r.y() * unit, r.width() * unit, r.height() * unit).toRect();
    };

    // The display's case, lit from the top left.
    const QRect bezel = scaled(Bezel);
    p.fillRect(bezel, Silver);
    p.fillRect(QRect(bezel.left(), bezel.bottom(), bezel.width(), 1), Grey);
    p.fillRect(QRect(bezel.right(), bezel.top(), 1, bezel.height()), Grey);
    p.fillRect(QRect(bezel.left(), bezel.top(), bezel.width(), 1), White);
    p.fillRect(QRect(bezel.left(), bezel.top(), 1, bezel.height()), White);

    const QRect screen = scaled(Screen);
    p.fillRect(screen, Black);
    // Grid lines every quarter of the screen.
    for (int i = 1; i < 4; ++i) {
        const int x = screen.left() + screen.width() * i / 4;
        const int y = screen.top() + screen.height() * i / 4;
        p.fillRect(QRect(x, screen.top(), qMax(1, size / 64), screen.height()), Green);
        if (i != 2 || size > 16)   // three rows of cells are plenty at 16 pixels
            p.fillRect(QRect(screen.left(), y, screen.width(), qMax(1, size / 64)), Green);
    }

    p.setClipRect(screen);
    if (smooth) {
        QPolygonF zigzag;
        for (const QPoint &pt : Line)
            zigzag << QPointF((pt.x() + 0.5) * unit, (pt.y() + 0.5) * unit);
        QPen pen(White, unit * 1.5);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.drawPolyline(zigzag);
    } else {
        // Pixel lines, one pixel thick per 16 pixels of icon, stacked
        // vertically so the line keeps its thickness on every slope.
        QPolygon zigzag;
        for (const QPoint &pt : Line)
            zigzag << QPoint(int(pt.x() * unit), int(pt.y() * unit));
        p.setPen(QPen(White, 0));
        for (int dy = 0; dy < qMax(1, size / 16); ++dy)
            p.drawPolyline(zigzag.translated(0, dy));
    }
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(renderAppIcon(size)));
    return icon;
}

} // namespace tq::ui
