#pragma once

// The window of a form: a plain widget with the menu bar above the client
// area that holds the controls. The main window's machinery for tool bars,
// docks and a status bar would only add resident code at start.

#include <QWidget>

#include <string_view>
#include <utility>
#include <vector>

#include "platform/form_table.h"

class QAction;
class QMenuBar;

namespace velunor::platform {

class Keyboard;

class FormWindow : public QWidget {
public:
    // Named and sized as the table says, with its menus; Tab and Shift+Tab
    // follow the keyboard's tab order.
    FormWindow(const FormTable& table, const Keyboard& keyboard);

    QWidget* client() const { return client_; }
    // The menu item of that name, or none.
    QAction* menuItem(std::string_view name) const;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void buildMenus(std::span<const MenuRow> rows);

    const Keyboard& keyboard_;
    QWidget* client_;
    QMenuBar* menuBar_;
    std::vector<std::pair<std::string_view, QAction*>> menuItems_;
};

}  // namespace velunor::platform
