#include "desktop_browser.h"

#include <QProcess>

namespace karbelon::window::qt {

void openInDesktopBrowser(const QUrl& url) {
    QProcess launcher;
    launcher.setProgram(QStringLiteral("xdg-open"));
    launcher.setArguments({url.toString(QUrl::FullyEncoded)});
    launcher.setStandardInputFile(QProcess::nullDevice());
    launcher.setStandardOutputFile(QProcess::nullDevice());
    launcher.setStandardErrorFile(QProcess::nullDevice());
    static_cast<void>(launcher.startDetached());
}

}  // namespace karbelon::window::qt
