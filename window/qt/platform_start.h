#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

namespace karbelon::window::qt {

// Qt's start of its platform, made quiet and ending in one line. Qt tries
// the platforms in order (QT_QPA_PLATFORM, else defaultPlatforms) and, when
// none starts, aborts with a fatal message; until finish(), that message
// becomes noDisplayLine and exit status 1, and Qt's warnings and what the
// display libraries write to standard error themselves (libwayland, Xlib)
// go nowhere. Create right before the QApplication, one at a time.
class PlatformStart {
  public:
    PlatformStart(int argc, char* argv[]);
    PlatformStart(const PlatformStart&) = delete;
    PlatformStart& operator=(const PlatformStart&) = delete;
    PlatformStart(PlatformStart&&) = delete;
    PlatformStart& operator=(PlatformStart&&) = delete;
    ~PlatformStart();

    // The command line for QApplication, with the default list put first
    // when the session asks for none, so that a "-platform" given on the
    // command line still wins. Both live as long as this object.
    [[nodiscard]] int& argumentCount() { return argumentCount_; }
    [[nodiscard]] char** arguments() { return arguments_.data(); }

    // Qt's platform runs: standard error and the message handler in use
    // before go back in place.
    void finish();

  private:
    std::string platformOption_ = "-platform";
    std::string platforms_;
    std::vector<char*> arguments_;
    int argumentCount_ = 0;
    int standardError_ = -1;  // the real one, while ours points to /dev/null
    QtMessageHandler previousHandler_ = nullptr;
};

// The program of that name beside this executable when there is one (as
// after a build, or in /usr/bin), else the bare name.
[[nodiscard]] std::string siblingProgram(const std::string& name);

}  // namespace karbelon::window::qt
