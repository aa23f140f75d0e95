// Hashing for the engine's word sets and maps, keyed by QString and looked
// up by QStringView, so that a lookup for a token needs no copy of it.
#pragma once

#include <QHash>
#include <QStringView>

namespace tq {

struct StringViewHash
{
    using is_transparent = void;
    size_t operator()(QStringView s) const noexcept { return qHash(s); }
};

struct StringViewEqual
{
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
};

} // namespace tq
