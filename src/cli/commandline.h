// The program without its window, for scripts and batch use:
//   tallyquill --analyze FILE [--sensitivity N] [--min-length TEXT] [--filter]
//              [--mode none|begin|complete] [--word-list OUT.csv|OUT.txt]
//              [--highlighted OUT.html|OUT.odt] [--report OUT.html]
//   tallyquill --help | --version
// Needs no display.
#pragma once

namespace tq::cli {

// Whether the arguments ask for the command line rather than the window.
bool wantsCommandLine(int argc, char **argv);

// Runs it and returns the exit status: 0 on success, 2 for a bad option, a
// file that cannot be read or an output that cannot be written (one line
// on standard error, and no output file left behind).
int runCommandLine(int argc, char **argv);

} // namespace tq::cli
