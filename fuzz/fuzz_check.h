#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace karbelon::fuzz {

// A broken property must look like a crash to libFuzzer, which then keeps
// the input as an artifact.
inline void require(bool holds, std::string_view property) {
    if (!holds) {
        // About to abort: a failed write changes nothing.
        static_cast<void>(std::fprintf(stderr, "broken property: %.*s\n",
                                       static_cast<int>(property.size()), property.data()));
        std::abort();
    }
}

}  // namespace karbelon::fuzz
