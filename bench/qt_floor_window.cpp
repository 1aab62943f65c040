// The least Qt Widgets programs that show a window: the toolkit's own start-up
// time, against which bench/startup.py measures karbelon. With --label the
// window shows one line of Hangul, so that Qt also sets up its fonts, as any
// window with text must; without it the window is empty.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt floor"));
    window.resize(398, 318);  // the size of karbelon's window
    if (QApplication::arguments().contains(QStringLiteral("--label"))) {
        new QLabel(QStringLiteral("카르벨론 데미지 계산기"), &window);
    }
    window.show();
    return QApplication::exec();
}
