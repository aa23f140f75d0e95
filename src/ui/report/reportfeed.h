// What the word report shows and when: it follows the last finished pass
// (the same settings, over the text as it is when the report is brought up
// to date), computed in a worker thread so that a book never holds up the
// window; while a pass runs it shows the one before. Clicking a tick
// selects that occurrence in the document; choosing phrases makes Find
// Next step through their occurrences.
#pragma once

#include "controls.h"
#include "passoptions.h"
#include "stepping.h"
#include "reportwindow.h"
#include "wordreport.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace tq {
class ListSelection;
class PhraseLocator;
}

namespace tq::ui {

class AnalysisCommands;
class DocumentArea;
class WidgetSurface;

class ReportFeed : public QObject
{
    Q_OBJECT
public:
    ReportFeed(QWidget *window, DocumentArea *area, WidgetSurface &surface, const ListSelection &list,
               AnalysisCommands &analysis);
    ~ReportFeed() override;

    // Shows the report window, brought up to date.
    void open();
    // What the pass that just finished read; range is the part it went over.
    void passFinished(const FixedControls &controls, const PassOptions &options,
                      const std::optional<TextRange> &range);
    void listSelectionChanged();

    // Null until first opened.
    ReportWindow *reportWindow() const { return m_report; }
    // Whether the report is still being computed.
    bool isBusy() const { return m_reportJob.isRunning() || m_whereJob.isRunning(); }

private:
    struct Inputs
    {
        FixedControls controls;
        PassOptions options;
        std::optional<TextRange> range;
    };
    struct Computed
    {
        ReportWindow::Lines lines;
        std::shared_ptr<const PhraseLocator> phrases;
    };

    bool isShown() const;
    void refresh();
    void refreshWhere();
    void showComputed();
    void showWhere();
    void choosePhrases();
    void selectOccurrence(Span occurrence);
    QList<Strip> phraseStrips() const;

    QWidget *m_window;
    DocumentArea *m_area;
    WidgetSurface &m_surface;
    const ListSelection &m_list;
    AnalysisCommands &m_analysis;
    QPointer<ReportWindow> m_report;
    std::optional<Inputs> m_last;
    std::shared_ptr<const PhraseLocator> m_phrases;
    quint64 m_version = 0;   // the text version the report describes
    QList<documents::Chapter> m_chapters;
    quint64 m_chaptersVersion = 0;   // the text version m_chapters belong to
    QFutureWatcher<Computed> m_reportJob;
    QFutureWatcher<QList<Strip>> m_whereJob;
    bool m_refreshAgain = false;
    bool m_whereAgain = false;
};

} // namespace tq::ui
