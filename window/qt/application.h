#pragma once

#include <QApplication>
#include <QIcon>

namespace karbelon::qtview {

// Name, version and window icon of the program; call once the QApplication
// exists.
void configureApplication();

// The program's icon in five sizes, from pixels built into the binary.
QIcon applicationIcon();

}  // namespace karbelon::qtview
