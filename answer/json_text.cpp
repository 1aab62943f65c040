#include "json_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace karbelon::answer {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    out.push_back('"');
    std::size_t plainStart = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte >= 0x20U && byte != '"' && byte != '\\') {
            continue;
        }
        out.append(text, plainStart, pos - plainStart);
        plainStart = pos + 1;
        switch (byte) {
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
                out.push_back(hexDigits[byte >> 4U]);
                out.push_back(hexDigits[byte & 0x0FU]);
                break;
        }
    }
    out.append(text, plainStart);
    out.push_back('"');
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
