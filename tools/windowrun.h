// The driver's run in the real window: the text goes into the document area,
// the options onto the controls, and "Analyze" runs with its real yield to the
// event loop; the result is read back from the window.
#pragma once

#include "analysisoptions.h"
#include "textsurface.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <limits>
#include <optional>

namespace tq {

struct BrowseSteps
{
    bool bold = false;               // tick "Bold Highlighted Words" after the pass
    // Then select these ranges of entries (first, last), each in one change, as
    // a click or a shift-click does. A range to LastEntry ends at the list's end.
    QList<std::pair<qsizetype, qsizetype>> select;
    // Open the word report before the pass, as a writer who keeps it beside
    // the form does, and read its repeated phrases once it has followed.
    bool report = false;
    static constexpr qsizetype LastEntry = std::numeric_limits<qsizetype>::max();
};

struct WindowRun
{
    QStringList lines;
    QList<Colour> colour;   // one per character, as the document stores them
    QByteArray bold;        // one per character, as the document lays them out
    QStringList phrases;    // the report's "count - phrase" lines
};

struct WindowTiming
{
    double pasteSeconds = 0;   // the text put in and laid out, before the pass
    double passSeconds = 0;
    double longestWaitMs = 0;   // between two visits to the event loop
    qint64 visits = 0;
    // From a handler's start: until the view shows its formatting, until
    // all of it is laid out, and the longest the event loop waited in
    // between. Negative when not timed.
    struct Answer
    {
        double visibleSeconds = -1;
        double completeSeconds = -1;
        double longestWaitSeconds = -1;
    };
    Answer bold;    // the last selection change with bold ticked
    Answer clear;   // "Clear Formatting" afterwards, when asked for
    // With the report: from the pass's end until the report shows it, and
    // opening the report again afterwards.
    Answer reportAfterPass;
    Answer reportOpened;
};

// Needs no application object; makes its own. Fails with a message when an
// option cannot be put onto the window's controls. The window's remembered
// settings are kept in a folder of the run's own, so a run neither reads nor
// changes a writer's.
std::optional<WindowRun> runInWindow(int &argc, char **argv, const QString &text,
                                     const cli::AnalysisOptions &options, const BrowseSteps &browse,
                                     bool timeClear, WindowTiming &timing, QString &error);

} // namespace tq
