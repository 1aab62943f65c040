#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace karbelon::window::qt {

// What start-up found out about the session's displays, before Qt starts:
// Qt aborts with a core dump when its platform plugin finds no display.
struct DisplayFacts {
    std::string requestedPlatforms;  // QT_QPA_PLATFORM, empty when unset
    std::string xDisplay;            // DISPLAY, empty when unset
    bool xDisplayOpens = false;
    std::string waylandDisplay;  // WAYLAND_DISPLAY, empty when unset
    bool waylandDisplayOpens = false;
    std::vector<std::string> installedPlatforms;  // Qt platform plugins found, by key
};

// The platform for Qt's "-platform" option, or, when no display can take
// the window, why not (a phrase for noDisplayLine).
struct DisplayChoice {
    std::string platform;
    std::string problem;
};

// Native Wayland first, then X11 (XWayland included); QT_QPA_PLATFORM, when
// set, replaces that list. xcb and wayland* entries need their display and
// plugin; other platforms (offscreen, vnc, ...) are taken as asked for.
[[nodiscard]] DisplayChoice chooseDisplay(const DisplayFacts& facts);

// The one line printed instead of opening the window, naming what the user
// can run instead.
[[nodiscard]] std::string noDisplayLine(std::string_view problem, std::string_view cliProgram);

}  // namespace karbelon::window::qt
