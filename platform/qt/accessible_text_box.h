#pragma once

// What assistive technology is told about a text box.

class QAccessibleInterface;
class QLineEdit;

namespace velunor::platform {

// Qt's own answers for a line edit, but for two faults of Qt 6.4 that screen
// reader users would meet: the last character left out of every value, and a
// hang on the word at the end of the text.
QAccessibleInterface* accessibleTextBox(QLineEdit* box);

}  // namespace velunor::platform
