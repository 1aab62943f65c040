#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "core/damage_calculation.h"

namespace karbelon::hardening {

inline constexpr std::size_t hugeTextBytes = std::size_t{10} * 1024 * 1024;

enum class Box { Spell, Hp, Mp, Defence };

// One box filled with a vast text, the others holding the window's start
// values, and the answer the calculation must give.
struct HugeCase {
    std::string_view name;
    Box box;
    std::string_view head;
    std::string_view repeated;  // repeated between head and tail up to hugeTextBytes
    std::string_view tail;
    OutcomeKind kind;
    std::string_view answer;  // the message text, or the whole report
};

std::span<const HugeCase> hugeCases();

// Test output names the case instead of dumping its bytes.
void PrintTo(const HugeCase& hugeCase, std::ostream* out);

// head, then repeated until the text has at least `bytes` bytes, then tail.
std::string hugeText(const HugeCase& hugeCase, std::size_t bytes = hugeTextBytes);

// The window's start values with one box replaced.
DamageInputs startInputsWith(Box box, std::string text);

inline constexpr std::string_view startReport =
    "실제데미지 : 337,275\r\n파력무참진 적용시 : 674,550\r\n보호 적용시 : 168,637\r\n"
    "쿨타임 : 10초\r\n데미지 감소율 : 75%";

// An unknown spell does no damage; the rate still follows the defence.
inline constexpr std::string_view noSpellReport =
    "실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 0초\r\n데미지 감소율 : "
    "75%";

}  // namespace karbelon::hardening
