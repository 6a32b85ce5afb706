#include "platform/controls.h"

#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QValidator>

#include <stdexcept>

#include "platform/qt/convert.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_box.h"

namespace velunor::platform {

namespace {

// Labels, frames and option buttons show the control face colour, as they
// always have, on a window that shows the system window colour.
void useControlFace(QWidget* widget) {
    widget->setBackgroundRole(QPalette::Button);
    widget->setForegroundRole(QPalette::ButtonText);
    widget->setAutoFillBackground(true);
}

void useBlackOnWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setForegroundRole(QPalette::WindowText);
    widget->setAutoFillBackground(true);
}

// Right-click copies what the label shows, say a result for the patient
// record. The label still takes no focus, the menu closing is no GotFocus,
// and an empty label offers nothing.
void offerCopy(QLabel* label) {
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, label, [label](QPoint at) {
        const QString shown = label->text();
        if (shown.isEmpty()) {
            return;
        }
        auto* menu = new QMenu(label);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(menu->addAction(QStringLiteral("&Copy")), &QAction::triggered, label,
                         [shown] { QGuiApplication::clipboard()->setText(shown); });
        menu->popup(label->mapToGlobal(at));
    });
}

// What a box would draw as a blank although the number reading stops at it (a
// line break, a control character) never enters the box: it holds what it shows.
class ShownText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        QString kept;
        kept.reserve(input.size());
        int cursor = position;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const char16_t c = input.at(i).unicode();
            if (c < 0x20 || c == 0x7f) {
                cursor -= i < position ? 1 : 0;
            } else {
                kept += input.at(i);
            }
        }
        input = kept;
        position = cursor;
        return Acceptable;
    }
};

}  // namespace

QWidget* makeWidget(const ControlRow& row, QWidget* parent) {
    const QString caption = toQString(row.caption);
    const bool centred = has(row.style, Style::CentreText);
    switch (row.kind) {
        case ControlKind::TextBox: {
            // Qt's own length limit (32767) stays: a box lays out its whole text on
            // every keystroke, and megabytes would take most of a second each time.
            QLineEdit* box = makeTextBox(caption, parent);
            box->setValidator(new ShownText(box));
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

// The option buttons were drawn just big enough for a 13-pixel marker; a
// style whose marker is larger gets the room, or the marker is cut off.
void fitMarker(QWidget* option) {
    const int marker =
        option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, option);
    if (option->height() < marker) {
        option->resize(option->width(), marker);
    }
}

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

}  // namespace velunor::platform
