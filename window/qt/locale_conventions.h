#pragma once

#include <QLocale>

#include "core/number_conventions.h"

namespace karbelon::window::qt {

// The separators of a locale, for the core to read and write numbers with.
NumberConventions conventionsFrom(const QLocale& locale);

}  // namespace karbelon::window::qt
