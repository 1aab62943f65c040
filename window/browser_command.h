#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace karbelon::window {

// How a click on Label6 opens the author's page: the system's file explorer,
// found through the "windir" environment value, with the address quoted.
struct BrowserCommand {
    // windir + "\explorer.exe": named separately so that a blank in windir can
    // never make the system run a different program than the explorer.
    std::string application;
    // application, a blank, then the address in double quotation marks.
    std::string commandLine;
};

// Nothing is launched without a windir: "\explorer.exe" alone would run
// whatever file sits at the root of the current drive.
std::optional<BrowserCommand> browserCommand(std::string_view windir, std::string_view address);

}  // namespace karbelon::window
