// How a long piece of work lets the window breathe.
#pragma once

#include <functional>

namespace tq {

// Called between small steps of the work. The work goes on when it returns
// true; false ends it at once, with nothing more done or published (a newer
// pass took over, or the window is closing).
using YieldFunction = std::function<bool()>;

// Whether a yield, when there is one, ends the work.
inline bool yieldEnds(const YieldFunction &yield)
{
    return yield && !yield();
}

} // namespace tq
