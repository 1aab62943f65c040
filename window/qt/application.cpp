#include "application.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QResource>

namespace karbelon::qtview {

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Karbelon"));
    QApplication::setApplicationVersion(QStringLiteral(KARBELON_VERSION));
    QApplication::setWindowIcon(applicationIcon());
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

}  // namespace karbelon::qtview
