// The one way in to the window's inside, for the tests and the tools that
// drive it: the document surface, the analysis commands, the document menu and
// the word table of the last pass.
#pragma once

#include "analysiscommands.h"
#include "documentmenu.h"
#include "form1.h"
#include "widgetsurface.h"

namespace tq::ui {

struct WindowProbe
{
    static WidgetSurface &surface(Form1 &form) { return *form.m_surface; }
    static AnalysisCommands &analysis(Form1 &form) { return *form.m_analysis; }
    static DocumentMenu &documentMenu(Form1 &form) { return *form.m_menu; }
    static const WordTable &wordTable(const Form1 &form) { return form.m_table; }
};

} // namespace tq::ui

namespace tq::testing {
using ui::WindowProbe;
}
