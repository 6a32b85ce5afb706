#include "platform/qt/announcement.h"

#include <QLabel>

namespace velunor::platform {

QString announcedNews(const QLabel& label) {
    const QString about = label.accessibleDescription();
    const QString caption = label.text();
    return about.isEmpty() || caption.isEmpty() ? caption : about + u' ' + caption;
}

}  // namespace velunor::platform
