// Starting the window system. Without a display Qt ends the program with an
// abort after several lines about platform plugins; while the application
// object is being made, Qt's messages are held back so that a failure comes
// out as one line that says what to do, with a plain failure status.
#pragma once

namespace tq::ui {

// Call right before and right after making the QApplication; messages held
// meanwhile are passed on at the release.
void holdStartupMessages();
void releaseStartupMessages();

// The line printed when the window system cannot be reached.
inline constexpr char NoDisplayMessage[] =
    "tallyquill: the window needs a display (or QT_QPA_PLATFORM=offscreen to run without one)\n";

} // namespace tq::ui
