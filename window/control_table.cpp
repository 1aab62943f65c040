#include "control_table.h"

#include <cstdint>

namespace karbelon::window {

int twipsToPixels(int twips, int dotsPerInch) {
    const std::int64_t scaled = static_cast<std::int64_t>(twips) * dotsPerInch;
    // Round half away from zero, as MulDiv does.
    const std::int64_t inch = twipsPerInch;
    const std::int64_t half = inch / 2;
    const std::int64_t rounded = scaled >= 0 ? (scaled + half) / inch : (scaled - half) / inch;
    return static_cast<int>(rounded);
}

}  // namespace karbelon::window
