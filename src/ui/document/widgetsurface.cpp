#include "widgetsurface.h"

#include "documentarea.h"
#include "textrules.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <limits>

namespace tq::ui {

namespace {

QColor toQColor(Colour c)
{
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

QTextCharFormat boldFormat()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

} // namespace

void WidgetSurface::Span::add(qsizetype a, qsizetype b)
{
    if (b <= a)
        return;
    if (isEmpty()) {
        from = a;
        to = b;
    } else {
        from = std::min(from, a);
        to = std::max(to, b);
    }
}

WidgetSurface::WidgetSurface(DocumentArea *area, QObject *parent)
    : QObject(parent)
    , m_area(area)
{
    followDocument();
    connect(area, &DocumentArea::documentReplaced, this, &WidgetSurface::followDocument);
    connect(area, &DocumentArea::viewChanged, this, &WidgetSurface::repaintColours);
}

// A new document comes without colour or bold: it is a new text.
void WidgetSurface::followDocument()
{
    m_document = m_area->document();
    const qsizetype n = m_document->characterCount() - 1;
    m_colour = GapBuffer<Colour>(n);
    m_bold = GapBuffer<char>(n);
    // Read once now and patched edit by edit from then on, so a pass never
    // waits for a whole reading of a book that was just pasted or opened.
    m_textValid = false;
    text();
    ++m_version;
    m_selStart = 0;
    m_selLength = 0;
    m_unshownBold = m_unshownColour = m_boldBacklog = Span{};
    m_paintedRange = {0, 0};
    m_boldTimer.stop();
    connect(m_document, &QTextDocument::contentsChange, this, &WidgetSurface::onContentsChange);
    // Any change of layout (bold, a new font size) can bring other text into
    // view without scrolling.
    connect(m_document->documentLayout(), &QAbstractTextDocumentLayout::update, this,
            &WidgetSurface::queueRepaintColours);
}

QString WidgetSurface::text() const
{
    if (!m_textValid) {
        // Not toPlainText(): that turns no-break spaces into spaces, which
        // would make them separate words.
        m_text = m_document->toRawText();
        breaksAsNewlines(m_text);
        m_textValid = true;
    }
    return m_text;
}

// Brings the copy of the text up to date with one change of the document by
// reading just the changed range, so typing in a book costs what the typing
// does. The reported range may run past the end of the text (the document
// counts its final paragraph end); whenever the patched copy does not come
// out the document's length, it is taken afresh at the next read instead.
void WidgetSurface::patchText(int position, int removed, int added)
{
    if (!m_textValid)
        return;
    const qsizetype size = m_document->characterCount() - 1;
    if (position < 0 || removed < 0 || added < 0 || position > m_text.size() || position > size) {
        m_textValid = false;
        return;
    }
    const qsizetype gone = std::min<qsizetype>(removed, m_text.size() - position);
    const qsizetype come = std::min<qsizetype>(added, size - position);
    QString piece;
    if (come > 0) {
        QTextCursor range(m_document);
        range.setPosition(position);
        range.setPosition(int(position + come), QTextCursor::KeepAnchor);
        piece = range.selectedText();
        breaksAsNewlines(piece);
    }
    if (piece.size() != come || m_text.size() - gone + come != size) {
        m_textValid = false;
        return;
    }
    m_text.replace(position, gone, piece);
}

void WidgetSurface::setText(const QString &text)
{
    QTextCursor cursor(m_document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(text);
    cursor.endEditBlock();
    m_selStart = 0;
    m_selLength = 0;
}

// The selection is kept as written and cut to the text at every use, so a
// text that shrank meanwhile never leaves it pointing past the end.
qsizetype WidgetSurface::selStart() const
{
    return std::clamp<qsizetype>(m_selStart, 0, length());
}

qsizetype WidgetSurface::selLength() const
{
    return std::clamp<qsizetype>(m_selLength, 0, length() - selStart());
}

void WidgetSurface::setSelStart(qsizetype offset)
{
    m_selStart = std::clamp<qsizetype>(offset, 0, length());
    m_selLength = 0;
}

void WidgetSurface::setSelLength(qsizetype length)
{
    m_selLength = std::max<qsizetype>(length, 0);
}

Colour WidgetSurface::selColor() const
{
    return selLength() > 0 ? m_colour.at(selStart()) : 0;
}

void WidgetSurface::setSelColor(Colour colour)
{
    m_unshownColour.add(assignSelection(m_colour, colour));
}

void WidgetSurface::setSelBold(bool bold)
{
    m_unshownBold.add(assignSelection(m_bold, char(bold ? 1 : 0)));
}

// Writes value over the selection and returns the span that really changed,
// so that only that span has to be shown again.
template<typename Value>
std::pair<qsizetype, qsizetype> WidgetSurface::assignSelection(GapBuffer<Value> &values,
                                                               Value value) const
{
    const qsizetype start = selStart();
    return values.assign(start, start + selLength(), value);
}

void WidgetSurface::flushFormatting()
{
    if (!m_unshownBold.isEmpty()) {
        // The bold in view shows at once; the rest of a book is laid out in
        // slices between events, so the window keeps answering meanwhile.
        // The slices lay out the bold wanted when they run, so a newer change
        // takes over from unfinished work instead of queueing behind it.
        const Span bold = std::exchange(m_unshownBold, Span{});
        const auto [first, last] = m_area->visibleRange();
        layoutBold(std::max<qsizetype>(bold.from, first), std::min<qsizetype>(bold.to, last),
                   std::numeric_limits<int>::max());
        m_boldBacklog.add(bold.from, bold.to);
        Q_EMIT boldChanged();
        if (!m_boldTimer.isActive() && !m_slicesQueued) {
            // The slices start after the events already posted, among them
            // the paint of the bold in view.
            m_slicesQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_slicesQueued = false;
                    if (!m_boldTimer.isActive())
                        m_boldTimer.start(0, this);
                },
                Qt::QueuedConnection);
        }
    }
    if (!m_unshownColour.isEmpty()) {
        const Span colour = std::exchange(m_unshownColour, Span{});
        // Colour outside the view is painted when it comes into view. After
        // an edit the painted range is stale until repainted.
        if (m_repaintQueued
            || (colour.from < m_paintedRange.second && colour.to > m_paintedRange.first))
            repaintColours();
    }
}

QList<QTextLayout::FormatRange> WidgetSurface::boldRanges(const QTextBlock &block) const
{
    QList<QTextLayout::FormatRange> ranges;
    const qsizetype start = block.position();
    const qsizetype end = std::min<qsizetype>(start + block.length(), length());
    for (qsizetype i = start; i < end;) {
        if (!m_bold.at(i)) {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < end && m_bold.at(j))
            ++j;
        ranges.append(QTextLayout::FormatRange{int(i - start), int(j - i), boldFormat()});
        i = j;
    }
    return ranges;
}

// Gives the blocks from the one holding from on, up to to or until their bold
// changes reach about maxChanged characters, the bold they should show, and
// has the document lay out again the changed ones in one go. Returns where it
// stopped: to, or the start of the first block not looked at. The text in
// view stays where it is.
qsizetype WidgetSurface::layoutBold(qsizetype from, qsizetype to, qsizetype maxChanged)
{
    // Taken before any layout changes: new formats make a block's old lines
    // unusable for finding positions.
    const DocumentArea::ViewTop top = m_area->viewTop();
    int changedFrom = -1;
    int changedTo = -1;
    qsizetype changed = 0;
    qsizetype looked = 0;
    QTextBlock block = m_document->findBlock(int(from));
    for (; block.isValid() && block.position() < to && changed < maxChanged
           && looked < LookedPerChanged * maxChanged;
         block = block.next()) {
        looked += block.length();
        QList<QTextLayout::FormatRange> ranges = boldRanges(block);
        if (ranges == block.layout()->formats())
            continue;
        block.layout()->setFormats(ranges);
        if (changedFrom < 0)
            changedFrom = block.position();
        changedTo = block.position() + block.length();
        changed += block.length();
    }
    if (changedFrom >= 0) {
        m_document->markContentsDirty(changedFrom, changedTo - changedFrom);
        m_area->restoreViewTop(top);
        repaintColoursIfViewMoved();
    }
    return block.isValid() && block.position() < to ? block.position() : to;
}

// One slice of the bold outside the view, as large as the aim allows: its
// size follows the time the last one took.
void WidgetSurface::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_boldTimer.timerId())
        return QObject::timerEvent(event);
    m_boldBacklog.from = m_slicer.run([this](qsizetype characters) {
        return layoutBold(m_boldBacklog.from, m_boldBacklog.to, characters);
    });
    if (m_boldBacklog.isEmpty()) {
        m_boldBacklog = Span{};
        m_boldTimer.stop();
    }
}

void WidgetSurface::onContentsChange(int position, int removed, int added)
{
    ++m_version;
    patchText(position, removed, added);

    // New characters come without colour or bold; the ones around keep theirs.
    const qsizetype at = std::clamp<qsizetype>(position, 0, length());
    const qsizetype gone = std::clamp<qsizetype>(removed, 0, length() - at);
    const bool wholeText = at == 0 && gone > 0 && gone == length();
    m_colour.replace(at, gone, added);
    m_bold.replace(at, gone, added);
    // The change may count the final paragraph end, which the text leaves out.
    const qsizetype size = m_document->characterCount() - 1;
    m_colour.resize(size);
    m_bold.resize(size);

    auto shift = [&](Span &span) {
        if (span.isEmpty() || span.to <= at)
            return;
        const qsizetype delta = added - gone;
        if (span.from >= at + gone) {
            span.from += delta;
            span.to += delta;
        } else {
            span.to = std::max(span.to + delta, at + added);
            span.from = std::min(span.from, at);
        }
        span.to = std::min(span.to, size);
    };
    shift(m_unshownBold);
    shift(m_unshownColour);
    shift(m_boldBacklog);

    // The edited blocks' layouts still hold bold placed for the old text.
    // Inside this signal the document lays these blocks out afterwards anyway.
    for (QTextBlock block = m_document->findBlock(int(at));
         block.isValid() && block.position() <= at + added; block = block.next()) {
        QList<QTextLayout::FormatRange> ranges = boldRanges(block);
        if (ranges != block.layout()->formats()) {
            block.layout()->setFormats(ranges);
            m_document->markContentsDirty(block.position(), block.length());
        }
    }
    queueRepaintColours();
    if (wholeText)
        Q_EMIT wholeTextReplaced();
}

void WidgetSurface::queueRepaintColours()
{
    // After an edit the view is laid out again only once this signal is over.
    if (m_repaintQueued)
        return;
    m_repaintQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_repaintQueued = false;
        repaintColours();
    });
}

void WidgetSurface::repaintColoursIfViewMoved()
{
    const auto [first, last] = m_area->visibleRange();
    if (first < m_paintedRange.first || std::min<qsizetype>(last, length()) > m_paintedRange.second)
        repaintColours();
}

void WidgetSurface::repaintColours()
{
    auto [first, last] = m_area->visibleRange();
    first = int(std::min<qsizetype>(first, length()));
    last = int(std::min<qsizetype>(last, length()));
    m_paintedRange = {first, last};

    QList<QTextEdit::ExtraSelection> painted;
    for (int i = first; i < last;) {
        const Colour colour = m_colour.at(i);
        int j = i + 1;
        while (j < last && m_colour.at(j) == colour)
            ++j;
        if (colour != 0) {
            QTextEdit::ExtraSelection run;
            run.cursor = QTextCursor(m_document);
            run.cursor.setPosition(i);
            run.cursor.setPosition(j, QTextCursor::KeepAnchor);
            run.format.setForeground(m_area->drawnColour(toQColor(colour)));
            painted.append(run);
        }
        i = j;
    }
    m_area->setExtraSelections(painted);
}

} // namespace tq::ui
