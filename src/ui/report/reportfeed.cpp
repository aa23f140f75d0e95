#include "reportfeed.h"

#include "analysiscommands.h"
#include "browsecommands.h"
#include "chapters.h"
#include "documentarea.h"
#include "phraselocator.h"
#include "reportwindow.h"
#include "textrules.h"
#include "widgetsurface.h"

#include <QTextCursor>
#include <QtConcurrent/QtConcurrentRun>

namespace tq::ui {

ReportFeed::ReportFeed(QWidget *window, DocumentArea *area, WidgetSurface &surface,
                       const ListSelection &list, AnalysisCommands &analysis)
    : QObject(window)
    , m_window(window)
    , m_area(area)
    , m_surface(surface)
    , m_list(list)
    , m_analysis(analysis)
{
    connect(&m_reportJob, &QFutureWatcher<Computed>::finished, this, &ReportFeed::showComputed);
    connect(&m_whereJob, &QFutureWatcher<QList<Strip>>::finished, this, &ReportFeed::showWhere);
}

// A job still running holds only copies; it is waited for, not cut short.
ReportFeed::~ReportFeed()
{
    m_reportJob.waitForFinished();
    m_whereJob.waitForFinished();
}

bool ReportFeed::isShown() const
{
    return m_report && m_report->isVisible();
}

void ReportFeed::open()
{
    if (!m_report) {
        m_report = new ReportWindow(m_window);
        connect(m_report, &ReportWindow::phrasesChosen, this, &ReportFeed::choosePhrases);
        connect(m_report, &ReportWindow::occurrenceChosen, this, &ReportFeed::selectOccurrence);
    }
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
    refresh();
}

void ReportFeed::passFinished(const FixedControls &controls, const PassOptions &options,
                              const std::optional<TextRange> &range)
{
    m_last = Inputs{controls, options, range};
    if (isShown())
        refresh();
}

void ReportFeed::listSelectionChanged()
{
    if (isShown())
        refreshWhere();
}

void ReportFeed::refresh()
{
    if (!m_last) {
        m_report->setNote(QStringLiteral("Press Analyze: the report shows what the analysis found."));
        return;
    }
    if (m_reportJob.isRunning()) {
        m_refreshAgain = true;
        return;
    }
    m_report->setNote(QStringLiteral("Counting…"));
    const QString text = m_surface.text();
    m_version = m_surface.textVersion();
    const Inputs inputs = *m_last;
    const QString language = m_analysis.language();
    m_reportJob.setFuture(QtConcurrent::run([text, inputs, language]() {
        Computed computed;
        std::optional<TextRange> range = inputs.range;
        // An edit since the pass may have shortened the text.
        if (range && (range->first >= text.size()))
            range.reset();
        if (range)
            range->last = std::min(range->last, text.size() - 1);
        computed.lines = ReportWindow::linesOf(buildWordReport(text, inputs.controls, inputs.options, language, range));
        computed.phrases = std::make_shared<const PhraseLocator>(text, inputs.options.rules, range);
        return computed;
    }));
}

void ReportFeed::showComputed()
{
    if (std::exchange(m_refreshAgain, false)) {
        refresh();
        return;
    }
    Computed computed = m_reportJob.result();
    m_phrases = computed.phrases;
    m_report->showReport(computed.lines);
    m_report->setNote(QStringLiteral("%1 families of word forms (%2), %3 repeated phrases. "
                                     "Choose words in the list or phrases here to see where they stand.")
                          .arg(computed.lines.families.size())
                          .arg(languageTitle(m_analysis.language()))
                          .arg(computed.lines.phrases.size()));
    refreshWhere();
}

QList<Strip> ReportFeed::phraseStrips() const
{
    QList<Strip> strips;
    if (!m_phrases)
        return strips;
    for (const QString &phrase : m_report->chosenPhrases())
        strips.append(Strip{QStringLiteral("\u201C%1\u201D").arg(phrase), m_phrases->occurrences(phrase)});
    return strips;
}

// The list's chosen entries are found in a worker, as bolding finds them;
// the phrases' occurrences are known already.
void ReportFeed::refreshWhere()
{
    if (m_whereJob.isRunning()) {
        m_whereAgain = true;
        return;
    }
    QList<QStringList> entries;
    for (qsizetype i = 0, n = m_list.count(); i < n; ++i) {
        if (m_list.isSelected(i))
            entries.append(m_list.words(i));
    }
    const QString text = m_surface.text();
    m_whereJob.setFuture(QtConcurrent::run([text, entries]() {
        QList<Strip> strips;
        for (const QStringList &words : entries) {
            QStringList lowered;
            for (const QString &word : words)
                lowered.append(lowerCase(word));
            strips.append(Strip{withBreaksMarked(words.join(u' ')), occurrencesOf(text, lowered)});
        }
        return strips;
    }));
}

void ReportFeed::showWhere()
{
    if (std::exchange(m_whereAgain, false)) {
        refreshWhere();
        return;
    }
    if (!m_report)
        return;
    QList<Strip> strips = m_whereJob.result() + phraseStrips();
    // One walk over a book's paragraphs per version of its text, not per choice.
    if (m_chaptersVersion != m_surface.textVersion()) {
        m_chapters = documents::findChapters(*m_area->document());
        m_chaptersVersion = m_surface.textVersion();
    }
    m_report->showWhere(m_surface.text().size(), m_chapters, std::move(strips));
}

void ReportFeed::choosePhrases()
{
    QList<Span> stops;
    for (const Strip &strip : phraseStrips())
        stops += strip.occurrences;
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    if (stops.isEmpty())
        m_analysis.forgetStops();
    else if (m_version == m_surface.textVersion())
        m_analysis.chooseStops(stops);
    refreshWhere();
}

void ReportFeed::selectOccurrence(Span occurrence)
{
    if (m_version != m_surface.textVersion())
        m_report->setNote(QStringLiteral("The text has changed since: press Analyze to bring the report up to date."));
    const qsizetype end = m_surface.text().size();
    const qsizetype start = std::min(occurrence.start, end);
    QTextCursor cursor(m_area->document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(std::min(start + occurrence.length, end)), QTextCursor::KeepAnchor);
    m_area->setTextCursor(cursor);
    m_area->ensureCursorVisible();
}

} // namespace tq::ui
