#pragma once

class QString;
class QWidget;

namespace velunor::platform {

// Modal over `window`, one OK button, no icon; returns when dismissed. Line
// feeds break lines and spaces are shown as written.
void showMessageBox(QWidget& window, const QString& title, const QString& text);

}  // namespace velunor::platform
