#pragma once

// A text box whose edge can be seen on any desktop palette. The style draws
// the edge in a tint of the window colour, which all but vanishes on the pale
// or dark grounds of many desktop palettes; this box draws its outer ring
// itself, in colours taken from the palette it is shown with.

#include <QLineEdit>

namespace velunor::platform {

class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velunor::platform
