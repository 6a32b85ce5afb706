#include "platform/qt/control.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <stdexcept>
#include <string>

#include "platform/qt/control_looks.h"
#include "platform/qt/convert.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_box.h"

namespace velunor::platform {

namespace {

// The widget of a row's kind, with its caption, colours and initial state.
QWidget* make(const ControlRow& row, QWidget* parent) {
    const QString caption = toQString(row.caption);
    const bool centred = has(row.style, Style::CentreText);
    switch (row.kind) {
        case ControlKind::TextBox: {
            // Qt's own length limit (32767) stays: a box lays out its whole text on
            // every keystroke, and megabytes would take most of a second each time.
            auto* box = new TextBox(caption, parent);
            keepShownTextOnly(box);
            box->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            return box;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
            if (has(row.style, Style::BorderSingle)) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setLineWidth(1);
            }
            if (has(row.style, Style::BlackOnWhite)) {
                useBlackOnWhite(label);
            } else {
                useControlFace(label);
            }
            if (has(row.style, Style::CopyMenu)) {
                offerCopy(label);
            }
            return label;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(caption, parent);
            useControlFace(frame);
            return frame;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(has(row.style, Style::Selected));
            useControlFace(option);
            return option;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            button->setDefault(has(row.style, Style::DefaultButton));
            return button;
        }
        case ControlKind::PictureBox: {
            auto* picture = new QLabel(parent);
            picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            picture->setLineWidth(2);
            picture->setFocusPolicy(Qt::StrongFocus);
            picture->setPixmap(loadPicture(caption, parent->devicePixelRatio()));
            useControlFace(picture);
            return picture;
        }
    }
    throw std::invalid_argument("unknown control kind");
}

}  // namespace

Control::Control(const ControlRow& row, QWidget* parent) : row_(row), widget_(make(row, parent)) {
    widget_->setObjectName(toQString(row.name));
    widget_->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
    if (row.kind == ControlKind::OptionButton) {
        fitMarker(widget_);
    }
    if (!row.font.family.empty()) {
        widget_->setFont(QFont(installedFamily(toQString(row.font.family)), row.font.pointSize));
    }
    if (is(Style::AutoSize)) {
        autoSize();
    }
}

bool Control::takesFocus() const {
    return row_.kind == ControlKind::TextBox || row_.kind == ControlKind::OptionButton ||
           row_.kind == ControlKind::CommandButton || row_.kind == ControlKind::PictureBox;
}

template <typename Widget>
Widget* Control::as(ControlKind kind) const {
    if (row_.kind != kind) {
        throw std::invalid_argument("control " + std::string(row_.name) + " is of another kind");
    }
    return static_cast<Widget*>(widget_);
}

QLineEdit* Control::textBox() const {
    return as<QLineEdit>(ControlKind::TextBox);
}

QLabel* Control::label() const {
    return as<QLabel>(ControlKind::Label);
}

QRadioButton* Control::optionButton() const {
    return as<QRadioButton>(ControlKind::OptionButton);
}

QPushButton* Control::commandButton() const {
    return as<QPushButton>(ControlKind::CommandButton);
}

QGroupBox* Control::frame() const {
    return as<QGroupBox>(ControlKind::Frame);
}

void Control::setCaption(const QString& caption) {
    label()->setText(caption);
    if (is(Style::AutoSize)) {
        autoSize();
    }
}

// A label to its text, a picture box to its picture and border; one that
// centres its text grows about its design centre.
void Control::autoSize() {
    QSize size = widget_->sizeHint();
    if (row_.kind == ControlKind::PictureBox) {
        const auto* picture = static_cast<const QLabel*>(widget_);
        if (picture->pixmap().isNull()) {
            return;
        }
        const int border = picture->frameWidth();
        size = picture->pixmap().deviceIndependentSize().toSize() + QSize(2 * border, 2 * border);
    }
    int left = widget_->x();
    if (is(Style::CentreText)) {
        left = pixels(row_.left + row_.width / 2.0) - size.width() / 2;
    }
    widget_->setGeometry(left, widget_->y(), size.width(), size.height());
}

}  // namespace velunor::platform
