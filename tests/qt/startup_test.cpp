// What happens around the window: the display start-up picks, Qt's own
// texts in the user's language, and the silent browser launch.
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "window/qt/application.h"
#include "window/qt/desktop_browser.h"
#include "window/qt/display_choice.h"

using karbelon::window::qt::DisplayFacts;

namespace {

std::vector<std::string> toStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& item : list) {
        strings.push_back(item.toStdString());
    }
    return strings;
}

// Standard error's bytes written while it was redirected to a file.
class StderrCapture {
  public:
    StderrCapture() : saved_(dup(STDERR_FILENO)) {
        static_cast<void>(std::fflush(stderr));
        const int file = open(path_.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, STDERR_FILENO);
        close(file);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    ~StderrCapture() { restore(); }

    QByteArray finish() {
        restore();
        QFile file(path_);
        static_cast<void>(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

  private:
    void restore() {
        if (saved_ >= 0) {
            static_cast<void>(std::fflush(stderr));
            dup2(saved_, STDERR_FILENO);
            close(saved_);
            saved_ = -1;
        }
    }

    QTemporaryDir dir_;
    QString path_ = dir_.filePath(QStringLiteral("stderr"));
    int saved_;
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    static void displayChoice_data();
    static void displayChoice();
    static void noDisplayLineIsOneLineNamingTheTerminalProgram();
    static void qtTranslation_data();
    static void qtTranslation();
    static void browserLaunch_data();
    static void browserLaunch();
};

void StartupTest::displayChoice_data() {
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("x");
    QTest::addColumn<bool>("xOpens");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("waylandOpens");
    QTest::addColumn<QStringList>("plugins");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("problem");

    const QStringList both{QStringLiteral("xcb"), QStringLiteral("wayland"),
                           QStringLiteral("offscreen")};
    const QStringList xOnly{QStringLiteral("xcb"), QStringLiteral("offscreen")};
    QTest::newRow("X11 session") << ""
                                 << ":0" << true << "" << false << both << "xcb"
                                 << "";
    QTest::newRow("Wayland session, native first")
        << ""
        << ":0" << true << "wayland-0" << true << both << "wayland"
        << "";
    QTest::newRow("Wayland without its plugin, XWayland")
        << ""
        << ":0" << true << "wayland-0" << true << xOnly << "xcb"
        << "";
    QTest::newRow("Wayland only, no plugin")
        << ""
        << "" << false << "wayland-0" << true << xOnly << ""
        << "the Wayland display \"wayland-0\" needs Qt's Wayland support (Debian package "
           "qt6-wayland)";
    QTest::newRow("nothing set") << ""
                                 << "" << false << "" << false << both << ""
                                 << "neither DISPLAY nor WAYLAND_DISPLAY is set";
    QTest::newRow("stale DISPLAY") << ""
                                   << ":7" << false << "" << false << both << ""
                                   << "the X display \":7\" cannot be opened";
    QTest::newRow("stale DISPLAY, dead compositor")
        << ""
        << ":7" << false << "wayland-1" << false << both << ""
        << "the Wayland display \"wayland-1\" cannot be opened, and the X display \":7\" "
           "cannot be opened";
    QTest::newRow("dead compositor, X works")
        << ""
        << ":0" << true << "wayland-1" << false << both << "xcb"
        << "";
    QTest::newRow("offscreen asked for, no display")
        << "offscreen"
        << "" << false << "" << false << both << "offscreen"
        << "";
    QTest::newRow("xcb with options") << "xcb:nograb"
                                      << ":0" << true << "" << false << both << "xcb:nograb"
                                      << "";
    QTest::newRow("xcb asked for, only Wayland")
        << "xcb"
        << "" << false << "wayland-0" << true << both << ""
        << "QT_QPA_PLATFORM=\"xcb\" names no display that is set";
    QTest::newRow("asked list falls through")
        << "wayland;xcb"
        << ":0" << true << "wayland-0" << true << xOnly << "xcb"
        << "";
    QTest::newRow("empty list entries") << ";;xcb;"
                                        << ":0" << true << "" << false << both << "xcb"
                                        << "";
    QTest::newRow("wayland-egl needs its own plugin")
        << "wayland-egl"
        << "" << false << "wayland-0" << true << both << ""
        << "the Wayland display \"wayland-0\" needs Qt's Wayland support (Debian package "
           "qt6-wayland)";
}

void StartupTest::displayChoice() {
    QFETCH(QString, requested);
    QFETCH(QString, x);
    QFETCH(bool, xOpens);
    QFETCH(QString, wayland);
    QFETCH(bool, waylandOpens);
    QFETCH(QStringList, plugins);
    QFETCH(QString, platform);
    QFETCH(QString, problem);
    const DisplayFacts facts{requested.toStdString(), x.toStdString(), xOpens,
                             wayland.toStdString(),   waylandOpens,    toStrings(plugins)};
    const karbelon::window::qt::DisplayChoice choice = karbelon::window::qt::chooseDisplay(facts);
    QCOMPARE(QString::fromStdString(choice.platform), platform);
    QCOMPARE(QString::fromStdString(choice.problem), problem);
}

void StartupTest::noDisplayLineIsOneLineNamingTheTerminalProgram() {
    const std::string line = karbelon::window::qt::noDisplayLine(
        "neither DISPLAY nor WAYLAND_DISPLAY is set", "/opt/k/bin/karbelon-cli");
    QCOMPARE(QString::fromStdString(line),
             QStringLiteral("karbelon: no display to open the window on (neither DISPLAY nor "
                            "WAYLAND_DISPLAY is set); the same calculator runs in a terminal: "
                            "/opt/k/bin/karbelon-cli\n"));
}

void StartupTest::qtTranslation_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("okButton");
    QTest::addColumn<QString>("undoAction");
    QTest::newRow("Korean") << "ko_KR"
                            << "qtbase_ko.qm"
                            << "확인"
                            << "실행 취소(&U)";
    QTest::newRow("German") << "de_DE"
                            << "qtbase_de.qm"
                            << "OK"
                            << "&Rückgängig";
    QTest::newRow("Yoruba, none") << "yo_NG"
                                  << ""
                                  << "OK"
                                  << "&Undo";
    QTest::newRow("C") << "C"
                       << ""
                       << "OK"
                       << "&Undo";
}

void StartupTest::qtTranslation() {
    QFETCH(QString, locale);
    QFETCH(QString, file);
    QFETCH(QString, okButton);
    QFETCH(QString, undoAction);
    QTranslator translator;
    QCOMPARE(karbelon::window::qt::loadQtTranslation(translator, QLocale(locale)), !file.isEmpty());
    QVERIFY2(translator.filePath().endsWith(QLatin1Char('/') + file) || file.isEmpty(),
             qPrintable(translator.filePath()));
    QVERIFY(QCoreApplication::installTranslator(&translator) || file.isEmpty());

    // What the user sees: the message box's button and the boxes' context menu.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Karbelon"), QStringLiteral("x"),
                    QMessageBox::Ok);
    const QString shownOk = box.button(QMessageBox::Ok)->text();
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    const QString shownUndo = menu->actions().value(0)->text().section(QLatin1Char('\t'), 0, 0);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shownOk, okButton);
    QCOMPARE(shownUndo, undoAction);
}

void StartupTest::browserLaunch_data() {
    QTest::addColumn<bool>("launcherInstalled");
    QTest::newRow("xdg-open present") << true;
    QTest::newRow("xdg-open missing") << false;
}

void StartupTest::browserLaunch() {
    QFETCH(bool, launcherInstalled);
    QTemporaryDir bin;
    const QString record = bin.filePath(QStringLiteral("record"));
    if (launcherInstalled) {
        // A stand-in that says where its streams lead, then writes to them.
        QFile launcher(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.write(
            "#!/bin/sh\n"
            "dir=$(dirname \"$0\")\n"
            "streams=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
            "printf '%s\\n%s\\n' \"$*\" \"$streams\" > \"$dir/partial\"\n"
            "mv \"$dir/partial\" \"$dir/record\"\n"
            "echo browser chatter; echo browser warning >&2\n");
        launcher.close();
        launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", (bin.path() + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit());
    if (!launcherInstalled) {
        qputenv("PATH", bin.path().toLocal8Bit());
    }
    StderrCapture stderrCapture;
    karbelon::window::qt::openInDesktopBrowser(QUrl(QStringLiteral("http://orvane.example/")));
    if (launcherInstalled) {
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(record); }, 10000));
    }
    QTest::qWait(200);  // time for any late chatter
    const QByteArray printed = stderrCapture.finish();
    qputenv("PATH", path);

    QCOMPARE(printed, QByteArray());
    if (launcherInstalled) {
        QFile seen(record);
        QVERIFY(seen.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(seen.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("http://orvane.example/"), QStringLiteral("/dev/null"),
                              QStringLiteral("/dev/null"), QStringLiteral("/dev/null")}));
    }
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
