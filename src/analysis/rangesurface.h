// A part of a document seen as a document of its own: its text is the part's
// text, its offsets count from the part's start, and a selection reaching past
// the part's end stops there. A pass over it therefore gives exactly what it
// gives on a document holding only that text, and touches nothing outside.
// The part follows the edits made to the document while the pass yields.
#pragma once

#include "textsurface.h"

namespace tq {

class RangeSurface : public TextSurface
{
public:
    // The part from offset first to offset last, both included.
    RangeSurface(TextSurface &whole, qsizetype first, qsizetype last);

    QString text() const override;
    // The part moves only when the document's text changes.
    quint64 textVersion() const override { return m_whole.textVersion(); }
    // Replaces the part's text; the rest of the document keeps its text.
    void setText(const QString &text) override;

    void setSelStart(qsizetype offset) override;
    void setSelLength(qsizetype length) override;
    Colour selColor() const override;
    void setSelColor(Colour colour) override;
    void setSelBold(bool bold) override;

    // An edit of the document: at position, removed characters replaced by
    // added ones. Each end of the part moves as an editor's cursor would:
    // text inserted at the start goes before the part, at the end into it,
    // and an end inside removed text goes to where the removal was.
    void followEdit(qsizetype position, qsizetype removed, qsizetype added);

    // Where the part lies in the document now: [start, end).
    qsizetype start() const;
    qsizetype end() const;

private:
    TextSurface &m_whole;
    qsizetype m_start;
    qsizetype m_end;
    qsizetype m_selStart = 0;   // within the part
    mutable QString m_text;
    mutable quint64 m_textVersion = 0;
    mutable qsizetype m_textStart = -1;
    mutable qsizetype m_textEnd = -1;
};

} // namespace tq
