#include "application.h"

#include <QByteArray>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QResource>
#include <cstdio>

namespace karbelon::window::qt {

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Karbelon"));
    QApplication::setApplicationVersion(QStringLiteral(KARBELON_VERSION));
    QApplication::setWindowIcon(applicationIcon());
    auto* translator = new QTranslator(QApplication::instance());
    if (loadQtTranslation(*translator, QLocale::system())) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

bool loadQtTranslation(QTranslator& translator, const QLocale& locale) {
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void silenceQtMessages() {
#ifdef NDEBUG
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            static_cast<void>(std::fprintf(stderr, "karbelon: %s\n", qPrintable(message)));
        }
    });
#endif
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {KARBELON_ICON_SIZES}) {
        const QResource resource(QStringLiteral(":/icons/karbelon-%1.rgba").arg(size));
        const QByteArray pixels = resource.uncompressedData();
        if (pixels.size() != qsizetype{size} * size * 4) {
            continue;  // a file of the wrong size would be read past its end
        }
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size,
                           QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image));  // copies the pixels
    }
    return icon;
}

}  // namespace karbelon::window::qt
