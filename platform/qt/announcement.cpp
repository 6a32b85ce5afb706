#include "platform/qt/announcement.h"

#include <QLabel>

namespace velunor::platform {

Announcement::Announcement(QWidget* parent) : QWidget(parent), news_(new QLabel(this)) {
    news_->setTextFormat(Qt::PlainText);
    news_->setGeometry(0, 0, 0, 0);
    setGeometry(0, 0, 0, 0);
    hide();
}

// Hidden and shown again, so the same news twice is spoken twice.
void Announcement::announce(const QLabel& label) {
    const QString about = label.accessibleDescription();
    const QString caption = label.text();
    hide();
    news_->setText(about.isEmpty() || caption.isEmpty() ? caption : about + u' ' + caption);
    if (!caption.isEmpty()) {
        show();
    }
}

}  // namespace velunor::platform
