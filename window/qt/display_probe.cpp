#include "display_probe.h"

#include <unistd.h>
#include <wayland-client.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace karbelon::window::qt {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): before any thread
    return value == nullptr ? std::string() : std::string(value);
}

bool waylandDisplayOpens(const std::string& name) {
    wl_display* display = wl_display_connect(name.c_str());
    if (display == nullptr) {
        return false;
    }
    wl_display_disconnect(display);
    return true;
}

// Plugin keys from file names: libqxcb.so is "xcb"; the Wayland plugin
// libqwayland-generic.so answers to "wayland".
std::string platformKey(QString fileName) {
    fileName.remove(0, 4).chop(3);  // "libq" ... ".so"
    if (fileName == QStringLiteral("wayland-generic")) {
        return "wayland";
    }
    return fileName.toStdString();
}

std::vector<std::string> installedPlatforms() {
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                        QStringLiteral("/platforms")};
    for (const QString& path : QString::fromStdString(environment("QT_PLUGIN_PATH"))
                                   .split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        folders << path + QStringLiteral("/platforms");
    }
    folders << QString::fromStdString(environment("QT_QPA_PLATFORM_PLUGIN_PATH"));
    std::vector<std::string> keys;
    for (const QString& folder : folders) {
        if (folder.isEmpty()) {
            continue;  // QT_QPA_PLATFORM_PLUGIN_PATH unset
        }
        const QStringList files =
            QDir(folder).entryList({QStringLiteral("libq*.so")}, QDir::Files | QDir::Readable);
        for (const QString& file : files) {
            keys.push_back(platformKey(file));
        }
    }
    return keys;
}

}  // namespace

DisplayProbe::DisplayProbe() {
    facts_.requestedPlatforms = environment("QT_QPA_PLATFORM");
    facts_.xDisplay = environment("DISPLAY");
    if (!facts_.xDisplay.empty()) {
        // xcb reads the authority file and speaks the set-up handshake, so
        // a display that refuses us counts as one that cannot be opened.
        int screen = 0;
        xConnection_ = xcb_connect(facts_.xDisplay.c_str(), &screen);
        facts_.xDisplayOpens = xcb_connection_has_error(xConnection_) == 0;
    }
    facts_.waylandDisplay = environment("WAYLAND_DISPLAY");
    if (!environment("WAYLAND_SOCKET").empty()) {
        // A socket handed over by the compositor can be used only once:
        // leave it to Qt.
        facts_.waylandDisplay = "WAYLAND_SOCKET";
        facts_.waylandDisplayOpens = true;
    } else if (!facts_.waylandDisplay.empty()) {
        facts_.waylandDisplayOpens = waylandDisplayOpens(facts_.waylandDisplay);
    }
    facts_.installedPlatforms = installedPlatforms();
}

DisplayProbe::~DisplayProbe() {
    if (xConnection_ != nullptr) {
        xcb_disconnect(xConnection_);
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
