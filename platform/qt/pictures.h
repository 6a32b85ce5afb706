#pragma once

// The window's pictures: PNG files from the resources, sharp on any screen.

#include <QtGlobal>

class QIcon;
class QPixmap;
class QString;

namespace velunor::platform {

// A PNG picture, the "@2x" one where the pixel density calls for it.
QPixmap loadPicture(const QString& path, qreal devicePixelRatio);
QIcon loadIcon(const QString& path, qreal devicePixelRatio);

}  // namespace velunor::platform
