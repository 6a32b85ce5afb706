#include "platform/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "platform/qt/accessible_text_box.h"
#include "platform/qt/announcement.h"
#include "platform/qt/form_window.h"
#include "platform/qt/text_box.h"

namespace velunor::platform {

namespace {

QAccessibleInterface* accessibleFor(const QString& /*key*/, QObject* object) {
    if (auto* window = dynamic_cast<FormWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    if (auto* announcement = dynamic_cast<Announcement*>(object)) {
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    }
    if (auto* box = dynamic_cast<TextBox*>(object)) {
        return accessibleTextBox(box);
    }
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
    QAccessible::installFactory(accessibleFor);
}

}  // namespace velunor::platform
