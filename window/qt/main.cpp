#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "application.h"
#include "form1_window.h"
#include "locale_conventions.h"

namespace {

// Without any display Qt aborts with a long plugin message; one clear line
// serves better. QT_QPA_PLATFORM set means the user picked a platform.
bool displayAvailable() {
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): before any thread
        return value != nullptr && *value != '\0';
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        static_cast<void>(std::fputs(
            "karbelon: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset); run it "
            "under xvfb-run, or use karbelon-cli in a terminal.\n",
            stderr));
        return 1;
    }
    QApplication app(argc, argv);
    karbelon::qtview::configureApplication();
    karbelon::qtview::Form1Window window(karbelon::qtview::conventionsFrom(QLocale::system()));
    window.show();
    return QApplication::exec();
}
