// The analysis's text surface over the window's document area.
//
// Colour and bold are kept here, one value per character, in step with every
// edit of the document, and shown without ever going through the document's
// editing commands, so the writer's undo history holds only the writer's own
// edits. Bold changes the width of the text, so it goes into the layouts of
// the blocks it touches, the way a syntax highlighter does. Colour does not,
// so it is painted over the text in view and costs no relayout at all: a
// book-length document can be coloured and cleared in a moment.
//
// Formatting written by the analysis is shown at the next flush; the pass
// flushes before every visit to the event loop, the window after every
// handler.
//
// The selection here is the analysis's working range only. The widget's own
// caret, selection and scroll position belong to the writer and are never
// moved by it: text typed after a handler goes where the writer left the
// caret, and the view stays on the text it showed.
#pragma once

#include "adaptiveslicer.h"
#include "gapbuffer.h"
#include "textsurface.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTextBlock>
#include <QTextLayout>

class QTextDocument;

namespace tq::ui {

class DocumentArea;
struct WindowProbe;

class WidgetSurface : public QObject, public TextSurface
{
    Q_OBJECT
public:
    explicit WidgetSurface(DocumentArea *area, QObject *parent = nullptr);

    // The document's text, paragraph ends as "\n"; offsets are document
    // positions. Taken from the document once, then kept up to date edit by
    // edit.
    QString text() const override;
    quint64 textVersion() const override { return m_version; }
    // Replaces the whole document as one edit, which the writer can undo.
    void setText(const QString &text) override;

    void setSelStart(qsizetype offset) override;
    void setSelLength(qsizetype length) override;
    Colour selColor() const override;
    void setSelColor(Colour colour) override;
    void setSelBold(bool bold) override;

    // Shows the formatting written since the last flush: at once in view,
    // the rest of the bold in slices between events.
    void flushFormatting();
    // Bold written but not yet laid out everywhere.
    bool boldPending() const { return m_slicesQueued || m_boldTimer.isActive(); }

    Colour colourAt(qsizetype offset) const { return m_colour.at(offset); }
    const QList<Colour> &colours() const { return m_colour.values(); }
    bool boldAt(qsizetype offset) const { return m_bold.at(offset) != 0; }
    // Whether any character in [from, to) is bold.
    bool anyBold(qsizetype from, qsizetype to) const { return m_bold.contains(from, to, char(1)); }

Q_SIGNALS:
    // An edit took away all of a text that was not empty.
    void wholeTextReplaced();
    // Bold was written and is being shown.
    void boldChanged();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    // A slice of bold layout between events, in characters. It shares its
    // turn of the event loop with a slice of bolding and a paint, and all
    // three together stay well under what a person notices as a freeze.
    static constexpr AdaptiveSlicer::Limits BoldLayoutSlices{6'000'000, 16 * 1024, 8 * 1024,
                                                             4 * 1024 * 1024};
    // Blocks whose bold is right already cost little to look at.
    static constexpr qsizetype LookedPerChanged = 16;

    struct Span
    {
        qsizetype from = 0;
        qsizetype to = 0;   // empty when to <= from
        void add(qsizetype a, qsizetype b);
        void add(std::pair<qsizetype, qsizetype> span) { add(span.first, span.second); }
        bool isEmpty() const { return to <= from; }
    };

    qsizetype selStart() const;
    qsizetype selLength() const;
    template<typename Value>
    std::pair<qsizetype, qsizetype> assignSelection(GapBuffer<Value> &values, Value value) const;
    void followDocument();
    void onContentsChange(int position, int removed, int added);
    void patchText(int position, int removed, int added);
    void repaintColours();
    void queueRepaintColours();
    qsizetype layoutBold(qsizetype from, qsizetype to, qsizetype maxChanged);
    void repaintColoursIfViewMoved();
    QList<QTextLayout::FormatRange> boldRanges(const QTextBlock &block) const;
    qsizetype length() const { return m_colour.size(); }

    DocumentArea *m_area;
    QTextDocument *m_document = nullptr;
    GapBuffer<Colour> m_colour;
    GapBuffer<char> m_bold;
    mutable QString m_text;
    mutable bool m_textValid = false;
    quint64 m_version = 1;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    Span m_unshownBold;
    Span m_unshownColour;
    Span m_boldBacklog;   // where laid-out bold may still differ from the wanted
    QBasicTimer m_boldTimer;
    bool m_slicesQueued = false;
    AdaptiveSlicer m_slicer{BoldLayoutSlices};
    std::pair<int, int> m_paintedRange{0, 0};
    bool m_repaintQueued = false;

    friend struct WindowProbe;   // the tests' and tools' view of the inside
};

} // namespace tq::ui
