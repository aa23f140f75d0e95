// The repetition highlighter: for one token, colours its later occurrences
// that start within the sensitivity distance, together with the token itself,
// in one colour from a cycle of five.
#pragma once

#include "algorithm.h"
#include "controls.h"
#include "documenttext.h"
#include "minimumlength.h"
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

class RepetitionHighlighter
{
public:
    RepetitionHighlighter(TextSurface &surface, DocumentText &text,
                          AnalysisControls &controls, MinimumLength &minimumLength,
                          Algorithm algorithm);

    // Start of a pass: the cycle starts again at red.
    void startPass() { m_paletteIndex = 0; }
    // Start of every token.
    void startToken() { m_newColorUsed = false; }

    // One call per token but the last; scanPos is the offset of the token's
    // first character, token the token trimmed at its end only: a slice of
    // the document's current text.
    void HighlightRepeats(qsizetype scanPos, QStringView token);

    qint64 paletteIndex() const { return m_paletteIndex; }

private:
    void searchStraightforward(qsizetype scanPos, QStringView token);
    void searchFast(qsizetype scanPos, QStringView token);
    void walkEmptyTokenFast(qsizetype scanPos);
    bool accepts(const QString &text, qsizetype foundOffset, qsizetype length) const;
    void colourPair(qsizetype scanPos, qsizetype length, qsizetype foundOffset);

    TextSurface &m_surface;
    DocumentText &m_text;
    AnalysisControls &m_controls;
    MinimumLength &m_minimumLength;
    Algorithm m_algorithm;
    qint64 m_paletteIndex = 0;
    bool m_newColorUsed = false;
};

} // namespace tq
