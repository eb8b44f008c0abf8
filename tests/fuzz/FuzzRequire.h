#pragma once

#include <cstdio>
#include <cstdlib>

namespace quorin::fuzz {

/// Stops the run with a report when an invariant of a fuzz target is broken;
/// libFuzzer keeps the input that did it.
inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace quorin::fuzz
