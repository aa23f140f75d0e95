#include "highlighter.h"

#include "textrules.h"

namespace tq {

RepetitionHighlighter::RepetitionHighlighter(TextSurface &surface, DocumentText &text,
                                             AnalysisControls &controls,
                                             MinimumLength &minimumLength, Algorithm algorithm)
    : m_surface(surface)
    , m_text(text)
    , m_controls(controls)
    , m_minimumLength(minimumLength)
    , m_algorithm(algorithm)
{
}

void RepetitionHighlighter::HighlightRepeats(qsizetype scanPos, QStringView token)
{
    // Tokens shorter than the minimum length are not searched for, and
    // neither is any token when the box's text cannot be converted.
    const std::optional<double> minimum = m_minimumLength.read(m_controls);
    if (minimum && !(double(token.size()) < *minimum)) {
        if (m_algorithm == Algorithm::Straightforward)
            searchStraightforward(scanPos, token);
        else if (token.isEmpty())
            walkEmptyTokenFast(scanPos);
        else
            searchFast(scanPos, token);
    }
    if (m_newColorUsed)
        ++m_paletteIndex;
}

// Positions below count from 1, as the rule is usually told; offsets from 0.
void RepetitionHighlighter::searchStraightforward(qsizetype scanPos, QStringView token)
{
    const qsizetype length = token.size();
    qsizetype searchPos = scanPos;
    for (;;) {
        const qsizetype start = searchPos + length;
        if (start < 1)
            return;
        const QString text = m_surface.text();
        if (start > text.size())
            return;
        const qsizetype found = findIgnoringCase(text, token, start - 1) + 1;
        if (found == 0)
            return;
        const qsizetype distance = (found - 1) - scanPos;
        if (distance > m_controls.sensitivity())
            return;
        if (accepts(text, found - 1, length))
            colourPair(scanPos, length, found - 1);
        searchPos = (found - 1) + length;
    }
}

// The same search, bounded: occurrences come at increasing offsets and the
// first one beyond the sensitivity window ends the search, so only the window
// is looked at, in the lowered copy of the text.
void RepetitionHighlighter::searchFast(qsizetype scanPos, QStringView token)
{
    const qsizetype length = token.size();
    const QString &lowered = m_text.lowered();
    // The token is a slice of the text, so its lowered form is a slice of the
    // lowered text.
    const QStringView pattern =
        QStringView(lowered).sliced(token.data() - m_text.text().data(), length);
    const QString &text = m_text.text();
    const qint64 lastStart = qint64(scanPos) + m_controls.sensitivity();
    // The first search starts on the token's own last character; each later
    // one length - 1 characters past the end of the occurrence just handled.
    qsizetype from = scanPos + length - 1;
    for (;;) {
        const qsizetype found = findLowered(lowered, pattern, from, qsizetype(lastStart));
        if (found < 0)
            return;
        if (accepts(text, found, length))
            colourPair(scanPos, length, found);
        from = found + 2 * length - 1;
    }
}

// An empty token (reached only with a minimum length of 0 or less) finds
// itself at every position from scanPos down to 1, colours nothing visible and
// spends a palette entry when any turn is accepted and its first character is
// uncoloured. Which turns are accepted depends only on the text, so the walk
// is settled without taking it.
void RepetitionHighlighter::walkEmptyTokenFast(qsizetype scanPos)
{
    if (scanPos == 0)
        return;   // the first search would start at position 0
    // Every turn lies before the token, at distance -1 or less; if the first
    // turn is outside the window, so are all the others.
    if (-1 > m_controls.sensitivity())
        return;
    // The last accepted turn is the one with the smallest offset; it is where
    // the selection is left.
    qsizetype lastAccepted = 0;
    if (m_controls.matchMode() == MatchMode::CompleteWords) {
        lastAccepted = m_text.firstMarkThenNonLetter();
        if (lastAccepted < 0 || lastAccepted > scanPos - 1)
            return;
    }
    // Every accepted turn reads the same colour and paints only empty ranges,
    // so the last one leaves the same state as all of them together.
    colourPair(scanPos, 0, lastAccepted);
}

bool RepetitionHighlighter::accepts(const QString &text, qsizetype foundOffset,
                                    qsizetype length) const
{
    const MatchMode mode = m_controls.matchMode();
    if (mode == MatchMode::NoFilters)
        return true;
    const bool atStart = foundOffset == 0;
    const bool afterMark = !atStart && isWordStartMark(text[foundOffset - 1].unicode());
    if (mode == MatchMode::BeginningOfWord)
        return atStart || afterMark;
    const qsizetype after = foundOffset + length;
    if (atStart || after >= text.size())
        return false;
    return !isLetter(text[after].unicode()) && afterMark;
}

void RepetitionHighlighter::colourPair(qsizetype scanPos, qsizetype length, qsizetype foundOffset)
{
    // The token's first character decides: a colour it already has is passed
    // on, otherwise the next colour of the cycle is taken.
    m_surface.select(scanPos, 1);
    const Colour existing = m_surface.selColor();
    Colour colour;
    if (existing != 0) {
        colour = existing;
        m_newColorUsed = false;
    } else {
        colour = Palette[size_t(m_paletteIndex % qint64(Palette.size()))];
        m_newColorUsed = true;
    }
    m_surface.select(scanPos, length);
    m_surface.setSelColor(colour);
    m_surface.select(foundOffset, length);
    m_surface.setSelColor(colour);
}

} // namespace tq
