// Headless driver: one analysis pass over a UTF-8 file, printed as JSON.
//   tq-analyze [--sensitivity N] [--min-length TEXT] [--filter]
//              [--mode none|begin|complete] [--progress] [--straightforward]
//              [--surface memory|widget] [--bold] [--select I,J-K,...|all]
//              [--time] [--time-clear] [--open] FILE
// Offsets are UTF-16 units, both ends of a run included.
// --surface widget runs the pass in the real window (offscreen unless a
// display is set); --bold ticks "Bold Highlighted Words" after the pass and
// --select then selects the given 0-based list entries one by one, a range
// J-K in one change as a shift-click does, "all" every entry in one change.
// --time-clear (window only) times "Clear Formatting" after the output is taken.
// --open reads FILE as the window's Open does (any format it opens, paragraph
// ends as "\n") instead of as UTF-8 text kept exactly as given.
#include "headlessapp.h"
#include "jsonwriter.h"
#include "rangesurface.h"
#include "wordoptions.h"
#include "manuscript.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "passrun.h"
#include "reference.h"
#include "runs.h"
#include "windowrun.h"
#include "browsecommands.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace tq;
using tq::testing::RecordingControls;
using tq::testing::runsOf;

namespace {

struct Options
{
    FixedControls controls;
    Algorithm algorithm = Algorithm::Fast;
    bool progress = false;
    bool time = false;
    bool window = false;
    cli::WordOptions words;
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

private:
    const MemoryList &m_list;
};

constexpr const char *Usage =
    "usage: tq-analyze [options] FILE\n"
    "One analysis pass over the UTF-8 text of FILE, printed as JSON:\n"
    "  {\"list\": [\"3 - word\", ...], \"colour\": [[first, last, value], ...],\n"
    "   \"bold\": [[first, last], ...]}   (offsets in UTF-16 units, both ends included)\n"
    "options:\n"
    "  --sensitivity N        distance in characters (default 20)\n"
    "  --min-length TEXT      text of the minimum-length box (default \"3\")\n"
    "  --filter               tick \"Filter Using Minimum Length\"\n"
    "  --mode none|begin|complete   match mode (default none)\n"
    "  --progress             add the progress values\n"
    "  --straightforward      use the straightforward algorithms\n"
    "  --surface memory|widget   run in memory (default) or in the real window\n"
    "  --bold                 tick \"Bold Highlighted Words\" after the pass\n"
    "  --select I,J-K,...     then select these 0-based list entries one by one,\n"
    "                         a range J-K or all of them in one change\n"
    "  --time                 print the pass's wall time on stderr\n"
    "  --time-clear           (window) time \"Clear Formatting\" afterwards\n"
    "  --ignore FILE          (memory) words never listed or coloured, one per line (UTF-8)\n"
    "  --range FIRST,LAST     (memory) analyse only these offsets, both included\n"
    "  --line-breaks-separate (memory) a line break separates words as a space does\n"
    "  --all-letters          (memory) letters of every language count as letters\n"
    "  --open                 read FILE as the window opens it (.txt, .md, .html, .odt,\n"
    "                         .fodt, .docx, .rtf; paragraph ends as \"\\n\")\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "tq-analyze: %s\n", qPrintable(message));
    return 2;
}

std::optional<Options> parse(const QStringList &args, QString &error)
{
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            return args[++i];
        };
        if (a == u"--sensitivity") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            bool ok = false;
            const int n = v->toInt(&ok);
            if (!ok || n < 0) {
                error = QStringLiteral("--sensitivity takes a whole number from 0 up");
                return std::nullopt;
            }
            o.controls.sens = n;
        } else if (a == u"--min-length") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            o.controls.minLength = *v;
        } else if (a == u"--filter") {
            o.controls.filter = true;
        } else if (a == u"--mode") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (*v == u"none")
                o.controls.mode = MatchMode::NoFilters;
            else if (*v == u"begin")
                o.controls.mode = MatchMode::BeginningOfWord;
            else if (*v == u"complete")
                o.controls.mode = MatchMode::CompleteWords;
            else {
                error = QStringLiteral("--mode takes none, begin or complete");
                return std::nullopt;
            }
        } else if (a == u"--progress") {
            o.progress = true;
        } else if (a == u"--straightforward") {
            o.algorithm = Algorithm::Straightforward;
        } else if (a == u"--time") {
            o.time = true;
        } else if (a == u"--time-clear") {
            o.timeClear = true;
        } else if (a == u"--open") {
            o.open = true;
        } else if (a == u"--surface") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (*v != u"memory" && *v != u"widget") {
                error = QStringLiteral("--surface takes memory or widget");
                return std::nullopt;
            }
            o.window = *v == u"widget";
        } else if (a == u"--bold") {
            o.browse.bold = true;
        } else if (a == u"--select") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            for (const QString &part : v->split(u',')) {
                if (part.trimmed() == u"all") {
                    o.browse.select.append({0, BrowseSteps::LastEntry});
                    continue;
                }
                const QStringList ends = part.split(u'-');
                bool okFirst = false, okLast = false;
                const qsizetype first = ends.first().trimmed().toLongLong(&okFirst);
                const qsizetype last = ends.last().trimmed().toLongLong(&okLast);
                if (ends.size() > 2 || !okFirst || !okLast || first < 0 || last < first) {
                    error = QStringLiteral("--select takes 0-based entries and ranges such as "
                                           "0,2,5-9 or all");
                    return std::nullopt;
                }
                o.browse.select.append({first, last});
            }
        } else if (cli::WordOptions::isWordOption(a)) {
            QString v;
            if (cli::WordOptions::takesValue(a)) {
                const auto given = value();
                if (!given)
                    return std::nullopt;
                v = *given;
            }
            error = o.words.set(a, v);
            if (!error.isEmpty())
                return std::nullopt;
        } else if (a == u"--help" || a == u"-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            error = QStringLiteral("unknown option ") + a;
            return std::nullopt;
        } else if (o.file.isEmpty()) {
            o.file = a;
        } else {
            error = QStringLiteral("only one file, please");
            return std::nullopt;
        }
    }
    if (o.window && (o.progress || o.algorithm != Algorithm::Fast)) {
        error = QStringLiteral("--progress and --straightforward need --surface memory");
        return std::nullopt;
    }
    if (o.window && (o.words.range || !o.words.ignored.isEmpty() || o.words.lineBreaksSeparate
                     || o.words.allLetters)) {
        error = QStringLiteral("--ignore, --range and the word rules need --surface memory");
        return std::nullopt;
    }
    if (o.timeClear && !o.window) {
        error = QStringLiteral("--time-clear needs --surface widget");
        return std::nullopt;
    }
    if (o.file.isEmpty()) {
        error = QStringLiteral("usage: tq-analyze [options] FILE");
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
        const documents::HeadlessApp app;
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

    if (const QString wrong = options->words.checkRange(text.size()); !wrong.isEmpty())
        return fail(wrong);

    QStringList lines;
    QList<Colour> colour;
    QByteArray bold;
    QList<float> progress;
    if (options->window) {
        WindowTiming timing;
        std::optional<WindowRun> run = runInWindow(argc, argv, text, options->controls,
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
        if (options->time)
            answer("bold", timing.bold);
        answer("clear formatting", timing.clear);
        lines = run->lines;
        colour = run->colour;
        bold = run->bold;
    } else {
        MemorySurface surface(text);
        // Progress values are kept only when asked for: a book has a million.
        RecordingControls recording;
        static_cast<FixedControls &>(recording) = options->controls;
        AnalysisControls &controls = options->progress ? recording : options->controls;
        MemoryList list;
        WordTable table;
        QElapsedTimer timer;
        timer.start();
        const PassOptions passOptions{
            WordRules{options->words.lineBreaksSeparate, options->words.allLetters},
            IgnoredWords(options->words.ignored)};
        if (const auto range = options->words.range) {
            RangeSurface part(surface, range->first, range->second);
            runPass(options->algorithm, part, controls, list, table, [] { return true; }, passOptions);
        } else {
            runPass(options->algorithm, surface, controls, list, table, [] { return true; }, passOptions);
        }
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
