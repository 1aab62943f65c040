#pragma once

// Reading a program's version record, as Explorer's properties page does.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace karbelon::uitest {

// FIELD of the string block BLOCK (language and code page, as "041204b0"),
// or "<missing>".
std::wstring versionString(const std::vector<BYTE>& record, std::wstring_view block,
                           std::wstring_view field);

}  // namespace karbelon::uitest
