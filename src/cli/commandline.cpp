#include "commandline.h"

#include "analysisoptions.h"
#include "analysispass.h"
#include "atomicwrite.h"
#include "chapters.h"
#include "exports.h"
#include "headlessapp.h"
#include "manuscript.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "phraselocator.h"
#include "rangesurface.h"
#include "reportpage.h"
#include "stepping.h"
#include "wordreport.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextDocument>

#include <cstdio>
#include <optional>

namespace tq::cli {

using namespace Qt::StringLiterals;

namespace {

constexpr int Failure = 2;

struct Request
{
    QString file;
    AnalysisOptions analysis;
    QString wordList;
    QString phraseList;
    QString highlighted;
    QString report;
};

// The options, with the window's names for the settings.
QList<QCommandLineOption> options()
{
    return QList<QCommandLineOption>{
        {u"analyze"_s,
         u"Analyse FILE (."_s + documents::readableSuffixes().join(u", ."_s) + u") without a window."_s,
         u"FILE"_s},
        {u"word-list"_s, u"Write the word list to OUT: CSV when it ends in .csv, else the lines as listed."_s, u"OUT"_s},
        {u"phrase-list"_s, u"Write the repeated phrases to OUT: CSV when it ends in .csv, else the lines as listed."_s, u"OUT"_s},
        {u"highlighted"_s, u"Write the document with the colours to OUT, as .html or .odt."_s, u"OUT"_s},
        {u"report"_s, u"Write the word report to OUT.html: word forms, repeated phrases and where they stand."_s, u"OUT"_s},
    } + AnalysisOptions::options();
}

void say(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int fail(const QString &message)
{
    say(stderr, QStringLiteral("tallyquill: %1\n").arg(message));
    return Failure;
}

QString usage(const QCommandLineParser &parser)
{
    return QStringLiteral("Usage: tallyquill [FILE]\n"
                          "       tallyquill --analyze FILE [options]\n"
                          "Finds the words a text leans on too often. With FILE, opens it in the window;\n"
                          "with --analyze, prints the word list (or writes the files asked for) and\n"
                          "shows no window.\n\n")
           + parser.helpText().section(u'\n', 2);
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo x(a), y(b);
    return x.absoluteFilePath() == y.absoluteFilePath()
           || (x.exists() && y.exists() && x.canonicalFilePath() == y.canonicalFilePath());
}

// Empty with error set when an option is wrong.
std::optional<Request> requestFrom(const QCommandLineParser &parser, QString &error)
{
    Request r;
    r.file = parser.value(u"analyze"_s);
    if (r.file.isEmpty()) {
        error = QStringLiteral("--analyze needs the file to analyse");
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument %1 (the file goes after --analyze)")
                    .arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    error = r.analysis.read(parser);
    if (!error.isEmpty())
        return std::nullopt;
    r.wordList = parser.value(u"word-list"_s);
    r.phraseList = parser.value(u"phrase-list"_s);
    r.highlighted = parser.value(u"highlighted"_s);
    if (parser.isSet(u"highlighted"_s) && !documents::highlightedSuffixKnown(r.highlighted)) {
        error = QStringLiteral("--highlighted writes .html, .htm or .odt, not %1").arg(r.highlighted);
        return std::nullopt;
    }
    r.report = parser.value(u"report"_s);
    if (parser.isSet(u"report"_s) && !documents::reportSuffixKnown(r.report)) {
        error = QStringLiteral("--report writes .html or .htm, not %1").arg(r.report);
        return std::nullopt;
    }
    const QList<std::pair<const char *, QString>> outputs = {{"--word-list", r.wordList},
                                                             {"--phrase-list", r.phraseList},
                                                             {"--highlighted", r.highlighted},
                                                             {"--report", r.report}};
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const QString &out = outputs[i].second;
        if (out.isEmpty())
            continue;
        if (sameFile(out, r.file)) {
            error = QStringLiteral("%1 is the file being analysed; choose another output").arg(out);
            return std::nullopt;
        }
        for (qsizetype j = i + 1; j < outputs.size(); ++j) {
            if (!outputs[j].second.isEmpty() && sameFile(out, outputs[j].second)) {
                error = QStringLiteral("%1 and %2 both name %3")
                            .arg(QLatin1String(outputs[i].first), QLatin1String(outputs[j].first), out);
                return std::nullopt;
            }
        }
    }
    return r;
}

QList<qsizetype> startsOf(const QList<Span> &spans)
{
    QList<qsizetype> starts;
    starts.reserve(spans.size());
    for (const Span &span : spans)
        starts.append(span.start);
    return starts;
}

// The report of the text as the options analyse it, with the families of
// the --word-forms language (English without one).
documents::ReportContent reportContent(const Request &request, const QTextDocument &document, const QString &text)
{
    const AnalysisOptions &analysis = request.analysis;
    const QString language = analysis.wordForms.isEmpty() ? u"english"_s : analysis.wordForms;
    std::optional<TextRange> range;
    if (analysis.range)
        range = TextRange{analysis.range->first, analysis.range->second};
    const PassOptions options = analysis.passOptions();
    WordReport report = buildWordReport(text, analysis.controls, options, language, range);

    documents::ReportContent page{QFileInfo(request.file).fileName(), text.size(), report.families,
                                  report.phrases, {}, documents::findChapters(document)};
    for (const ResultEntry &entry : report.list.first(std::min(report.list.size(), documents::StripsPerKind))) {
        const QStringList words = entry.forms.isEmpty() ? QStringList{entry.word} : entry.forms;
        page.strips.append({entry.line, startsOf(occurrencesOf(text, words))});
    }
    const PhraseLocator phrases(text, options.rules, range);
    for (const RepeatedPhrase &phrase : report.phrases.first(std::min(report.phrases.size(), documents::StripsPerKind)))
        page.strips.append({phraseLine(phrase), startsOf(phrases.occurrences(phrase.text))});
    return page;
}

int analyze(const Request &request)
{
    documents::ReadResult read = documents::readManuscript(request.file);
    if (!read.document)
        return fail(read.error);
    if (!read.note.isEmpty())
        say(stderr, QStringLiteral("tallyquill: %1\n").arg(read.note));

    MemorySurface surface(documents::documentText(*read.document));
    if (const QString wrong = request.analysis.checkRange(surface.text().size()); !wrong.isEmpty())
        return fail(wrong);
    FixedControls controls = request.analysis.controls;
    MemoryList list;
    WordTable table;
    PassOptions options = request.analysis.passOptions();
    options.phrases = !request.phraseList.isEmpty();
    PassOutcome outcome;
    if (const auto range = request.analysis.range) {
        RangeSurface part(surface, range->first, range->second);
        outcome = runAnalysisPass(part, controls, list, table, [] { return true; }, options);
    } else {
        outcome = runAnalysisPass(surface, controls, list, table, [] { return true; }, options);
    }

    if (request.wordList.isEmpty() && request.phraseList.isEmpty() && request.highlighted.isEmpty()
        && request.report.isEmpty()) {
        QString out;
        for (const ResultEntry &entry : list.entries)
            out += entry.line + u'\n';
        say(stdout, out);
        return 0;
    }
    QList<std::pair<QString, QByteArray>> outputs;
    if (!request.wordList.isEmpty())
        outputs.append({request.wordList, documents::wordListBytes(request.wordList, list.entries)});
    if (!request.phraseList.isEmpty())
        outputs.append({request.phraseList, documents::phraseListBytes(request.phraseList, outcome.phrases)});
    if (!request.highlighted.isEmpty()) {
        QString reason;
        const std::optional<QByteArray> bytes = documents::highlightedBytes(
            request.highlighted, *read.document, {&surface.colours(), nullptr}, reason);
        if (!bytes)
            return fail(QStringLiteral("Cannot write %1: %2.").arg(request.highlighted, reason));
        outputs.append({request.highlighted, *bytes});
    }
    if (!request.report.isEmpty()) {
        outputs.append({request.report,
                        documents::reportPageBytes(reportContent(request, *read.document, surface.text()))});
    }
    const QString error = documents::writeFilesTogether(outputs);
    return error.isEmpty() ? 0 : fail(error);
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

} // namespace

bool wantsCommandLine(int argc, char **argv)
{
    QStringList names{u"help"_s, u"h"_s, u"version"_s, u"v"_s};
    for (const QCommandLineOption &option : options())
        names += option.names();
    const QStringList args = argumentsOf(argc, argv);
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--")
            break;
        if (!arg.startsWith(u'-'))
            continue;
        QString name = arg.section(u'=', 0, 0);
        while (name.startsWith(u'-'))
            name.remove(0, 1);
        if (names.contains(name))
            return true;
    }
    return false;
}

int runCommandLine(int argc, char **argv)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({u"help"_s, u"h"_s}, u"Show this help and exit."_s);
    const QCommandLineOption version({u"version"_s, u"v"_s}, u"Show the version and exit."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOptions(options());
    parser.addPositionalArgument(u"FILE"_s, u"Open FILE in the window."_s);
    if (!parser.parse(argumentsOf(argc, argv)))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        say(stdout, usage(parser));
        return 0;
    }
    if (parser.isSet(version)) {
        say(stdout, QStringLiteral("tallyquill %1\n").arg(QStringLiteral(TALLYQUILL_VERSION)));
        return 0;
    }
    QString error;
    const std::optional<Request> request = requestFrom(parser, error);
    if (!request)
        return fail(error);

    // Qt's own remarks (a missing runtime folder, a font) would break the
    // promise of one line on standard error for scripts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            say(stderr, QStringLiteral("tallyquill: %1\n").arg(message));
    });
    HeadlessApp app;
    return analyze(*request);
}

} // namespace tq::cli
