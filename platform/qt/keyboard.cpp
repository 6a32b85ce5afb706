#include "platform/qt/keyboard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <stdexcept>

#include "platform/qt/control.h"

namespace velunor::platform {

namespace {

// A window coming back to the front after a message box or a menu is not the
// user entering a control.
bool entersControl(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// The element `step` places on from `at`, round the end of a list of `size`.
std::size_t around(std::ptrdiff_t at, std::ptrdiff_t step, std::size_t size) {
    const auto n = static_cast<std::ptrdiff_t>(size);
    return static_cast<std::size_t>(((at + step) % n + n) % n);
}

}  // namespace

void Keyboard::add(const Control& control) {
    controls_.push_back(&control);
    if (!control.takesFocus()) {
        return;
    }
    const auto later =
        std::upper_bound(tabOrder_.begin(), tabOrder_.end(), control.row().tabIndex,
                         [](int index, const Control* c) { return index < c->row().tabIndex; });
    tabOrder_.insert(later, &control);
    if (control.kind() == ControlKind::CommandButton && control.is(Style::DefaultButton)) {
        defaultButton_ = control.commandButton();
    }
    watched_[control.widget()] = {&control, {}};
    control.widget()->installEventFilter(this);
}

void Keyboard::onGotFocus(const Control& control, std::function<void()> handler) {
    const auto found = watched_.find(control.widget());
    if (found == watched_.end() ||
        (control.kind() != ControlKind::TextBox && control.kind() != ControlKind::OptionButton)) {
        throw std::invalid_argument("no GotFocus for " + std::string(control.row().name));
    }
    found->second.gotFocus = std::move(handler);
}

// The buttons of the option group `option` belongs to: those of its frame.
std::vector<const Control*> Keyboard::group(const Control& option) const {
    std::vector<const Control*> members;
    std::copy_if(controls_.begin(), controls_.end(), std::back_inserter(members),
                 [&](const Control* c) {
                     return c->kind() == ControlKind::OptionButton &&
                            c->row().container == option.row().container;
                 });
    return members;
}

// Only the selected button of an option group is a tab stop, so Tab enters a
// group at its selection; each button keeps its own place in the tab order.
bool Keyboard::isTabStop(const Control& candidate) const {
    const QWidget* widget = candidate.widget();
    if (!widget->isVisibleTo(widget->window()) || !widget->isEnabled()) {
        return false;
    }
    if (candidate.kind() != ControlKind::OptionButton) {
        return true;
    }
    const std::vector<const Control*> buttons = group(candidate);
    const auto selected = std::find_if(buttons.begin(), buttons.end(), [](const Control* c) {
        return c->optionButton()->isChecked();
    });
    return selected == buttons.end() || *selected == &candidate;
}

QWidget* Keyboard::nextTabStop(const QWidget* current, bool forward) const {
    const auto n = static_cast<std::ptrdiff_t>(tabOrder_.size());
    const auto at = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                 [current](const Control* c) { return c->widget() == current; });
    const std::ptrdiff_t start =
        at == tabOrder_.end() ? (forward ? -1 : n) : at - tabOrder_.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const Control* candidate =
            tabOrder_[around(start, forward ? step : -step, tabOrder_.size())];
        if (isTabStop(*candidate)) {
            return candidate->widget();
        }
    }
    return nullptr;
}

// The arrow keys select the next or previous button of the group, wrapping
// round, and the focus goes with the selection.
void Keyboard::moveInGroup(const Control& option, bool forward) {
    const std::vector<const Control*> buttons = group(option);
    const auto at = std::find(buttons.begin(), buttons.end(), &option) - buttons.begin();
    const Control* target = buttons[around(at, forward ? 1 : -1, buttons.size())];
    if (target == &option) {
        return;
    }
    QRadioButton* button = target->optionButton();
    button->setChecked(true);
    button->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void Keyboard::show(QWidget& window) {
    QWidget* first = nextTabStop(nullptr, true);
    if (first != nullptr) {
        first->setFocus(Qt::OtherFocusReason);
    }
    lastEntered_ = nullptr;
    window.show();
    // Without a window manager nobody else gives the new window the keyboard.
    window.activateWindow();
    // The toolkit reports the first focus as the window's activation, which is
    // not an entry into the control: deliver it as one.
    if (first != nullptr && lastEntered_ != first) {
        enter(first);
    }
}

void Keyboard::enter(const QWidget* widget) {
    lastEntered_ = widget;
    if (ended_) {
        return;
    }
    const auto found = watched_.find(widget);
    if (found != watched_.end() && found->second.gotFocus) {
        found->second.gotFocus();
    }
}

bool Keyboard::eventFilter(QObject* watched, QEvent* event) {
    const auto found = watched_.find(watched);
    if (found == watched_.end()) {
        return false;
    }
    const Control& control = *found->second.control;
    if (event->type() == QEvent::FocusIn) {
        if (entersControl(static_cast<QFocusEvent*>(event)->reason())) {
            enter(control.widget());
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Ctrl+Enter too: a one-line box must not take a hidden line break.
    if (isEnter(key)) {
        if (control.kind() == ControlKind::CommandButton) {
            control.commandButton()->click();
        } else if (defaultButton_ != nullptr) {
            defaultButton_->click();
        }
        return true;
    }
    const bool plain = (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (control.kind() != ControlKind::OptionButton || !plain) {
        return false;
    }
    switch (key.key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            moveInGroup(control, true);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Left:
            moveInGroup(control, false);
            return true;
        default:
            return false;
    }
}

}  // namespace velunor::platform
