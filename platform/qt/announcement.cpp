#include "platform/qt/announcement.h"

#include <QAccessible>
#include <QLabel>

namespace velunor::platform {

Announcement::Announcement(QWidget* parent) : QWidget(parent), news_(new QLabel(this)) {
    news_->setTextFormat(Qt::PlainText);
    news_->setGeometry(0, 0, 0, 0);
    setGeometry(0, 0, 0, 0);
    hide();
}

// Hidden and shown again, and a value change each time, so the same news
// twice is spoken twice. An emptied label says nothing.
void Announcement::announce(QLabel& label) {
    const QString about = label.accessibleDescription();
    const QString caption = label.text();
    const QString news = about.isEmpty() || caption.isEmpty() ? caption : about + u' ' + caption;
    hide();
    news_->setText(news);
    if (caption.isEmpty()) {
        return;
    }
    show();
    QAccessibleValueChangeEvent spoken(&label, news);
    QAccessible::updateAccessibility(&spoken);
}

}  // namespace velunor::platform
