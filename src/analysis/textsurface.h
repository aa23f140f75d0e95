// The document as the analysis sees it: plain text plus a selection through
// which ranges are coloured and bolded. One implementation sits over the
// window's text widget, another keeps everything in memory for tests and tools.
#pragma once

#include <QString>
#include <QtGlobal>

namespace tq {

// 24-bit RGB with red in the lowest byte; 0 means "not highlighted".
using Colour = quint32;

class TextSurface
{
public:
    virtual ~TextSurface() = default;

    // The whole plain text; line breaks count as the characters they are here.
    virtual QString text() const = 0;
    // Moves whenever the text changes (never for formatting), so a reader can
    // keep a copy of the text and know when it went stale.
    virtual quint64 textVersion() const = 0;
    // Replaces the whole document, formatting included.
    virtual void setText(const QString &text) = 0;

    // Offsets count UTF-16 units from 0. A range reaching past the end of the
    // text is cut at the end; a negative value counts as 0.
    virtual void setSelStart(qsizetype offset) = 0;
    virtual void setSelLength(qsizetype length) = 0;
    // Colour of the first selected character (0 over an empty selection).
    virtual Colour selColor() const = 0;
    // Both do nothing over an empty selection.
    virtual void setSelColor(Colour colour) = 0;
    virtual void setSelBold(bool bold) = 0;

    // Convenience for the common "start, then length" sequence.
    void select(qsizetype offset, qsizetype length)
    {
        setSelStart(offset);
        setSelLength(length);
    }
};

} // namespace tq
