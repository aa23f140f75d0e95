#include "boldmarks.h"

#include "documentarea.h"
#include "widgetsurface.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace tq::ui {

namespace {

// Bolding a book in slices flushes many times a second; the ticks follow at
// this pace, not at every slice.
constexpr int UpdateDelayMs = 100;
constexpr int TickHeight = 2;

} // namespace

BoldMarks::BoldMarks(WidgetSurface &surface, DocumentArea *area)
    : QWidget(area->verticalScrollBar())
    , m_surface(surface)
    , m_area(area)
{
    setObjectName(QStringLiteral("boldMarks"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    parentWidget()->installEventFilter(this);
    resize(parentWidget()->size());
    connect(&surface, &WidgetSurface::boldChanged, this, &BoldMarks::scheduleUpdate);
    // Edits move the bold along; text without bold has nothing to move.
    connect(area->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_ticks.isEmpty())
            scheduleUpdate();
    });
}

void BoldMarks::scheduleUpdate()
{
    if (!m_timer.isActive())
        m_timer.start(UpdateDelayMs, this);
}

void BoldMarks::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QWidget::timerEvent(event);
    m_timer.stop();
    recompute();
}

bool BoldMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        resize(parentWidget()->size());
        recompute();
    }
    return QWidget::eventFilter(watched, event);
}

QRect BoldMarks::groove() const
{
    auto *bar = static_cast<QScrollBar *>(parentWidget());
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
}

// Each pixel row of the groove stands for the lines the scroll bar maps to
// it; it is ticked when their text holds bold. A row costs one lookup of
// its first line, so a book's ticks take a few hundred lookups and one look
// at each character at most.
void BoldMarks::recompute()
{
    QList<std::pair<int, int>> ticks;
    const QTextDocument *document = m_area->document();
    const QRect rows = groove();
    const qsizetype lines = document->lineCount();
    const qsizetype end = m_surface.text().size();
    if (rows.height() > 0 && lines > 0 && end > 0 && m_surface.anyBold(0, end)) {
        std::vector<qsizetype> starts(size_t(rows.height()) + 1, end);
        for (int row = 0; row < rows.height(); ++row) {
            const QTextBlock block =
                document->findBlockByLineNumber(int(qsizetype(row) * lines / rows.height()));
            if (block.isValid())
                starts[size_t(row)] = block.position();
        }
        for (int row = 0; row < rows.height(); ++row) {
            const qsizetype from = starts[size_t(row)];
            qsizetype to = starts[size_t(row) + 1];
            if (to <= from) {
                // Rows that share one paragraph all show it.
                const QTextBlock block = document->findBlock(int(from));
                to = block.position() + block.length();
            }
            if (!m_surface.anyBold(from, std::min(to, end)))
                continue;
            const int top = rows.top() + row;
            const int bottom = std::min(rows.top() + rows.height(), top + TickHeight);
            if (!ticks.isEmpty() && ticks.last().second >= top)
                ticks.last().second = std::max(ticks.last().second, bottom);
            else
                ticks.append({top, bottom});
        }
    }
    if (ticks != m_ticks) {
        m_ticks = std::move(ticks);
        update();
    }
}

void BoldMarks::paintEvent(QPaintEvent *)
{
    if (m_ticks.isEmpty())
        return;
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Highlight);
    // Along the bar's right edge, so the thumb stays in sight beside them.
    const int tickWidth = std::max(2, width() / 3);
    for (const auto &[top, bottom] : m_ticks)
        painter.fillRect(QRect(width() - tickWidth - 1, top, tickWidth, bottom - top), colour);
}

} // namespace tq::ui
