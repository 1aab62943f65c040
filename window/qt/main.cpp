#include <QApplication>
#include <QLocale>

#include "application.h"
#include "form1_window.h"
#include "locale_conventions.h"
#include "platform_start.h"

int main(int argc, char* argv[]) {
    karbelon::window::qt::silenceQtMessages();

    // Without a display Qt's platform plugin aborts with a long message and
    // a core dump; the start turns that into one line.
    karbelon::window::qt::PlatformStart start(argc, argv);
    QApplication app(start.argumentCount(), start.arguments());
    start.finish();
    karbelon::window::qt::configureApplication();
    karbelon::window::qt::Form1Window window(
        karbelon::window::qt::conventionsFrom(QLocale::system()));
    window.show();
    return QApplication::exec();
}
