// A broken property ends the run with a message, so libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kestrevane::fuzz {

inline void require(bool holds, const char* property)
{
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

} // namespace kestrevane::fuzz
