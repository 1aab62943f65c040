// What happens around the window: the display start-up, Qt's own
// texts in the user's language, and the silent browser launch.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "window/qt/application.h"
#include "window/qt/desktop_browser.h"
#include "window/qt/display_choice.h"

using karbelon::window::qt::DisplaySession;

namespace {

std::vector<std::string> toStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& item : list) {
        strings.push_back(item.toStdString());
    }
    return strings;
}

// A Unix socket's file that nobody listens on, as a compositor leaves it
// when it dies.
bool bindDeadSocket(const QString& path) {
    const int file = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    if (file < 0 || name.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) {
        return false;
    }
    std::copy(name.begin(), name.end(), std::begin(address.sun_path));
    const bool bound =
        bind(file, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(file);
    return bound;
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
    static void noDisplayProblem_data();
    static void noDisplayProblem();
    static void programStart_data();
    static void programStart();
    static void noDisplayLineIsOneLineNamingTheTerminalProgram();
    static void qtTranslation_data();
    static void qtTranslation();
    static void browserLaunch_data();
    static void browserLaunch();
};

// The phrases for sessions that programStart cannot set up.
void StartupTest::noDisplayProblem_data() {
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("problem");

    const QStringList none;
    const QStringList noWayland{QStringLiteral("wayland")};
    QTest::newRow("no Wayland plugin, X fails")
        << ""
        << ":0"
        << "wayland-0" << noWayland
        << "the Wayland display \"wayland-0\" needs Qt's Wayland support (Debian package "
           "qt6-wayland), and the X display \":0\" cannot be opened";
    QTest::newRow("no X plugin") << ""
                                 << ":0"
                                 << "" << QStringList{QStringLiteral("xcb")}
                                 << "the X display \":0\" needs Qt's X11 support (Debian package "
                                    "libqt6gui6)";
    QTest::newRow("xcb with options") << "xcb:nograb"
                                      << ":7"
                                      << "" << none << "the X display \":7\" cannot be opened";
    QTest::newRow("empty list entries") << ";;xcb;"
                                        << ":7"
                                        << "" << none << "the X display \":7\" cannot be opened";
    QTest::newRow("one phrase for both Wayland plugins")
        << "wayland-egl;wayland"
        << ""
        << "wayland-0" << QStringList{QStringLiteral("wayland-egl"), QStringLiteral("wayland")}
        << "the Wayland display \"wayland-0\" needs Qt's Wayland support (Debian package "
           "qt6-wayland)";
    QTest::newRow("platform that fails") << "eglfs"
                                         << ""
                                         << "" << none << "Qt's platform \"eglfs\" cannot start";
}

void StartupTest::noDisplayProblem() {
    QFETCH(QString, requested);
    QFETCH(QString, x);
    QFETCH(QString, wayland);
    QFETCH(QStringList, missing);
    QFETCH(QString, problem);
    const DisplaySession session{requested.toStdString(), x.toStdString(), wayland.toStdString()};
    QCOMPARE(
        QString::fromStdString(karbelon::window::qt::noDisplayProblem(session, toStrings(missing))),
        problem);
}

// The real program in sessions without a usable display: one line and
// status 1, nothing else on its streams. "wayland-dead" is a socket nobody
// listens on; a variable given empty is unset.
void StartupTest::programStart_data() {
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("withoutWaylandPlugin");
    QTest::addColumn<QString>("problem");  // empty: the window opens

    QTest::newRow("nothing set") << QStringList{} << false
                                 << "neither DISPLAY nor WAYLAND_DISPLAY is set";
    QTest::newRow("dead X display") << QStringList{QStringLiteral("DISPLAY=:4747")} << false
                                    << "the X display \":4747\" cannot be opened";
    QTest::newRow("dead compositor")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-dead")} << false
        << "the Wayland display \"wayland-dead\" cannot be opened";
    // libwayland itself writes to standard error then.
    QTest::newRow("dead compositor, no runtime folder")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-9"),
                       QStringLiteral("XDG_RUNTIME_DIR=")}
        << false << "the Wayland display \"wayland-9\" cannot be opened";
    QTest::newRow("both dead")
        << QStringList{QStringLiteral("DISPLAY=:4747"),
                       QStringLiteral("WAYLAND_DISPLAY=wayland-dead")}
        << false
        << "the Wayland display \"wayland-dead\" cannot be opened, and the X "
           "display \":4747\" cannot be opened";
    QTest::newRow("Wayland only, no qt6-wayland")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=wayland-dead")} << true
        << "the Wayland display \"wayland-dead\" needs Qt's Wayland support (Debian package "
           "qt6-wayland)";
    QTest::newRow("xcb asked for, only Wayland")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb"),
                       QStringLiteral("WAYLAND_DISPLAY=wayland-dead")}
        << false << "QT_QPA_PLATFORM=\"xcb\" names no display that is set";
    QTest::newRow("platform Qt lacks") << QStringList{QStringLiteral("QT_QPA_PLATFORM=nosuch")}
                                       << false << "Qt has no platform \"nosuch\"";
    QTest::newRow("offscreen asked for")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")} << false << "";
}

void StartupTest::programStart() {
    QFETCH(QStringList, environment);
    QFETCH(bool, withoutWaylandPlugin);
    QFETCH(QString, problem);
    QString program = qEnvironmentVariable("KARBELON_PROGRAM");
    if (program.isEmpty()) {
        QSKIP("KARBELON_PROGRAM names no program (ctest sets it)");
    }
#ifndef NDEBUG
    if (problem.isEmpty()) {
        QSKIP("debug builds print Qt's warnings");
    }
#endif
    QTemporaryDir runtime;
    QVERIFY(bindDeadSocket(runtime.filePath(QStringLiteral("wayland-dead"))));
    QTemporaryDir copy;
    if (withoutWaylandPlugin) {
        // Qt takes its plugins from the qt.conf beside the program: a copy
        // of it sees only the X11 and offscreen platforms.
        QVERIFY(QFile::copy(program, copy.filePath(QStringLiteral("karbelon"))));
        program = copy.filePath(QStringLiteral("karbelon"));
        QVERIFY(QDir(copy.path()).mkpath(QStringLiteral("plugins/platforms")));
        const QString platforms =
            QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/");
        for (const QString& plugin :
             {QStringLiteral("libqxcb.so"), QStringLiteral("libqoffscreen.so")}) {
            QVERIFY(QFile::link(platforms + plugin,
                                copy.filePath(QStringLiteral("plugins/platforms/") + plugin)));
        }
        QFile conf(copy.filePath(QStringLiteral("qt.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Paths]\nPlugins=" + copy.filePath(QStringLiteral("plugins")).toUtf8() + '\n');
    }

    QProcessEnvironment session;
    session.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    session.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    session.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    for (const QString& variable : environment) {
        const QString name = variable.section(QLatin1Char('='), 0, 0);
        const QString value = variable.section(QLatin1Char('='), 1);
        if (value.isEmpty()) {
            session.remove(name);
        } else {
            session.insert(name, value);
        }
    }
    QProcess process;
    process.setProcessEnvironment(session);
    process.start(program, {});
    QVERIFY(process.waitForStarted());
    if (problem.isEmpty()) {
        QVERIFY2(!process.waitForFinished(1500), process.readAllStandardError().constData());
        process.kill();
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        return;
    }
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QFileInfo cli(QFileInfo(program).dir().filePath(QStringLiteral("karbelon-cli")));
    const QString cliName = cli.isExecutable() ? cli.filePath() : QStringLiteral("karbelon-cli");
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QStringLiteral("karbelon: no display to open the window on (") + problem +
                 QStringLiteral("); the same calculator runs in a terminal: ") + cliName +
                 QLatin1Char('\n'));
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
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
