#pragma once

#include <string>

#include "display_choice.h"

namespace karbelon::qtview {

// Reads the environment, tries to connect to the X and Wayland displays it
// names and lists Qt's installed platform plugins. Call before QApplication.
[[nodiscard]] DisplayFacts probeDisplays();

// The program of that name beside this executable when there is one (as
// after a build, or in /usr/bin), else the bare name.
[[nodiscard]] std::string siblingProgram(const std::string& name);

}  // namespace karbelon::qtview
