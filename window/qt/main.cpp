#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "display_choice.h"
#include "display_probe.h"
#include "form1_window.h"
#include "locale_conventions.h"

int main(int argc, char* argv[]) {
    karbelon::window::qt::silenceQtMessages();

    // Without a display Qt's platform plugin aborts with a long message and
    // a core dump; decide first, and tell Qt which platform to take.
    auto probe = std::make_unique<karbelon::window::qt::DisplayProbe>();
    const karbelon::window::qt::DisplayChoice display =
        karbelon::window::qt::chooseDisplay(probe->facts());
    if (display.platform.empty()) {
        const std::string line = karbelon::window::qt::noDisplayLine(
            display.problem, karbelon::window::qt::siblingProgram("karbelon-cli"));
        static_cast<void>(std::fputs(line.c_str(), stderr));
        return 1;
    }
    // "-platform" goes first, so one given on the command line still wins.
    std::string platformOption = "-platform";
    std::string platform = display.platform;
    std::vector<char*> arguments{argv[0], platformOption.data(), platform.data()};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    arguments.push_back(nullptr);
    int argumentCount = argc + 2;

    QApplication app(argumentCount, arguments.data());
    probe.reset();  // Qt holds its own connection now
    karbelon::window::qt::configureApplication();
    karbelon::window::qt::Form1Window window(
        karbelon::window::qt::conventionsFrom(QLocale::system()));
    window.show();
    return QApplication::exec();
}
