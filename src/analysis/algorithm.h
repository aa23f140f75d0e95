// Which algorithms a pass uses. The fast ones give exactly the results of the
// straightforward ones, which are kept as the reference they are checked against.
#pragma once

namespace tq {

enum class Algorithm {
    Fast,
    Straightforward,
};

} // namespace tq
