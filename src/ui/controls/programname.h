// The program's name as the writer sees it: the window's caption when no file
// is open, and the title of its messages.
#pragma once

#include <QString>

namespace tq::ui {

inline QString programName()
{
    return QStringLiteral("Dovrin's Tallyquill");
}

} // namespace tq::ui
