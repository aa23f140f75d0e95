// The one way in to the window's inside, for the tests and the tools that
// drive it: the controls, the document surface, the analysis commands, the
// document menu and the word table of the last pass.
#pragma once

#include "analysiscommands.h"
#include "documentmenu.h"
#include "exportcommands.h"
#include "documentarea.h"
#include "floatprogressbar.h"
#include "mainwindow.h"
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
    // The layout as a resize leaves it.
    static void followResize(MainWindow &w) { w.followResize(); }

    static WidgetSurface &surface(MainWindow &form) { return *form.m_surface; }
    static AnalysisCommands &analysis(MainWindow &form) { return *form.m_analysis; }
    static DocumentMenu &documentMenu(MainWindow &form) { return *form.m_menu; }
    static ExportCommands &exports(MainWindow &form) { return *form.m_exports; }
    static const WordTable &wordTable(const MainWindow &form) { return form.m_table; }
    // Bold chosen but not yet written everywhere, or written but not yet laid out.
    static bool boldPending(MainWindow &form) { return form.m_bolding->isRunning() || form.m_surface->boldPending(); }
};

} // namespace tq::ui

namespace tq::testing {
using ui::WindowProbe;
}
