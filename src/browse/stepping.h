// Moving through the document one stop at a time: the occurrences of the
// words chosen in the list (exactly the ones bolding marks), or the coloured
// runs a pass left. Each step goes from the current selection to the next or
// previous stop, and wraps around at either end of the document.
#pragma once

#include "documenttext.h"
#include "textsurface.h"
#include "browsecommands.h"

#include <QList>
#include <QStringList>

#include <compare>
#include <optional>

namespace tq {

// A stretch of the document: the stop a step selects, or the selection a
// step starts from (length 0 for a bare caret).
struct Span
{
    qsizetype start = 0;
    qsizetype length = 0;
    friend auto operator<=>(const Span &, const Span &) = default;
};

enum class Direction { Forward, Backward };

// Stops are ordered by start, then by length. Forward gives the first stop
// after `from` in that order, Backward the last one before it; past either
// end the step wraps to the other. So a caret inside a stop steps back onto
// that stop and forward past it, and overlapping stops are visited one by one.
// Empty when there is no stop.
std::optional<Span> stepThrough(const QList<Span> &sortedStops, Span from, Direction direction);

// The same step over the maximal runs of one non-zero colour in colours,
// looking only as far as the next run in the given direction.
std::optional<Span> stepThroughRuns(const QList<Colour> &colours, Span from, Direction direction);

// Every occurrence the bolding marks for the given lowered words in the
// text, empty ones left out (there is nothing to select), each once, ordered.
QList<Span> occurrencesOf(QStringView text, const QStringList &words);

// The lowered words of the list's selected entries, sorted, each once.
QStringList selectedWords(const ListSelection &list);

// Steps through the occurrences of the selected words, keeping them from one
// step to the next while neither the text nor the chosen words change, so
// a step costs a look-up, not a search of the document.
class OccurrenceStepper
{
public:
    // text is the document's text and its lowered form, which the stepper
    // may share with other readers of the same document.
    OccurrenceStepper(TextSurface &surface, DocumentText &text) : m_surface(surface), m_text(text) {}

    // Empty when no entry is selected or its words do not occur.
    std::optional<Span> step(const ListSelection &list, Span from, Direction direction);

private:
    TextSurface &m_surface;
    DocumentText &m_text;
    QStringList m_words;
    QList<Span> m_stops;
    quint64 m_version = 0;
    bool m_valid = false;
};

} // namespace tq
