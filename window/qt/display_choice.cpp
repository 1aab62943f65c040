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

bool isInstalled(const DisplayFacts& facts, std::string_view platform) {
    return std::find(facts.installedPlatforms.begin(), facts.installedPlatforms.end(), platform) !=
           facts.installedPlatforms.end();
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

// Why one platform cannot show the window: empty when it can, and also when
// its display is simply not set (nothing was offered, nothing failed).
struct Verdict {
    bool usable = false;
    std::string problem;
};

Verdict judge(const DisplayFacts& facts, std::string_view entry) {
    // An entry may carry plugin options after a colon: "xcb:foo=1".
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (name == "xcb") {
        if (facts.xDisplay.empty()) {
            return {};
        }
        if (!facts.xDisplayOpens) {
            return {false, concat({"the X display \"", facts.xDisplay, "\" cannot be opened"})};
        }
        if (!isInstalled(facts, name)) {
            return {false, concat({"the X display \"", facts.xDisplay,
                                   "\" needs Qt's X11 support (Debian package libqt6gui6)"})};
        }
        return {true, {}};
    }
    if (name.starts_with("wayland")) {
        if (facts.waylandDisplay.empty()) {
            return {};
        }
        if (!facts.waylandDisplayOpens) {
            return {false, concat({"the Wayland display \"", facts.waylandDisplay,
                                   "\" cannot be opened"})};
        }
        if (!isInstalled(facts, name)) {
            return {false, concat({"the Wayland display \"", facts.waylandDisplay,
                                   "\" needs Qt's Wayland support (Debian package qt6-wayland)"})};
        }
        return {true, {}};
    }
    return {true, {}};
}

}  // namespace

DisplayChoice chooseDisplay(const DisplayFacts& facts) {
    std::vector<std::string_view> candidates = splitPlatformList(facts.requestedPlatforms);
    if (candidates.empty()) {
        candidates = {"wayland", "xcb"};
    }
    std::string problems;
    for (const std::string_view candidate : candidates) {
        const Verdict verdict = judge(facts, candidate);
        if (verdict.usable) {
            return {std::string(candidate), {}};
        }
        if (!verdict.problem.empty() && problems.find(verdict.problem) == std::string::npos) {
            problems += problems.empty() ? "" : ", and ";
            problems += verdict.problem;
        }
    }
    if (!problems.empty()) {
        return {{}, problems};
    }
    if (facts.requestedPlatforms.empty()) {
        return {{}, "neither DISPLAY nor WAYLAND_DISPLAY is set"};
    }
    return {{},
            concat({"QT_QPA_PLATFORM=\"", facts.requestedPlatforms,
                    "\" names no display that is set"})};
}

std::string noDisplayLine(std::string_view problem, std::string_view cliProgram) {
    return concat({"karbelon: no display to open the window on (", problem,
                   "); the same calculator runs in a terminal: ", cliProgram, "\n"});
}

}  // namespace karbelon::window::qt
