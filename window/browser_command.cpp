#include "browser_command.h"

namespace karbelon::window {

std::optional<BrowserCommand> browserCommand(std::string_view windir, std::string_view address) {
    if (windir.empty()) {
        return std::nullopt;
    }
    BrowserCommand command;
    command.application.append(windir).append("\\explorer.exe");
    command.commandLine.append(command.application).append(" \"").append(address).append("\"");
    return command;
}

}  // namespace karbelon::window
