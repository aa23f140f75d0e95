// The session ends without the window being closed: the process is asked to
// stop (SIGTERM, as a shutdown or `kill` sends it) or the desktop logs out.
// Either way the unsaved text goes to the recovery copy at once, and the
// program quits without a question that nobody would be there to answer.
#pragma once

namespace tq::ui {

class DocumentFile;

// Installs the SIGTERM handler and follows the session manager; file outlives
// the event loop.
void keepTextWhenSessionEnds(DocumentFile &file);

} // namespace tq::ui
