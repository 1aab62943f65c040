#pragma once

#include <QUrl>

namespace karbelon::window::qt {

// Hands the address to xdg-open, detached, with its standard streams on
// /dev/null: neither it nor the browser it starts writes into the program's
// terminal. Returns at once; a failure shows nothing.
void openInDesktopBrowser(const QUrl& url);

}  // namespace karbelon::window::qt
