#include "display_choice.h"

#include <algorithm>
#include <initializer_list>

namespace karbelon::window::qt {

namespace {

std::vector<std::string_view> splitPlatformList(std::string_view list) {
    std::vector<std::string_view> entries;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        if (end > 0) {
            entries.push_back(list.substr(0, end));
        }
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return entries;
}

// Appending piece by piece: GCC 12 at -O3 takes "literal" + std::string for
// an overlapping copy (-Wrestrict).
std::string concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces) {
        text += piece;
    }
    return text;
}

// Why one platform did not start; empty when its display is simply not set
// (nothing was offered, nothing failed).
std::string problemOf(const DisplaySession& session, std::string_view name, bool installed) {
    if (name == "xcb") {
        if (session.xDisplay.empty()) {
            return {};
        }
        return installed ? concat({"the X display \"", session.xDisplay, "\" cannot be opened"})
                         : concat({"the X display \"", session.xDisplay,
                                   "\" needs Qt's X11 support (Debian package libqt6gui6)"});
    }
    if (name.starts_with("wayland")) {
        if (session.waylandDisplay.empty()) {
            return {};
        }
        return installed ? concat({"the Wayland display \"", session.waylandDisplay,
                                   "\" cannot be opened"})
                         : concat({"the Wayland display \"", session.waylandDisplay,
                                   "\" needs Qt's Wayland support (Debian package qt6-wayland)"});
    }
    return installed ? concat({"Qt's platform \"", name, "\" cannot start"})
                     : concat({"Qt has no platform \"", name, "\""});
}

}  // namespace

std::string defaultPlatforms(const DisplaySession& session) {
    return session.waylandDisplay.empty() ? "xcb" : "wayland;xcb";
}

std::optional<std::string> missingPlatform(std::string_view message) {
    constexpr std::string_view notFound = "Could not find the Qt platform plugin \"";
    if (!message.starts_with(notFound)) {
        return std::nullopt;
    }
    message.remove_prefix(notFound.size());
    const std::size_t end = message.find('"');
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(message.substr(0, end));
}

std::string noDisplayProblem(const DisplaySession& session,
                             const std::vector<std::string>& missing) {
    const std::string platforms =
        session.requestedPlatforms.empty() ? defaultPlatforms(session) : session.requestedPlatforms;
    std::string problems;
    for (const std::string_view entry : splitPlatformList(platforms)) {
        // An entry may carry plugin options after a colon: "xcb:foo=1".
        const std::string_view name = entry.substr(0, entry.find(':'));
        const bool installed = std::find(missing.begin(), missing.end(), name) == missing.end();
        const std::string problem = problemOf(session, name, installed);
        if (!problem.empty() && problems.find(problem) == std::string::npos) {
            problems += problems.empty() ? "" : ", and ";
            problems += problem;
        }
    }
    if (!problems.empty()) {
        return problems;
    }
    if (session.requestedPlatforms.empty()) {
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    }
    return concat(
        {"QT_QPA_PLATFORM=\"", session.requestedPlatforms, "\" names no display that is set"});
}

std::string noDisplayLine(std::string_view problem, std::string_view cliProgram) {
    return concat({"karbelon: no display to open the window on (", problem,
                   "); the same calculator runs in a terminal: ", cliProgram, "\n"});
}

}  // namespace karbelon::window::qt
