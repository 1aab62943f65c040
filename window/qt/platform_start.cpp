#include "platform_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "display_choice.h"

namespace karbelon::window::qt {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): before any thread
    return value == nullptr ? std::string() : std::string(value);
}

DisplaySession sessionFromEnvironment() {
    DisplaySession session{environment("QT_QPA_PLATFORM"), environment("DISPLAY"),
                           environment("WAYLAND_DISPLAY")};
    if (!environment("WAYLAND_SOCKET").empty()) {
        // A socket handed over by the compositor stands for the display.
        session.waylandDisplay = "WAYLAND_SOCKET";
    }
    return session;
}

// What the message handler, a plain function, knows during the start.
struct StartState {
    DisplaySession session;
    std::vector<std::string> missingPlatforms;
    int standardError = -1;
};

std::optional<StartState> startState;

void onStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (context.category != nullptr && std::strcmp(context.category, "qt.qpa.plugin") == 0) {
            if (auto platform = missingPlatform(message.toStdString())) {
                startState->missingPlatforms.push_back(std::move(*platform));
            }
        }
        return;
    }
    // Qt aborts when this returns, and its half-built application must not
    // be torn down: say why and leave at once, running no destructors.
    const std::string line =
        noDisplayLine(noDisplayProblem(startState->session, startState->missingPlatforms),
                      siblingProgram("karbelon-cli"));
    static_cast<void>(dprintf(startState->standardError, "%s", line.c_str()));
    std::_Exit(1);
}

}  // namespace

PlatformStart::PlatformStart(int argc, char* argv[]) : argumentCount_(argc) {
    StartState state{sessionFromEnvironment(), {}, -1};
    arguments_.assign(argv, argv + argc);
    if (state.session.requestedPlatforms.empty()) {
        platforms_ = defaultPlatforms(state.session);
        arguments_.insert(arguments_.begin() + 1, {platformOption_.data(), platforms_.data()});
        argumentCount_ += 2;
    }
    arguments_.push_back(nullptr);

    static_cast<void>(std::fflush(stderr));
    standardError_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (standardError_ >= 0 && nowhere >= 0) {
        dup2(nowhere, STDERR_FILENO);
    }
    if (nowhere >= 0) {
        close(nowhere);
    }
    state.standardError = standardError_ >= 0 ? standardError_ : STDERR_FILENO;
    startState = std::move(state);
    previousHandler_ = qInstallMessageHandler(onStartMessage);
}

PlatformStart::~PlatformStart() {
    finish();
}

void PlatformStart::finish() {
    if (!startState) {
        return;
    }
    qInstallMessageHandler(previousHandler_);
    startState.reset();
    if (standardError_ >= 0) {
        dup2(standardError_, STDERR_FILENO);
        close(standardError_);
        standardError_ = -1;
    }
}

std::string siblingProgram(const std::string& name) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path sibling = self.parent_path() / name;
        if (access(sibling.c_str(), X_OK) == 0) {
            return sibling.string();
        }
    }
    return name;
}

}  // namespace karbelon::window::qt
