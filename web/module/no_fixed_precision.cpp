// libc++'s std::to_chars for a double with a precision (Ryu printf) carries
// over 100 KB of tables, half of the module. The core and the answers write
// those digits themselves (core/decimal_digits.h) and ask to_chars only for
// the shortest exponent form, but libc++ still links the precision code: its
// shortest writer and its charconv object refer to it. These definitions
// stand in for every symbol of that archive member that other members use,
// so that the linker never takes it; a call would be a bug and traps (a
// RuntimeError in JavaScript). The module's tests compare its answers with
// karbelon-cli's, so a to_chars call that reached one would fail there.
#include <charconv>
#include <cstdint>

_LIBCPP_BEGIN_NAMESPACE_STD

// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,readability-identifier-naming)
to_chars_result __d2fixed_buffered_n(char* /*first*/, char* /*last*/, double /*value*/,
                                     std::uint32_t /*precision*/) {
    __builtin_trap();
}

to_chars_result __d2exp_buffered_n(char* /*first*/, char* /*last*/, double /*value*/,
                                   std::uint32_t /*precision*/) {
    __builtin_trap();
}

// Its helpers, which the float writer (never called either) takes from there.
void __append_n_digits(std::uint32_t /*length*/, std::uint32_t /*digits*/, char* /*result*/) {
    __builtin_trap();
}

void __append_nine_digits(std::uint32_t /*digits*/, char* /*result*/) {
    __builtin_trap();
}

// The digit pairs that libc++'s integer writers share are defined, as an
// inline variable, in every object that uses them, the tables' object among
// them; defined here, they do not make the linker take that object.
const char* __digit_pairs_for_the_linker() {
    return __itoa::__digits_base_10;
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,readability-identifier-naming)

_LIBCPP_END_NAMESPACE_STD
