// The one way in to the window's inside, for the tests and the tools that
// drive it: the document surface, the analysis commands, the document menu and
// the word table of the last pass.
#pragma once

#include "analysiscommands.h"
#include "documentmenu.h"
#include "exportcommands.h"
#include "form1.h"
#include "slicedbolding.h"
#include "widgetsurface.h"

namespace tq::ui {

struct WindowProbe
{
    static WidgetSurface &surface(Form1 &form) { return *form.m_surface; }
    static AnalysisCommands &analysis(Form1 &form) { return *form.m_analysis; }
    static DocumentMenu &documentMenu(Form1 &form) { return *form.m_menu; }
    static ExportCommands &exports(Form1 &form) { return *form.m_exports; }
    static const WordTable &wordTable(const Form1 &form) { return form.m_table; }
    // Bold chosen but not yet written everywhere, or written but not yet laid out.
    static bool boldPending(Form1 &form) { return form.m_bolding->isRunning() || form.m_surface->boldPending(); }
};

} // namespace tq::ui

namespace tq::testing {
using ui::WindowProbe;
}
