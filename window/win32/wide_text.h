#pragma once

#include <string>
#include <string_view>

namespace karbelon::window::win32 {

// The core and Form1 speak UTF-8 and Windows speaks UTF-16; these convert at
// the view's edge. Malformed input becomes U+FFFD instead of failing.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}  // namespace karbelon::window::win32
