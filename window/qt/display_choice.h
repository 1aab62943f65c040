#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karbelon::window::qt {

// The session's displays as its environment names them.
struct DisplaySession {
    std::string requestedPlatforms;  // QT_QPA_PLATFORM, empty when unset
    std::string xDisplay;            // DISPLAY, empty when unset
    std::string waylandDisplay;      // WAYLAND_DISPLAY, "WAYLAND_SOCKET" when handed one
};

// The ordered list for Qt's "-platform" when the session asks for none:
// native Wayland first, then X11 (XWayland included). Wayland only when its
// display is set: trying it loads Qt's Wayland client, which slows an X11
// start, and would fall back on a "wayland-0" nobody named.
[[nodiscard]] std::string defaultPlatforms(const DisplaySession& session);

// The platform that a warning of Qt's ("qt.qpa.plugin") says is not
// installed, if it says that.
[[nodiscard]] std::optional<std::string> missingPlatform(std::string_view message);

// Why Qt could start none of the platforms: the requested ones, else the
// default list. Those in `missing` are not installed; the others failed to
// open their display. A phrase for noDisplayLine.
[[nodiscard]] std::string noDisplayProblem(const DisplaySession& session,
                                           const std::vector<std::string>& missing);

// The one line printed instead of opening the window, naming what the user
// can run instead.
[[nodiscard]] std::string noDisplayLine(std::string_view problem, std::string_view cliProgram);

}  // namespace karbelon::window::qt
