// The one way in to the window's inside, for the tests and the tools that
// drive it: the controls, the document surface, the analysis commands, the
// document menu and the word table of the last pass.
#pragma once

#include "analysiscommands.h"
#include "boldmarks.h"
#include "documentmenu.h"
#include "exportcommands.h"
#include "documentarea.h"
#include "floatprogressbar.h"
#include "mainwindow.h"
#include "passpacer.h"
#include "reportfeed.h"
#include "slicedbolding.h"
#include "widgetsurface.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <functional>

namespace tq::ui {

struct WindowProbe
{
    static DocumentArea *documentArea(MainWindow &w) { return w.m_documentArea; }
    static QGroupBox *controlPanel(MainWindow &w) { return w.m_controlPanel; }
    static QPushButton *analyzeButton(MainWindow &w) { return w.m_analyzeButton; }
    static QPushButton *clearFormattingButton(MainWindow &w) { return w.m_clearFormattingButton; }
    static QPushButton *clearAllButton(MainWindow &w) { return w.m_clearAllButton; }
    static FloatProgressBar *progressBar(MainWindow &w) { return w.m_progressBar; }
    static QLabel *sensitivityLabel(MainWindow &w) { return w.m_sensitivityLabel; }
    static QScrollBar *sensitivityBar(MainWindow &w) { return w.m_sensitivityBar; }
    static QLabel *minLengthLabel(MainWindow &w) { return w.m_minLengthLabel; }
    static QLineEdit *minLengthEdit(MainWindow &w) { return w.m_minLengthEdit; }
    static QRadioButton *noFiltersOption(MainWindow &w) { return w.m_noFiltersOption; }
    static QRadioButton *beginningOption(MainWindow &w) { return w.m_beginningOption; }
    static QRadioButton *completeWordsOption(MainWindow &w) { return w.m_completeWordsOption; }
    static QListWidget *wordList(MainWindow &w) { return w.m_wordList; }
    static QCheckBox *filterCheck(MainWindow &w) { return w.m_filterCheck; }
    static QCheckBox *boldCheck(MainWindow &w) { return w.m_boldCheck; }

    // The three buttons, pressed as a writer presses them.
    static void analyze(MainWindow &w) { w.m_analyzeButton->click(); }
    static void clearFormatting(MainWindow &w) { w.m_clearFormattingButton->click(); }
    static void clearAll(MainWindow &w) { w.m_clearAllButton->click(); }
    // Analyze Selection over the offsets [first, last].
    static void analyzeRange(MainWindow &w, qsizetype first, qsizetype last) { w.analyzeRange(first, last); }
    // The layout as a resize leaves it.
    static void followResize(MainWindow &w) { w.followResize(); }

    static WidgetSurface &surface(MainWindow &form) { return *form.m_surface; }
    static BoldMarks *boldMarks(MainWindow &form)
    {
        return form.m_documentArea->verticalScrollBar()->findChild<BoldMarks *>();
    }
    static AnalysisCommands &analysis(MainWindow &form) { return *form.m_analysis; }
    static DocumentMenu &documentMenu(MainWindow &form) { return *form.m_menu; }
    static ReportFeed &report(MainWindow &form) { return *form.m_report; }
    static ExportCommands &exports(MainWindow &form) { return *form.m_exports; }
    static const WordTable &wordTable(const MainWindow &form) { return form.m_table; }
    // Bold chosen but not yet written everywhere, or written but not yet laid out.
    static bool boldPending(MainWindow &form) { return form.m_bolding->isRunning() || form.m_surface->boldPending(); }

    // The analysis's working selection, cut to the text.
    static qsizetype selStart(MainWindow &form) { return form.m_surface->selStart(); }
    static qsizetype selLength(MainWindow &form) { return form.m_surface->selLength(); }

    // The document positions whose colours were painted last.
    static std::pair<int, int> paintedRange(MainWindow &form) { return form.m_surface->m_paintedRange; }
    // The colours painted over the text in view: (start, end, colour) runs.
    struct PaintedRun
    {
        int start;
        int end;
        Colour colour;
    };
    static QList<PaintedRun> paintedColours(MainWindow &form)
    {
        QList<PaintedRun> runs;
        for (const QTextEdit::ExtraSelection &s : form.m_documentArea->extraSelections()) {
            const QColor c = s.format.foreground().color();
            runs.append(PaintedRun{s.cursor.selectionStart(), s.cursor.selectionEnd(),
                                   Colour(c.red()) | Colour(c.green()) << 8 | Colour(c.blue()) << 16});
        }
        return runs;
    }

    // Bold as the document's block layouts show it, one flag per character.
    static QByteArray boldShown(MainWindow &form)
    {
        const qsizetype length = form.m_surface->text().size();
        QByteArray shown(length, 0);
        const QTextDocument *document = form.m_documentArea->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
                if (r.format.fontWeight() < QFont::Bold)
                    continue;
                const qsizetype start = block.position() + r.start;
                const qsizetype end = std::min<qsizetype>(start + r.length, length);
                for (qsizetype i = start; i < end; ++i)
                    shown[i] = 1;
            }
        }
        return shown;
    }
};

// A pacer that counts the visits of the last pass started and runs a hook at
// the start of each, with the number of tokens handled so far: whoever owns
// it can act there as a writer would.
class ProbePacer : public PassPacer
{
public:
    using PassPacer::PassPacer;

    void setVisitHook(std::function<void(qint64)> hook) { m_visitHook = std::move(hook); }
    qint64 visits() const { return m_visits; }

    quint64 startPass() override
    {
        m_visits = 0;
        return PassPacer::startPass();
    }
    void visitStarting(qint64 tokens) override
    {
        PassPacer::visitStarting(tokens);
        ++m_visits;
        if (m_visitHook)
            m_visitHook(tokens);
    }

private:
    std::function<void(qint64)> m_visitHook;
    qint64 m_visits = 0;
};

} // namespace tq::ui

namespace tq::testing {
using ui::ProbePacer;
using ui::WindowProbe;
}
