#include "platform/qt/form_window.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/qt/convert.h"
#include "platform/qt/keyboard.h"
#include "platform/qt/pictures.h"

namespace velunor::platform {

FormWindow::FormWindow(const FormTable& table, const Keyboard& keyboard)
    : keyboard_(keyboard), client_(new QWidget(this)), menuBar_(nullptr) {
    setObjectName(toQString(table.name));
    setWindowTitle(toQString(table.caption));
    setWindowIcon(loadIcon(toQString(table.icon), qApp->devicePixelRatio()));
    client_->setBackgroundRole(QPalette::Base);
    client_->setAutoFillBackground(true);
    menuBar_ = new QMenuBar(this);  // after the client, as screen readers list them
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->setMenuBar(menuBar_);
    stack->addWidget(client_);
    buildMenus(table.menus);
    // The layout gives the menu bar its height for the window's width; some styles
    // (Windows') make that a pixel more than its size hint.
    const int width = pixels(table.clientWidth);
    const int barHeight = menuBar_->heightForWidth(width);
    resize(width, pixels(table.clientHeight) +
                      (barHeight >= 0 ? barHeight : menuBar_->sizeHint().height()));
}

QAction* FormWindow::menuItem(std::string_view name) const {
    const auto item = std::find_if(menuItems_.begin(), menuItems_.end(),
                                   [name](const auto& m) { return m.first == name; });
    return item != menuItems_.end() ? item->second : nullptr;
}

bool FormWindow::focusNextPrevChild(bool next) {
    QWidget* target = keyboard_.nextTabStop(focusWidget(), next);
    if (target == nullptr) {
        return QWidget::focusNextPrevChild(next);
    }
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FormWindow::buildMenus(std::span<const MenuRow> rows) {
    std::vector<std::pair<std::string_view, QMenu*>> menus;
    for (const MenuRow& row : rows) {
        if (row.menu.empty()) {
            QMenu* menu = menuBar_->addMenu(toQString(row.caption));
            menu->setObjectName(toQString(row.name));
            menus.emplace_back(row.name, menu);
            continue;
        }
        const auto owner = std::find_if(menus.begin(), menus.end(),
                                        [&](const auto& m) { return m.first == row.menu; });
        if (owner == menus.end()) {
            throw std::invalid_argument("menu item before its menu: " + std::string(row.name));
        }
        QAction* action = owner->second->addAction(toQString(row.caption));
        action->setObjectName(toQString(row.name));
        menuItems_.emplace_back(row.name, action);
    }
    if (!menus.empty()) {
        // F10 opens the menu bar from the keyboard, as on other desktops.
        auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
        QMenuBar* bar = menuBar_;
        QMenu* first = menus.front().second;
        QObject::connect(f10, &QShortcut::activated, bar,
                         [bar, first] { bar->setActiveAction(first->menuAction()); });
    }
}

}  // namespace velunor::platform
