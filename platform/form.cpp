#include "platform/form.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/qt/announcement.h"
#include "platform/qt/control.h"
#include "platform/qt/convert.h"
#include "platform/qt/form_window.h"
#include "platform/qt/keyboard.h"
#include "platform/qt/message_box.h"
#include "platform/qt/placement.h"

namespace velunor::platform {

struct Form::Impl {
    explicit Impl(const FormTable& form);
    ~Impl() { keyboard.end(); }

    Control& find(std::string_view name);
    void nameControls();

    FormTable table;
    bool ended = false;
    std::vector<std::unique_ptr<Control>> controls;  // in table order
    Keyboard keyboard;
    std::function<void(std::string_view)> messageSink;
    Announcement* announcement = nullptr;  // where labels are announced; owned by the window
    // Last, so the widgets go before the tables and the keyboard that know them.
    std::unique_ptr<FormWindow> window;
};

Form::Impl::Impl(const FormTable& form)
    : table(form), window(std::make_unique<FormWindow>(table, keyboard)) {
    controls.reserve(table.controls.size());
    for (const ControlRow& row : table.controls) {
        QWidget* parent = window->client();
        if (!row.container.empty()) {
            parent = find(row.container).frame();
        }
        controls.push_back(std::make_unique<Control>(row, parent));
        keyboard.add(*controls.back());
    }
    if (std::any_of(controls.begin(), controls.end(),
                    [](const auto& c) { return c->is(Style::Announced); })) {
        // After the controls, as screen readers list them.
        announcement = new Announcement(window->client());
    }
    nameControls();
}

Control& Form::Impl::find(std::string_view name) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const auto& c) { return c->row().name == name; });
    if (found == controls.end()) {
        throw std::invalid_argument("no control named " + std::string(name));
    }
    return **found;
}

// Which label tells assistive technology what a control is.
void Form::Impl::nameControls() {
    for (const LabelRow& relation : table.labels) {
        QWidget* widget = find(relation.control).widget();
        if (relation.naming == Naming::Literal) {
            widget->setAccessibleName(toQString(relation.label));
            continue;
        }
        const QString text = toQString(find(relation.label).row().caption);
        if (relation.naming == Naming::Name) {
            widget->setAccessibleName(text);
        } else {
            widget->setAccessibleDescription(text);
        }
    }
}

Form::Form(const FormTable& table) : d_(std::make_unique<Impl>(table)) {}

Form::~Form() {
    d_->ended = true;
    d_->keyboard.end();
}

void Form::onGotFocus(std::string_view control, std::function<void()> handler) {
    d_->keyboard.onGotFocus(d_->find(control), std::move(handler));
}

void Form::onClick(std::string_view control, std::function<void()> handler) {
    auto run = [this, handler = std::move(handler)] {
        if (!d_->ended) {
            handler();
        }
    };
    if (QAction* item = d_->window->menuItem(control)) {
        QObject::connect(item, &QAction::triggered, d_->window.get(), run);
        return;
    }
    QObject::connect(d_->find(control).commandButton(), &QPushButton::clicked, d_->window.get(),
                     run);
}

std::string Form::text(std::string_view textBox) const {
    return toStdString(d_->find(textBox).textBox()->text());
}

void Form::selectAll(std::string_view textBox) {
    d_->find(textBox).textBox()->selectAll();
}

bool Form::value(std::string_view optionButton) const {
    return d_->find(optionButton).optionButton()->isChecked();
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    Control& c = d_->find(label);
    c.setCaption(toQString(caption));
    if (c.is(Style::Announced)) {
        d_->announcement->announce(*c.label());
    }
}

void Form::setText(std::string_view textBox, std::string_view text) {
    d_->find(textBox).textBox()->setText(toQString(text));
}

void Form::choose(std::string_view optionButton) {
    d_->find(optionButton).optionButton()->setChecked(true);
}

void Form::click(std::string_view commandButton) {
    d_->find(commandButton).commandButton()->click();
}

std::string Form::caption(std::string_view label) const {
    return toStdString(d_->find(label).label()->text());
}

void Form::routeMessages(std::function<void(std::string_view text)> sink) {
    d_->messageSink = std::move(sink);
}

Extent Form::outerSize() const {
    const QSizeF size = expectedOuterSize(*d_->window);
    return {static_cast<float>(size.width() * kTwipsPerPixel),
            static_cast<float>(size.height() * kTwipsPerPixel)};
}

void Form::moveTo(float left, float top) {
    placeOuter(*d_->window, QPointF(left / kTwipsPerPixel, top / kTwipsPerPixel));
}

void Form::show() {
    d_->keyboard.show(*d_->window);
}

void Form::messageBox(std::string_view text) {
    if (d_->messageSink) {
        d_->messageSink(text);
        return;
    }
    showMessageBox(*d_->window, toQString(d_->table.messageTitle), toQString(text));
}

void Form::end() {
    d_->ended = true;
    d_->keyboard.end();
    d_->window->close();
    QCoreApplication::quit();
}

}  // namespace velunor::platform
