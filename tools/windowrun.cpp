#include "windowrun.h"

#include "documentarea.h"
#include "mainwindow.h"
#include "passpacer.h"
#include "windowprobe.h"
#include "analysiscommands.h"
#include "reportfeed.h"
#include "wordlistbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QTemporaryDir>
#include <QWindow>

namespace tq {

using ui::WindowProbe;

namespace {

void waitUntilExposed(QWidget &window)
{
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())
           && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
}

// The handler and every turn of the event loop after it are waits; its
// result is visible once the handler and the first turn (which paints) are
// over, and complete once nothing is pending and the loop has been idle for
// a while (views lay out long lists in batches of their own). A heartbeat
// ends the turns that only wait for a worker thread, so that a turn's length
// is the time the loop was held up, not the time it slept.
template<typename Handler, typename Pending>
WindowTiming::Answer timedAnswer(Handler handler, Pending pending)
{
    QTimer heartbeat;
    heartbeat.start(2);
    WindowTiming::Answer answer;
    QElapsedTimer timer;
    timer.start();
    handler();
    qint64 longest = timer.nsecsElapsed();
    QElapsedTimer turn;
    turn.start();
    QCoreApplication::processEvents();
    longest = qMax(longest, turn.nsecsElapsed());
    answer.visibleSeconds = double(timer.nsecsElapsed()) / 1e9;
    for (int idle = 0; idle < 20;) {
        const bool waiting = pending();
        turn.start();
        QCoreApplication::processEvents(waiting ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
        const qint64 took = turn.nsecsElapsed();
        longest = qMax(longest, took);
        idle = waiting || took > 500'000 ? 0 : idle + 1;
    }
    answer.completeSeconds = double(timer.nsecsElapsed()) / 1e9;
    answer.longestWaitSeconds = double(longest) / 1e9;
    return answer;
}

QStringList linesOf(const QAbstractItemModel &model)
{
    QStringList lines;
    lines.reserve(model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row)
        lines.append(model.index(row, 0).data().toString());
    return lines;
}

} // namespace

std::optional<WindowRun> runInWindow(int &argc, char **argv, const QString &text,
                                     const cli::AnalysisOptions &options,
                                     const BrowseSteps &browse, bool timeClear,
                                     WindowTiming &timing, QString &error)
{
    const FixedControls &controls = options.controls;
    const QTemporaryDir settings;
    if (!settings.isValid()) {
        error = QStringLiteral("no temporary folder for the window's settings");
        return std::nullopt;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::ProbePacer pacer;
    ui::MainWindow form(&pacer);

    if (controls.sens < WindowProbe::sensitivityBar(form)->minimum() || controls.sens > WindowProbe::sensitivityBar(form)->maximum()) {
        error = QStringLiteral("the window's sensitivity runs from %1 to %2")
                    .arg(WindowProbe::sensitivityBar(form)->minimum())
                    .arg(WindowProbe::sensitivityBar(form)->maximum());
        return std::nullopt;
    }
    form.show();
    waitUntilExposed(form);

    // As if pasted: the document is laid out before the writer presses Analyze.
    QElapsedTimer pasting;
    pasting.start();
    WindowProbe::documentArea(form)->setPlainText(text);
    WindowProbe::documentArea(form)->document()->documentLayout()->documentSize();
    QCoreApplication::processEvents();
    timing.pasteSeconds = double(pasting.nsecsElapsed()) / 1e9;

    WindowProbe::sensitivityBar(form)->setValue(controls.sens);
    WindowProbe::minLengthEdit(form)->setText(controls.minLength);
    WindowProbe::filterCheck(form)->setChecked(controls.filter);
    switch (controls.mode) {
    case MatchMode::NoFilters:
        WindowProbe::noFiltersOption(form)->setChecked(true);
        break;
    case MatchMode::BeginningOfWord:
        WindowProbe::beginningOption(form)->setChecked(true);
        break;
    case MatchMode::CompleteWords:
        WindowProbe::completeWordsOption(form)->setChecked(true);
        break;
    }

    ui::AnalysisCommands &analysis = WindowProbe::analysis(form);
    analysis.lineBreaksSeparate->setChecked(options.lineBreaksSeparate);
    analysis.allLetters->setChecked(options.allLetters);
    analysis.setIgnoredWords(options.ignored);
    analysis.groupWordForms->setChecked(!options.wordForms.isEmpty());
    if (!options.wordForms.isEmpty())
        analysis.chooseLanguage(options.wordForms);

    ui::ReportFeed &report = WindowProbe::report(form);
    if (browse.report)
        report.open();
    const auto reportPending = [&] { return report.isBusy(); };

    QElapsedTimer timer;
    timer.start();
    if (options.range)
        WindowProbe::analyzeRange(form, options.range->first, options.range->second);
    else
        WindowProbe::analyze(form);
    timing.passSeconds = double(timer.nsecsElapsed()) / 1e9;
    timing.longestWaitMs = double(pacer.longestWaitNs()) / 1e6;
    timing.visits = pacer.visits();
    if (browse.report)
        timing.reportAfterPass = timedAnswer([] {}, reportPending);

    // Whatever is still being bolded or laid out is finished, as when a writer
    // waits a moment between clicks.
    const auto settle = [&] {
        while (ui::WindowProbe::boldPending(form))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
    };
    if (browse.bold)
        WindowProbe::boldCheck(form)->setChecked(true);
    for (qsizetype i = 0; i < browse.select.size(); ++i) {
        auto [first, last] = browse.select[i];
        if (last == BrowseSteps::LastEntry)
            last = WindowProbe::wordList(form)->count() - 1;
        if (last >= WindowProbe::wordList(form)->count()) {
            error = QStringLiteral("--select: the list has no entry %1").arg(last);
            return std::nullopt;
        }
        QAbstractItemModel *model = WindowProbe::wordList(form)->model();
        const QItemSelection range(model->index(int(first), 0), model->index(int(last), 0));
        const auto select = [&] {
            WindowProbe::wordList(form)->selectionModel()->select(range, QItemSelectionModel::Select);
        };
        if (i + 1 < browse.select.size() || !browse.bold) {
            select();
            settle();
        } else {
            // the last change is timed
            timing.bold = timedAnswer(select, [&] { return WindowProbe::boldPending(form); });
        }
    }
    settle();   // and read back complete

    WindowRun run;
    for (int i = 0; i < WindowProbe::wordList(form)->count(); ++i)
        run.lines.append(tq::ui::WordListBox::publishedLine(WindowProbe::wordList(form)->item(i)));
    // A copy of its own: one sharing the surface's values would make the
    // timed "Clear Formatting" below copy all of them first.
    const QList<Colour> &colours = ui::WindowProbe::surface(form).colours();
    run.colour = QList<Colour>(colours.cbegin(), colours.cend());
    run.bold = ui::WindowProbe::boldShown(form);
    if (browse.report) {
        run.phrases = linesOf(*report.reportWindow()->phraseView()->model());
        report.reportWindow()->close();
        timing.reportOpened = timedAnswer([&] { report.open(); }, reportPending);
    }

    if (timeClear)
        timing.clear = timedAnswer([&] { WindowProbe::clearFormatting(form); },
                                   [&] { return WindowProbe::boldPending(form); });
    return run;
}

} // namespace tq
