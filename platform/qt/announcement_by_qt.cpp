#include <QAccessible>
#include <QLabel>

#include "platform/qt/announcement.h"

namespace velunor::platform {

const bool kAnnouncedByNotification = false;

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    setGeometry(0, 0, 0, 0);
    hide();
}

// From the label itself, each time, so the same news twice is spoken twice. An
// emptied label says nothing.
void Announcement::announce(QLabel& label) {
    if (label.text().isEmpty()) {
        return;
    }
    QAccessibleAnnouncementEvent spoken(&label, announcedNews(label));
    QAccessible::updateAccessibility(&spoken);
}

std::optional<QString> toldBy(const QAccessibleEvent& event) {
    if (event.type() != QAccessible::Announcement) {
        return std::nullopt;
    }
    return static_cast<const QAccessibleAnnouncementEvent&>(event).message();
}

}  // namespace velunor::platform
