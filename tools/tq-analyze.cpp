// Headless driver: one analysis pass over a UTF-8 file, printed as JSON.
//   tq-analyze [--sensitivity N] [--min-length TEXT] [--filter]
//              [--mode none|begin|complete] [--progress] [--straightforward]
//              [--time] FILE
// Offsets are UTF-16 units, both ends of a run included.
#include "analysispass.h"
#include "jsonwriter.h"
#include "memorysurface.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace tq;

namespace {

struct Options
{
    FixedControls controls;
    Algorithm algorithm = Algorithm::Fast;
    bool progress = false;
    bool time = false;
    QString file;
};

class CollectingList : public ResultList
{
public:
    QStringList lines;
    void clear() override { lines.clear(); }
    void append(const QList<ResultEntry> &entries) override
    {
        for (const ResultEntry &e : entries)
            lines.append(e.line);
    }
};

// Recording controls: every progress value, for --progress.
class RecordingControls : public AnalysisControls
{
public:
    explicit RecordingControls(FixedControls &inner, bool record) : m_inner(inner), m_record(record) {}
    QList<float> progress;
    QString minimumLengthText() const override { return m_inner.minimumLengthText(); }
    bool filterOn() const override { return m_inner.filterOn(); }
    int sensitivity() const override { return m_inner.sensitivity(); }
    MatchMode matchMode() const override { return m_inner.matchMode(); }
    void setProgress(float percent) override
    {
        if (m_record)
            progress.append(percent);
    }

private:
    FixedControls &m_inner;
    bool m_record;
};

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
    if (o.file.isEmpty()) {
        error = QStringLiteral("usage: tq-analyze [options] FILE");
        return std::nullopt;
    }
    return o;
}

// Maximal runs of equal non-zero values, as [first, last] or [first, last, value].
template<typename At>
void appendRuns(QByteArray &out, qsizetype size, At at, bool withValue)
{
    out += '[';
    bool first = true;
    for (qsizetype i = 0; i < size;) {
        const auto v = at(i);
        qsizetype j = i + 1;
        while (j < size && at(j) == v)
            ++j;
        if (v) {
            if (!first)
                out += ',';
            first = false;
            out += '[';
            out += QByteArray::number(i);
            out += ',';
            out += QByteArray::number(j - 1);
            if (withValue) {
                out += ',';
                out += QByteArray::number(quint64(v));
            }
            out += ']';
        }
        i = j;
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

    QFile file(options->file);
    if (!file.open(QIODevice::ReadOnly))
        return fail(options->file + QStringLiteral(": ") + file.errorString());
    MemorySurface surface(QString::fromUtf8(file.readAll()));

    RecordingControls controls(options->controls, options->progress);
    CollectingList list;
    WordTable table;
    QElapsedTimer timer;
    timer.start();
    runAnalysisPass(surface, controls, list, table, [] { return true; }, options->algorithm);
    if (options->time)
        std::fprintf(stderr, "pass: %.3f s\n", double(timer.nsecsElapsed()) / 1e9);

    QByteArray out = "{\"list\": [";
    for (qsizetype i = 0; i < list.lines.size(); ++i) {
        if (i)
            out += ", ";
        appendJsonString(out, list.lines[i]);
    }
    out += "], \"colour\": ";
    const qsizetype size = surface.text().size();
    appendRuns(out, size, [&](qsizetype i) { return surface.colourAt(i); }, true);
    out += ", \"bold\": ";
    appendRuns(out, size, [&](qsizetype i) { return surface.boldAt(i); }, false);
    if (options->progress) {
        out += ", \"progress\": [";
        for (qsizetype i = 0; i < controls.progress.size(); ++i) {
            if (i)
                out += ", ";
            out += QByteArray::number(double(controls.progress[i]), 'g', 9);
        }
        out += ']';
    }
    out += "}\n";
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
