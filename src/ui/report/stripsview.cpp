#include "stripsview.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tq::ui {

namespace {

constexpr int Margin = 6;
constexpr int BarHeight = 18;
constexpr int RowGap = 6;
constexpr int ReachPx = 3;   // how far from a tick a click still chooses it

} // namespace

StripsView::StripsView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("stripsView"));
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StripsView::setContent(qsizetype textLength, QList<documents::Chapter> chapters, QList<Strip> strips)
{
    m_length = textLength;
    m_chapters = std::move(chapters);
    m_strips = std::move(strips);
    // Every strip gets its room; the scroll area around scrolls them.
    setMinimumHeight(sizeHint().height());
    updateGeometry();
    update();
}

int StripsView::labelWidth() const
{
    return std::clamp(width() / 4, 80, 220);
}

QSize StripsView::sizeHint() const
{
    return QSize(480, Margin + int(m_strips.size()) * (BarHeight + RowGap) + Margin);
}

QRect StripsView::barRect(qsizetype strip) const
{
    const int left = Margin + labelWidth() + Margin;
    return QRect(left, Margin + int(strip) * (BarHeight + RowGap), std::max(1, width() - left - Margin),
                 BarHeight);
}

int StripsView::xOf(qsizetype offset, const QRect &bar) const
{
    if (m_length <= 0)
        return bar.left();
    return bar.left() + int(double(offset) * double(bar.width() - 1) / double(m_length));
}

QRect StripsView::tickRect(qsizetype strip, Span occurrence) const
{
    const QRect bar = barRect(strip);
    return QRect(xOf(occurrence.start, bar), bar.top() + 2, 1, bar.height() - 4);
}

void StripsView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    for (qsizetype i = 0; i < m_strips.size(); ++i) {
        const QRect bar = barRect(i);
        const QRect label(Margin, bar.top(), labelWidth(), bar.height());
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawText(label, Qt::AlignVCenter | Qt::AlignLeft,
                         painter.fontMetrics().elidedText(m_strips[i].label, Qt::ElideRight, label.width()));
        painter.fillRect(bar, colours.color(QPalette::Base));
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
        for (const documents::Chapter &chapter : std::as_const(m_chapters)) {
            const int x = xOf(chapter.start, bar);
            painter.drawLine(x, bar.top(), x, bar.bottom());
        }
        // One tick per pixel column, however many occurrences fall in it.
        painter.setPen(colours.color(QPalette::Highlight));
        int last = -1;
        for (const Span &occurrence : m_strips[i].occurrences) {
            const int x = xOf(occurrence.start, bar);
            if (x != last)
                painter.drawLine(x, bar.top() + 2, x, bar.bottom() - 2);
            last = x;
        }
    }
}

std::optional<Span> StripsView::occurrenceAt(QPoint point) const
{
    for (qsizetype i = 0; i < m_strips.size(); ++i) {
        const QRect bar = barRect(i);
        if (!bar.adjusted(-ReachPx, 0, ReachPx, 0).contains(point))
            continue;
        const QList<Span> &occurrences = m_strips[i].occurrences;
        // The first occurrence whose tick is not left of the reach, then the nearest.
        auto it = std::partition_point(occurrences.begin(), occurrences.end(), [&](const Span &s) {
            return xOf(s.start, bar) < point.x() - ReachPx;
        });
        std::optional<Span> best;
        int bestDistance = ReachPx + 1;
        for (; it != occurrences.end() && xOf(it->start, bar) <= point.x() + ReachPx; ++it) {
            const int distance = std::abs(xOf(it->start, bar) - point.x());
            if (distance < bestDistance) {
                best = *it;
                bestDistance = distance;
            }
        }
        return best;
    }
    return std::nullopt;
}

void StripsView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<Span> occurrence = occurrenceAt(event->position().toPoint()))
            Q_EMIT occurrenceChosen(*occurrence);
    }
    QWidget::mousePressEvent(event);
}

// A chapter line names its chapter.
bool StripsView::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent *>(event)->pos();
    for (qsizetype i = 0; i < m_strips.size(); ++i) {
        const QRect bar = barRect(i);
        if (!bar.contains(at))
            continue;
        for (const documents::Chapter &chapter : std::as_const(m_chapters)) {
            if (std::abs(xOf(chapter.start, bar) - at.x()) <= ReachPx) {
                QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), chapter.title, this);
                return true;
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace tq::ui
