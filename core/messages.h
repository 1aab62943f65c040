#pragma once

#include <string_view>

namespace karbelon::messages {

inline constexpr std::string_view healthMissing = "체력을 입력하여 주십시요.";
inline constexpr std::string_view manaMissing = "마력을 입력하여 주십시요.";
inline constexpr std::string_view healthNotNumber = "입력된 체력이 숫자가 아닙니다.";
inline constexpr std::string_view manaNotNumber = "입력된 마력이 숫자가 아닙니다.";
inline constexpr std::string_view defenceNotNumber = "입력된 방어가 숫자가 아닙니다.";
inline constexpr std::string_view defenceOutOfRange =
    "입력된 방어범위가 올바르지 않습니다. 범위는 -200~+200 입니다.";
// Only a mana text beyond the double range can push a figure to infinity.
inline constexpr std::string_view manaTooLarge = "입력된 마력이 너무 큽니다.";

}  // namespace karbelon::messages
