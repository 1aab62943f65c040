#pragma once

#include "core/number_conventions.h"

namespace karbelon::window::win32 {

// The user's decimal and thousands separators from the regional settings;
// a value the system cannot give keeps the Korean default.
NumberConventions userNumberConventions();

}  // namespace karbelon::window::win32
