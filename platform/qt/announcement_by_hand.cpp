#include <QAccessible>
#include <QLabel>

#include "platform/qt/announcement.h"

namespace velunor::platform {

const bool kAnnouncedByNotification = true;

Announcement::Announcement(QWidget* parent) : QWidget(parent), news_(new QLabel(this)) {
    news_->setTextFormat(Qt::PlainText);
    news_->setGeometry(0, 0, 0, 0);
    setGeometry(0, 0, 0, 0);
    hide();
}

// Hidden and shown again, and a value change each time, so the same news
// twice is spoken twice. An emptied label says nothing.
void Announcement::announce(QLabel& label) {
    const QString news = announcedNews(label);
    hide();
    news_->setText(news);
    if (label.text().isEmpty()) {
        return;
    }
    show();
    QAccessibleValueChangeEvent spoken(&label, news);
    QAccessible::updateAccessibility(&spoken);
}

std::optional<QString> toldBy(const QAccessibleEvent& event) {
    if (event.type() != QAccessible::ValueChanged) {
        return std::nullopt;
    }
    return static_cast<const QAccessibleValueChangeEvent&>(event).value().toString();
}

}  // namespace velunor::platform
