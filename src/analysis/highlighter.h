// The repetition highlighter: for one token, colours its later occurrences
// that start within the sensitivity distance, together with the token itself,
// in one colour from a cycle of five.
#pragma once

#include "controls.h"
#include "documenttext.h"
#include "minimumlength.h"
#include "textrules.h"
#include "textsurface.h"

#include <array>

namespace tq {

inline constexpr std::array<Colour, 5> Palette = {
    255,        // red
    41472,      // green (0, 162, 0)
    16711680,   // blue
    16711935,   // magenta
    31487,      // orange (255, 122, 0)
};

// Whether an occurrence of length units at offset in text passes the match mode.
bool acceptsMatch(QStringView text, qsizetype offset, qsizetype length, MatchMode mode,
                  WordRules rules = {});

// Colours the token at scanPos and its occurrence at foundOffset alike. The
// token's first character decides: a colour it already has is passed on,
// otherwise fresh is taken. Returns whether fresh was taken.
bool colourPair(TextSurface &surface, qsizetype scanPos, qsizetype length,
                qsizetype foundOffset, Colour fresh);

inline Colour paletteColour(qint64 index)
{
    return Palette[size_t(index % qint64(Palette.size()))];
}

class RepetitionHighlighter
{
public:
    RepetitionHighlighter(TextSurface &surface, DocumentText &text,
                          AnalysisControls &controls, MinimumLength &minimumLength,
                          WordRules rules = {});

    // Start of a pass: the cycle starts again at red.
    void startPass() { m_paletteIndex = 0; }
    // Start of every token.
    void startToken() { m_newColorUsed = false; }

    // One call per token but the last: the token trimmed at its end only,
    // length units from scanPos in the document's current text.
    void highlightRepeats(qsizetype scanPos, qsizetype length);

    qint64 paletteIndex() const { return m_paletteIndex; }

private:
    void search(qsizetype scanPos, qsizetype length);
    void walkEmptyToken(qsizetype scanPos);
    void colour(qsizetype scanPos, qsizetype length, qsizetype foundOffset);

    TextSurface &m_surface;
    DocumentText &m_text;
    AnalysisControls &m_controls;
    MinimumLength &m_minimumLength;
    WordRules m_rules;
    qint64 m_paletteIndex = 0;
    bool m_newColorUsed = false;
};

} // namespace tq
