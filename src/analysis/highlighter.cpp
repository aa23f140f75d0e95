#include "highlighter.h"

#include "textrules.h"

namespace tq {

bool acceptsMatch(QStringView text, qsizetype offset, qsizetype length, MatchMode mode,
                  WordRules rules)
{
    if (mode == MatchMode::NoFilters)
        return true;
    const bool atStart = offset == 0;
    const bool afterMark = !atStart && isWordStartMark(text[offset - 1].unicode(), rules);
    if (mode == MatchMode::BeginningOfWord)
        return atStart || afterMark;
    const qsizetype after = offset + length;
    if (atStart || after >= text.size())
        return false;
    return !isLetterAt(text, after, rules) && afterMark;
}

bool colourPair(TextSurface &surface, qsizetype scanPos, qsizetype length,
                qsizetype foundOffset, Colour fresh)
{
    surface.select(scanPos, 1);
    const Colour existing = surface.selColor();
    const Colour colour = existing != 0 ? existing : fresh;
    surface.select(scanPos, length);
    surface.setSelColor(colour);
    surface.select(foundOffset, length);
    surface.setSelColor(colour);
    return existing == 0;
}

RepetitionHighlighter::RepetitionHighlighter(TextSurface &surface, DocumentText &text,
                                             AnalysisControls &controls,
                                             MinimumLength &minimumLength, WordRules rules)
    : m_surface(surface)
    , m_text(text)
    , m_controls(controls)
    , m_minimumLength(minimumLength)
    , m_rules(rules)
{
}

void RepetitionHighlighter::highlightRepeats(qsizetype scanPos, qsizetype length)
{
    // Tokens shorter than the minimum length are not searched for, and
    // neither is any token when the box's text cannot be converted.
    const std::optional<double> minimum = m_minimumLength.read(m_controls);
    if (minimum && !(double(length) < *minimum)) {
        if (length == 0)
            walkEmptyToken(scanPos);
        else
            search(scanPos, length);
    }
    if (m_newColorUsed)
        ++m_paletteIndex;
}

// Every occurrence that starts from the token's own last character on, up to
// the sensitivity distance from the token, one after the other without
// overlapping. Occurrences come at increasing offsets and the first one
// beyond the distance ends the search, so only the window is looked at, in
// the lowered copy of the text.
void RepetitionHighlighter::search(qsizetype scanPos, qsizetype length)
{
    const QString &lowered = m_text.lowered();
    const QStringView pattern = QStringView(lowered).sliced(scanPos, length);
    const qint64 lastStart = qint64(scanPos) + m_controls.sensitivity();
    // The first search starts on the token's own last character; each later
    // one length - 1 characters past the end of the occurrence just handled.
    qsizetype from = scanPos + length - 1;
    for (;;) {
        const qsizetype found = findLowered(lowered, pattern, from, qsizetype(lastStart));
        if (found < 0)
            return;
        if (acceptsMatch(m_text.text(), found, length, m_controls.matchMode(), m_rules))
            colour(scanPos, length, found);
        from = found + 2 * length - 1;
    }
}

// An empty token (reached only with a minimum length of 0 or less) finds
// itself at every position from scanPos down to 1, colours nothing visible and
// spends a palette entry when any turn is accepted and its first character is
// uncoloured. Which turns are accepted depends only on the text, so the walk
// is settled without taking it.
void RepetitionHighlighter::walkEmptyToken(qsizetype scanPos)
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
        lastAccepted = m_text.firstMarkThenNonLetter(m_rules);
        if (lastAccepted < 0 || lastAccepted > scanPos - 1)
            return;
    }
    // Every accepted turn reads the same colour and paints only empty ranges,
    // so the last one leaves the same state as all of them together.
    colour(scanPos, 0, lastAccepted);
}

void RepetitionHighlighter::colour(qsizetype scanPos, qsizetype length, qsizetype foundOffset)
{
    m_newColorUsed = colourPair(m_surface, scanPos, length, foundOffset, paletteColour(m_paletteIndex));
}

} // namespace tq
