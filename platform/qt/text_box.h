#pragma once

// A text box whose edge can be seen on any desktop palette, and whose text
// screen readers are told whole.

class QLineEdit;
class QString;
class QWidget;

namespace velunor::platform {

QLineEdit* makeTextBox(const QString& text, QWidget* parent);

}  // namespace velunor::platform
