#pragma once

namespace karbelon::cli::exit_status {

inline constexpr int figures = 0;       // also: every batch line was a valid request
inline constexpr int message = 1;       // also: a batch had invalid lines
inline constexpr int usage = 2;         // bad options, or an option text that is not UTF-8
inline constexpr int defenceReset = 3;  // the defence was empty
inline constexpr int inputOutput = 4;   // standard input or output failed

}  // namespace karbelon::cli::exit_status
