// Headless driver: one analysis pass over a UTF-8 file, printed as JSON.
//   tq-analyze [the analysis options of tallyquill --analyze] [--progress]
//              [--straightforward] [--surface memory|widget] [--bold]
//              [--select I,J-K,...|all] [--time] [--time-clear] [--open] FILE
// Offsets are UTF-16 units, both ends of a run included.
// --surface widget runs the pass in the real window (offscreen unless a
// display is set); --bold ticks "Bold Highlighted Words" after the pass and
// --select then selects the given 0-based list entries one by one, a range
// J-K in one change as a shift-click does, "all" every entry in one change.
// --time-clear (window only) times "Clear Formatting" after the output is taken.
// --open reads FILE as the window's Open does (any format it opens, paragraph
// ends as "\n") instead of as UTF-8 text kept exactly as given.
#include "analysisoptions.h"
#include "headlessapp.h"
#include "jsonwriter.h"
#include "rangesurface.h"
#include "manuscript.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "passrun.h"
#include "reference.h"
#include "runs.h"
#include "windowrun.h"
#include "browsecommands.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace tq;
using namespace Qt::StringLiterals;
using tq::testing::RecordingControls;
using tq::testing::runsOf;

namespace {

struct Options
{
    cli::AnalysisOptions analysis;
    Algorithm algorithm = Algorithm::Fast;
    bool progress = false;
    bool phrases = false;
    bool time = false;
    bool window = false;
    bool timeClear = false;
    bool open = false;
    BrowseSteps browse;
    QString file;
};

// The published entries as the memory run browses them, with the flags of
// the ones selected so far.
class Selected : public ListSelection
{
public:
    explicit Selected(const MemoryList &list) : flags(list.entries.size(), false), m_list(list) {}
    QList<bool> flags;
    qsizetype count() const override { return m_list.entries.size(); }
    bool isSelected(qsizetype entry) const override { return flags.at(entry); }
    QString word(qsizetype entry) const override { return m_list.entries.at(entry).word; }
    QStringList words(qsizetype entry) const override
    {
        const ResultEntry &e = m_list.entries.at(entry);
        return e.forms.isEmpty() ? QStringList{e.word} : e.forms;
    }

private:
    const MemoryList &m_list;
};

constexpr const char *About =
    "usage: tq-analyze [options] FILE\n"
    "One analysis pass over the UTF-8 text of FILE, printed as JSON:\n"
    "  {\"list\": [\"3 - word\", ...], \"colour\": [[first, last, value], ...],\n"
    "   \"bold\": [[first, last], ...]}   (offsets in UTF-16 units, both ends included)\n"
    "With --word-forms the list holds the families (\"4 - nod nods nodded\") and\n"
    "--select picks them.\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "tq-analyze: %s\n", qPrintable(message));
    return 2;
}

QList<QCommandLineOption> driverOptions()
{
    return {
        {u"progress"_s, u"Add the progress values."_s},
        {u"phrases"_s, u"Add the repeated phrases, as \"phrases\": [\"2 - took a breath\", ...]."_s},
        {u"straightforward"_s, u"Use the straightforward algorithms."_s},
        {u"surface"_s, u"Run in memory (the default) or in the real window."_s, u"memory|widget"_s},
        {u"bold"_s, u"Tick \"Bold Highlighted Words\" after the pass."_s},
        {u"select"_s, u"Then select these 0-based list entries one by one, a range J-K or all of them in one change."_s,
         u"I,J-K,...|all"_s},
        {u"time"_s, u"Print the pass's wall time on standard error."_s},
        {u"time-clear"_s, u"(widget) Time \"Clear Formatting\" afterwards."_s},
        {u"open"_s, u"Read FILE as the window opens it (."_s + documents::readableSuffixes().join(u", ."_s)
                        + u"; paragraph ends as \"\\n\")."_s},
    };
}

std::optional<QList<std::pair<qsizetype, qsizetype>>> readEntries(const QString &text)
{
    QList<std::pair<qsizetype, qsizetype>> entries;
    for (const QString &part : text.split(u',')) {
        if (part.trimmed() == u"all") {
            entries.append({0, BrowseSteps::LastEntry});
            continue;
        }
        const QStringList ends = part.split(u'-');
        bool okFirst = false, okLast = false;
        const qsizetype first = ends.first().trimmed().toLongLong(&okFirst);
        const qsizetype last = ends.last().trimmed().toLongLong(&okLast);
        if (ends.size() > 2 || !okFirst || !okLast || first < 0 || last < first)
            return std::nullopt;
        entries.append({first, last});
    }
    return entries;
}

std::optional<Options> parse(const QStringList &args, QString &error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({u"help"_s, u"h"_s}, u"Show this help and exit."_s);
    parser.addOption(help);
    parser.addOptions(cli::AnalysisOptions::options());
    parser.addOptions(driverOptions());
    parser.addPositionalArgument(u"FILE"_s, u"The text to analyse."_s);
    if (!parser.parse(args)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        std::fputs(About, stdout);
        std::fputs(qPrintable(parser.helpText().section(u'\n', 2)), stdout);
        std::exit(0);
    }

    Options o;
    error = o.analysis.read(parser);
    if (!error.isEmpty())
        return std::nullopt;
    o.progress = parser.isSet(u"progress"_s);
    o.phrases = parser.isSet(u"phrases"_s);
    if (parser.isSet(u"straightforward"_s))
        o.algorithm = Algorithm::Straightforward;
    o.time = parser.isSet(u"time"_s);
    o.timeClear = parser.isSet(u"time-clear"_s);
    o.open = parser.isSet(u"open"_s);
    if (parser.isSet(u"surface"_s)) {
        const QString surface = parser.value(u"surface"_s);
        if (surface != u"memory" && surface != u"widget") {
            error = u"--surface takes memory or widget"_s;
            return std::nullopt;
        }
        o.window = surface == u"widget";
    }
    o.browse.bold = parser.isSet(u"bold"_s);
    o.browse.report = o.window && o.phrases;   // the window finds phrases in its report
    for (const QString &value : parser.values(u"select"_s)) {
        const auto entries = readEntries(value);
        if (!entries) {
            error = u"--select takes 0-based entries and ranges such as 0,2,5-9 or all"_s;
            return std::nullopt;
        }
        o.browse.select += *entries;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        error = u"only one file, please"_s;
        return std::nullopt;
    }
    if (files.isEmpty()) {
        error = u"usage: tq-analyze [options] FILE"_s;
        return std::nullopt;
    }
    o.file = files.constFirst();
    if (o.window && (o.progress || o.algorithm != Algorithm::Fast)) {
        error = u"--progress and --straightforward need --surface memory"_s;
        return std::nullopt;
    }
    if (o.timeClear && !o.window) {
        error = u"--time-clear needs --surface widget"_s;
        return std::nullopt;
    }
    return o;
}

// A separator, then the number's digits, without a temporary: the runs of a
// book run to hundreds of thousands.
template<typename Number>
void appendNumber(QByteArray &out, char separator, Number n)
{
    char digits[24];
    digits[0] = separator;
    const auto end = std::to_chars(digits + 1, digits + sizeof digits, n).ptr;
    out.append(digits, end - digits);
}

// Maximal runs of equal non-zero values, as [first, last] or [first, last, value].
template<typename At>
void appendRuns(QByteArray &out, qsizetype size, At at, bool withValue)
{
    out += '[';
    for (const testing::Run &r : runsOf(size, at)) {
        if (out.back() == ']')
            out += ',';
        appendNumber(out, '[', r.first);
        appendNumber(out, ',', r.last);
        if (withValue)
            appendNumber(out, ',', r.colour);
        out += ']';
    }
    out += ']';
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    std::optional<Options> options = parse(args, error);
    if (!options)
        return fail(error);

    QString text;
    if (options->open) {
        const cli::HeadlessApp app;
        const documents::ReadResult read = documents::readManuscript(options->file);
        if (!read.document)
            return fail(read.error);
        if (!read.note.isEmpty())
            std::fprintf(stderr, "tq-analyze: %s\n", qPrintable(read.note));
        text = documents::documentText(*read.document);
    } else {
        QFile file(options->file);
        if (!file.open(QIODevice::ReadOnly))
            return fail(options->file + QStringLiteral(": ") + file.errorString());
        text = QString::fromUtf8(file.readAll());
    }

    if (const QString wrong = options->analysis.checkRange(text.size()); !wrong.isEmpty())
        return fail(wrong);

    QStringList lines;
    QList<Colour> colour;
    QByteArray bold;
    QList<float> progress;
    QStringList phrases;
    if (options->window) {
        WindowTiming timing;
        std::optional<WindowRun> run = runInWindow(argc, argv, text, options->analysis,
                                                   options->browse, options->timeClear, timing,
                                                   error);
        if (!run)
            return fail(error);
        if (options->time)
            std::fprintf(stderr, "text put in and laid out: %.3f s\n", timing.pasteSeconds);
        if (options->time)
            std::fprintf(stderr,
                         "pass: %.3f s\nlongest wait for the event loop: %.1f ms (%lld visits)\n",
                         timing.passSeconds, timing.longestWaitMs, qlonglong(timing.visits));
        auto answer = [](const char *what, const WindowTiming::Answer &a) {
            if (a.completeSeconds >= 0)
                std::fprintf(stderr, "%s: visible %.3f s, complete %.3f s, longest wait %.3f s\n",
                             what, a.visibleSeconds, a.completeSeconds, a.longestWaitSeconds);
        };
        if (options->time) {
            answer("bold", timing.bold);
            answer("report after the pass", timing.reportAfterPass);
            answer("report opened", timing.reportOpened);
        }
        answer("clear formatting", timing.clear);
        lines = run->lines;
        colour = run->colour;
        bold = run->bold;
        phrases = run->phrases;
    } else {
        MemorySurface surface(text);
        // Progress values are kept only when asked for: a book has a million.
        RecordingControls recording;
        static_cast<FixedControls &>(recording) = options->analysis.controls;
        AnalysisControls &controls =
            options->progress ? recording : options->analysis.controls;
        MemoryList list;
        WordTable table;
        QElapsedTimer timer;
        timer.start();
        PassOptions passOptions = options->analysis.passOptions();
        passOptions.phrases = options->phrases;
        PassOutcome outcome;
        if (const auto range = options->analysis.range) {
            RangeSurface part(surface, range->first, range->second);
            outcome = runPass(options->algorithm, part, controls, list, table, [] { return true; },
                              passOptions);
        } else {
            outcome = runPass(options->algorithm, surface, controls, list, table, [] { return true; },
                              passOptions);
        }
        for (const RepeatedPhrase &phrase : std::as_const(outcome.phrases))
            phrases.append(phraseLine(phrase));
        if (options->time)
            std::fprintf(stderr, "pass: %.3f s\n", double(timer.nsecsElapsed()) / 1e9);

        // What the window's handlers do: ticking the box bolds the selection
        // (none yet), and every entry selected afterwards bolds again.
        Selected selected(list);
        if (options->browse.bold)
            boldSelectedWords(surface, selected);
        for (auto [first, last] : options->browse.select) {
            if (last == BrowseSteps::LastEntry)
                last = selected.count() - 1;
            if (last >= selected.count())
                return fail(QStringLiteral("--select: the list has no entry %1").arg(last));
            for (qsizetype entry = first; entry <= last; ++entry)
                selected.flags[entry] = true;
            if (options->browse.bold)
                boldSelectedWords(surface, selected);
        }

        lines = list.lines();
        colour = surface.colours();
        const qsizetype size = surface.text().size();
        bold.resize(size);
        char *b = bold.data();
        for (qsizetype i = 0; i < size; ++i)
            b[i] = surface.boldAt(i) ? 1 : 0;
        progress = recording.values;
    }

    QByteArray out = "{\"list\": [";
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i)
            out += ", ";
        appendJsonString(out, lines[i]);
    }
    out += "], \"colour\": ";
    const Colour *c = colour.constData();
    appendRuns(out, colour.size(), [c](qsizetype i) { return c[i]; }, true);
    out += ", \"bold\": ";
    const char *b = bold.constData();
    appendRuns(out, bold.size(), [b](qsizetype i) { return b[i] != 0; }, false);
    if (options->phrases) {
        out += ", \"phrases\": [";
        for (qsizetype i = 0; i < phrases.size(); ++i) {
            if (i)
                out += ", ";
            appendJsonString(out, phrases[i]);
        }
        out += ']';
    }
    if (options->progress) {
        out += ", \"progress\": [";
        for (qsizetype i = 0; i < progress.size(); ++i) {
            if (i)
                out += ", ";
            out += QByteArray::number(double(progress[i]), 'g', 9);
        }
        out += ']';
    }
    out += "}\n";
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
