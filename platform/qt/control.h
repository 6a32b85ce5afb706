#pragma once

// One control of a form: its row of the table and the finished widget made
// from it. The one place that knows which Qt class stands for which kind.

#include "platform/form_table.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QString;
class QWidget;

namespace velunor::platform {

class Control {
public:
    // The widget for the row, in `parent`, finished: its class, caption,
    // colours and state, name, geometry, font, marker and, where the row says
    // so, the size of its content.
    Control(const ControlRow& row, QWidget* parent);

    const ControlRow& row() const { return row_; }
    ControlKind kind() const { return row_.kind; }
    bool is(Style flag) const { return has(row_.style, flag); }
    QWidget* widget() const { return widget_; }
    // What the user can give the focus to: boxes, options, buttons, the picture.
    bool takesFocus() const;

    // The widget as its kind's class; for a control of another kind they throw
    // std::invalid_argument.
    QLineEdit* textBox() const;
    QLabel* label() const;
    QRadioButton* optionButton() const;
    QPushButton* commandButton() const;
    QGroupBox* frame() const;

    // A label's new caption; an auto-sized label fits it.
    void setCaption(const QString& caption);

private:
    template <typename Widget>
    Widget* as(ControlKind kind) const;
    void autoSize();

    ControlRow row_;
    QWidget* widget_;
};

}  // namespace velunor::platform
