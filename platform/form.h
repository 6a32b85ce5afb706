#pragma once

// The one window of a program, built from its form table. Controls are
// addressed by their names in the table; an unknown name is a programming error
// and throws std::invalid_argument.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/extent.h"
#include "platform/form_table.h"

namespace velunor::platform {

class Form {
public:
    // Creates the window and every control, hidden, with the captions, texts,
    // positions, tab order and option selections of the table, which is read
    // for the life of the form (it is static data).
    explicit Form(const FormTable& table);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Runs when a text box or option button receives the focus by mouse, Tab,
    // Shift+Tab, the arrow keys or at start-up, before typing reaches it; not
    // when the window merely becomes active again after a message box or menu.
    void onGotFocus(std::string_view control, std::function<void()> handler);
    // Runs once per activation of a command button or menu item.
    void onClick(std::string_view control, std::function<void()> handler);

    std::string text(std::string_view textBox) const;  // UTF-8
    // Selects the box's whole text, so the next keystroke replaces it.
    void selectAll(std::string_view textBox);
    bool value(std::string_view optionButton) const;
    void setCaption(std::string_view label, std::string_view caption);

    // What a user does to the controls, for a program that checks itself on its
    // own window without showing it: the handlers run as after the user's action.
    void setText(std::string_view textBox, std::string_view text);
    void choose(std::string_view optionButton);
    void click(std::string_view commandButton);
    std::string caption(std::string_view label) const;  // UTF-8
    // While set, message boxes are handed to `sink` instead of being shown;
    // an empty function shows them again.
    void routeMessages(std::function<void(std::string_view text)> sink);

    // Frame included, also before the window is first shown.
    Extent outerSize() const;
    // Outer position, twips; ignored where the window system places windows.
    void moveTo(float left, float top);

    // Shows the window and gives the focus to the control with the lowest tab
    // index, which gets its GotFocus.
    void show();
    // Modal, one OK button, no icon, the table's message title; returns when
    // dismissed. Line feeds break lines and spaces are shown as written.
    void messageBox(std::string_view text);
    // Closes the window and leaves the event loop; no handler runs afterwards.
    void end();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace velunor::platform
