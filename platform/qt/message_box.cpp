#include "platform/qt/message_box.h"

#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace velunor::platform {

namespace {

// A message's lines are laid out as written (the About text indents its
// formula under its first line), so the box grows to its longest line instead
// of wrapping at its usual width; only a screen too narrow still wraps it.
void keepLines(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr) {
        return;
    }
    int widest = 0;
    for (const QString& line : box.text().split(u'\n')) {
        widest = qMax(widest, label->fontMetrics().horizontalAdvance(line));
    }
    const int room = box.screen()->availableGeometry().width() * 3 / 4;
    label->setMinimumWidth(qMin(widest + label->fontMetrics().averageCharWidth(), room));
}

}  // namespace

void showMessageBox(QWidget& window, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, &window);
    box.setTextFormat(Qt::PlainText);
    // Some desktop themes decorate dialog buttons; the box shows no picture at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    keepLines(box);
    box.exec();
    // Not every window system hands the focus back when the box goes; the
    // window's own focus returns with the activation and is no GotFocus.
    if (window.isVisible()) {
        window.activateWindow();
    }
}

}  // namespace velunor::platform
