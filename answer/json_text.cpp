#include "json_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace karbelon::answer {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    const auto mustEscape = [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20U;
    };
    out += '"';
    using Position = std::string_view::const_iterator;
    Position plain = text.begin();
    for (Position special = std::find_if(plain, text.end(), mustEscape); special != text.end();
         special = std::find_if(plain, text.end(), mustEscape)) {
        out.append(plain, special);
        plain = special + 1;
        switch (*special) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hexDigits[static_cast<unsigned char>(*special) >> 4U];
                out += hexDigits[static_cast<unsigned char>(*special) & 0x0FU];
                break;
        }
    }
    out.append(plain, text.end());
    out += '"';
}

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    // Many readers take "-0" for the integer 0; the fraction keeps its sign.
    if (value == 0 && std::signbit(value)) {
        out += "-0.0";
        return;
    }
    // The plain overload of to_chars gives the shortest round-trip form,
    // independent of the locale; its fixed and exponent forms are both JSON.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

}  // namespace karbelon::answer
