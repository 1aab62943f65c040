#pragma once

#include <string>

#include "display_choice.h"

struct xcb_connection_t;

namespace karbelon::window::qt {

// Reads the environment, tries to connect to the X and Wayland displays it
// names and lists Qt's installed platform plugins. Create before
// QApplication, and keep until it exists: an X server with no client left
// resets itself (Xvfb does by default), and Qt connecting during that reset
// would fail.
class DisplayProbe {
  public:
    DisplayProbe();
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;
    DisplayProbe(DisplayProbe&&) = delete;
    DisplayProbe& operator=(DisplayProbe&&) = delete;
    ~DisplayProbe();

    [[nodiscard]] const DisplayFacts& facts() const { return facts_; }

  private:
    DisplayFacts facts_;
    xcb_connection_t* xConnection_ = nullptr;
};

// The program of that name beside this executable when there is one (as
// after a build, or in /usr/bin), else the bare name.
[[nodiscard]] std::string siblingProgram(const std::string& name);

}  // namespace karbelon::window::qt
