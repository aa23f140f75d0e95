#include "documentarea.h"

#include "longrunwrap.h"
#include "readablecolour.h"
#include "richclipboard.h"
#include "textdirectionhint.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QtMath>

namespace tq::ui {

DocumentArea::DocumentArea(QWidget *parent)
    : QPlainTextEdit(parent)
{
    new LongRunWrap(this);         // owned by the area
    new TextDirectionHint(this);   // likewise
    // Every vertical move of the view, whatever made it: the scroll bar, the
    // wheel, or the caret scrolled into view (Ctrl+End, Page Down, a jump to
    // a found word), which goes around scrollContentsBy().
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int dy) {
        if (dy != 0)
            Q_EMIT viewChanged();
    });
}

// The document's page margin above its first line is in no paragraph: the
// view's top edge is moved down into the first line when the margin shows.
QPoint DocumentArea::topLeftInText() const
{
    return QPoint(0, qMax(0, qCeil(contentOffset().y())));
}

std::pair<int, int> DocumentArea::visibleRange() const
{
    // Lines partly in view at either edge count as visible.
    constexpr int Margin = 256;
    const QRect view = viewport()->rect();
    const int top = cursorForPosition(topLeftInText()).position();
    const int bottom = cursorForPosition(view.bottomRight()).position();
    // While the document is still being laid out after a large paste, the
    // two hits can come out of order; the range then spans both.
    return {qMax(0, qMin(top, bottom) - Margin), qMax(top, bottom) + Margin};
}

DocumentArea::ViewTop DocumentArea::viewTop() const
{
    const QTextCursor top = cursorForPosition(topLeftInText());
    return ViewTop{top.position(), cursorRect(top).top()};
}

void DocumentArea::restoreViewTop(const ViewTop &top)
{
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, top.position, document()->characterCount() - 1));
    // The view scrolls by whole lines.
    const int lineHeight = qMax(1, QFontMetrics(document()->defaultFont()).lineSpacing());
    const int lines = qRound(double(cursorRect(cursor).top() - top.y) / lineHeight);
    if (lines != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
}

void DocumentArea::replaceDocument(std::unique_ptr<QTextDocument> content)
{
    // Kept until the followers have moved on, and deleted here whoever
    // created it.
    std::unique_ptr<QTextDocument> old(document());
    old->setParent(nullptr);
    content->setDefaultFont(old->defaultFont());
    content->setDefaultTextOption(old->defaultTextOption());
    content->setDocumentMargin(old->documentMargin());
    content->setUndoRedoEnabled(true);
    content->clearUndoRedoStacks();
    content->setModified(false);
    content->setParent(this);
    content->setDocumentLayout(new QPlainTextDocumentLayout(content.get()));
    // Painted runs hold cursors into the old document.
    setExtraSelections({});
    setDocument(content.release());
    Q_EMIT documentReplaced();
    Q_EMIT viewChanged();
}

QColor DocumentArea::drawnColour(const QColor &colour) const
{
    auto drawn = m_drawn.constFind(colour.rgb());
    if (drawn == m_drawn.cend()) {
        // The area's own palette: its page (the viewport) learns of a new
        // palette only after the area has.
        drawn = m_drawn.insert(colour.rgb(),
                               readableOn(colour, palette().color(viewport()->backgroundRole())));
    }
    return *drawn;
}

// Tab types a tab, as in any editor; Ctrl+Tab and Ctrl+Shift+Tab are the
// keyboard's way out of the document.
bool DocumentArea::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && key->modifiers().testFlag(Qt::ControlModifier)) {
            // The editor's own focusNextPrevChild() refuses while Tab types a tab.
            QAbstractScrollArea::focusNextPrevChild(key->key() == Qt::Key_Tab
                                                    && !key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void DocumentArea::scrollContentsBy(int dx, int dy)
{
    QPlainTextEdit::scrollContentsBy(dx, dy);
    if (dx != 0)   // vertical moves are told by updateRequest
        Q_EMIT viewChanged();
}

void DocumentArea::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    Q_EMIT viewChanged();
}

void DocumentArea::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_drawn.clear();
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        Q_EMIT viewChanged();
}

bool DocumentArea::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasHtml() || QPlainTextEdit::canInsertFromMimeData(source);
}

// A page from a word processor or a browser comes in as the .html reader
// reads a file: the writer's prose, without the colours, fonts, tables or
// pictures of the page, so the only colours in the document are the ones an
// analysis gives.
void DocumentArea::insertFromMimeData(const QMimeData *source)
{
    if (source->hasHtml()) {
        const std::unique_ptr<QTextDocument> pasted = documents::pastedDocument(source->html());
        if (!pasted->isEmpty() || !source->hasText()) {
            textCursor().insertFragment(QTextDocumentFragment(pasted.get()));
            ensureCursorVisible();
            return;
        }
    }
    QPlainTextEdit::insertFromMimeData(source);
}

QMimeData *DocumentArea::createMimeDataFromSelection() const
{
    std::unique_ptr<QMimeData> plain(QPlainTextEdit::createMimeDataFromSelection());
    auto *copied = new QMimeData;
    copied->setText(plain->text());
    QTextDocument selection;
    QTextCursor(&selection).insertFragment(textCursor().selection());
    copied->setHtml(documents::copiedHtml(selection));
    return copied;
}

} // namespace tq::ui
