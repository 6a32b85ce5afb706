#pragma once

// Focus and keys in a form: the tab order by tab index, with an option group
// entered at its selection; GotFocus as the user enters a control; Enter for
// the default button; the arrow keys within an option group.

#include <QObject>

#include <functional>
#include <unordered_map>
#include <vector>

class QPushButton;
class QWidget;

namespace velunor::platform {

class Control;

class Keyboard : public QObject {
public:
    // Each control of the form, in table order; it watches those that take the focus.
    void add(const Control& control);
    void onGotFocus(const Control& control, std::function<void()> handler);

    // The next or previous tab stop after `current` (none: from the start or the
    // end), round and round; none when nothing can take the focus.
    QWidget* nextTabStop(const QWidget* current, bool forward) const;
    // Shows the window with the focus in the first tab stop, which gets its GotFocus.
    void show(QWidget& window);
    // No GotFocus runs any more: the form is going.
    void end() { ended_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched {
        const Control* control;
        std::function<void()> gotFocus;
    };

    bool isTabStop(const Control& candidate) const;
    std::vector<const Control*> group(const Control& option) const;
    void moveInGroup(const Control& option, bool forward);
    void enter(const QWidget* widget);

    std::vector<const Control*> controls_;  // in table order
    std::vector<const Control*> tabOrder_;  // those that take the focus, by tab index
    std::unordered_map<const QObject*, Watched> watched_;
    QPushButton* defaultButton_ = nullptr;
    const QWidget* lastEntered_ = nullptr;
    bool ended_ = false;
};

}  // namespace velunor::platform
