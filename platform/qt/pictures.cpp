#include "platform/qt/pictures.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace velunor::platform {

namespace {

// Pictures are PNG, which Qt Gui decodes itself. Naming the format and turning
// detection off keeps Qt from loading every image plugin to ask it first.
QPixmap readPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

// Prefers the "@2x" file on a high-density screen so the picture stays sharp.
QPixmap loadPicture(const QString& path, qreal devicePixelRatio) {
    if (devicePixelRatio > 1.0) {
        const qsizetype dot = path.lastIndexOf(u'.');
        const QString dense = path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
        if (QFile::exists(dense)) {
            QPixmap pixmap = readPng(dense);
            if (!pixmap.isNull()) {
                return pixmap;
            }
        }
    }
    return readPng(path);
}

// The plain picture, and on a high-density screen the "@2x" one as well.
QIcon loadIcon(const QString& path, qreal devicePixelRatio) {
    QIcon icon(readPng(path));
    if (devicePixelRatio > 1.0) {
        const QPixmap dense = loadPicture(path, devicePixelRatio);
        if (dense.devicePixelRatio() > 1.0) {
            icon.addPixmap(dense);
        }
    }
    return icon;
}

}  // namespace velunor::platform
