#include "platform/form.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

#include "platform/controls.h"
#include "platform/qt/convert.h"
#include "platform/qt/pictures.h"
#include "platform/qt/placement.h"

namespace velunor::platform {

namespace {

bool takesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::OptionButton ||
           kind == ControlKind::CommandButton || kind == ControlKind::PictureBox;
}

// A window coming back to the front after a message box or a menu is not the
// user entering a control.
bool entersControl(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

// For a family that is not installed, Qt has fontconfig sort every font on the
// system for stand-ins when the font is first used. Where a core Windows family
// is missing, fontconfig picks its metric-compatible stand-in: naming an
// installed one straight away spares that sort.
QString installedFamily(const QString& family) {
    static constexpr std::array<std::array<QStringView, 3>, 3> kStandIns = {{
        {u"Arial", u"Liberation Sans", u"Arimo"},
        {u"Times New Roman", u"Liberation Serif", u"Tinos"},
        {u"Courier New", u"Liberation Mono", u"Cousine"},
    }};
    const auto row = std::find_if(kStandIns.begin(), kStandIns.end(), [&](const auto& r) {
        return r[0].compare(family, Qt::CaseInsensitive) == 0;
    });
    if (row == kStandIns.end()) {
        return family;
    }
    const QStringList installed = QFontDatabase::families();
    for (const QStringView candidate : *row) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) {
            return candidate.toString();
        }
    }
    return family;
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

struct Form::Impl : QObject {
    struct Control {
        ControlRow row;
        QWidget* widget;
        std::function<void()> gotFocus;
    };
    struct MenuItem {
        std::string_view name;
        QAction* action;
    };

    // A plain widget with the menu bar above the client area: the main window's
    // machinery for tool bars, docks and a status bar would only add resident
    // code at start.
    class Window : public QWidget {
    public:
        explicit Window(Impl& form) : form_(form) {}

    protected:
        bool focusNextPrevChild(bool next) override {
            QWidget* target = form_.nextTabStop(focusWidget(), next);
            if (target == nullptr) {
                return QWidget::focusNextPrevChild(next);
            }
            target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }

    private:
        Impl& form_;
    };

    // What an announced label says, for screen readers alone: a notification
    // holding the news, shown to have it spoken and hidden when the label is
    // emptied. Of an object without the focus, Orca presents a notification
    // as it is shown, and no change of name or text. It has no size and takes
    // no focus, so the window looks and works as it did.
    class Announcement : public QWidget {
    public:
        explicit Announcement(QWidget* parent) : QWidget(parent), news_(new QLabel(this)) {
            news_->setTextFormat(Qt::PlainText);
            news_->setGeometry(0, 0, 0, 0);
            setGeometry(0, 0, 0, 0);
            hide();
        }

        // Hidden and shown again, so the same news twice is spoken twice.
        void say(const QString& news) {
            hide();
            news_->setText(news);
            if (!news.isEmpty()) {
                show();
            }
        }

    private:
        QLabel* news_;  // Orca speaks, and shows in braille, the labels a notification holds
    };

    // Screen readers meet the window as a window, as they would a main window,
    // and the announcement as a notification.
    static QAccessibleInterface* accessible(const QString& /*key*/, QObject* object) {
        if (auto* window = dynamic_cast<Window*>(object)) {
            return new QAccessibleWidget(window, QAccessible::Window);
        }
        if (auto* announcement = dynamic_cast<Announcement*>(object)) {
            return new QAccessibleWidget(announcement, QAccessible::Notification);
        }
        return nullptr;
    }

    explicit Impl(const FormTable& layout);
    ~Impl() override { ended = true; }

    Control& find(std::string_view name);
    Control& control(std::string_view name, ControlKind kind);
    template <typename Widget>
    Widget* widget(std::string_view name, ControlKind kind) {
        return static_cast<Widget*>(control(name, kind).widget);
    }
    QWidget* nextTabStop(const QWidget* current, bool forward) const;
    bool isTabStop(const Control& candidate) const;
    void moveInGroup(const Control& option, bool forward);
    void autoSize(const Control& label);
    void gotFocus(QWidget* widget);
    void announce(const QLabel& label);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildControls(QWidget* client);
    void nameControls();
    void buildMenus();

    FormTable layout;
    bool ended = false;
    QWidget* lastGotFocus = nullptr;
    QPushButton* defaultButton = nullptr;
    std::vector<Control> controls;         // in table order
    std::vector<const Control*> tabOrder;  // controls that take focus, by tab index
    std::vector<MenuItem> menuItems;
    // Last, so the widgets go before the tables that describe them.
    std::unique_ptr<Window> window;
    QMenuBar* menuBar = nullptr;           // owned by the window
    Announcement* announcement = nullptr;  // where a label is announced; owned by the window
};

Form::Impl::Impl(const FormTable& form) : layout(form), window(std::make_unique<Window>(*this)) {
    static const bool accessibleWindows = (QAccessible::installFactory(accessible), true);
    Q_UNUSED(accessibleWindows);
    window->setObjectName(toQString(layout.name));
    window->setWindowTitle(toQString(layout.caption));
    window->setWindowIcon(loadIcon(toQString(layout.icon), qApp->devicePixelRatio()));
    auto* client = new QWidget(window.get());
    client->setBackgroundRole(QPalette::Base);
    client->setAutoFillBackground(true);
    menuBar = new QMenuBar(window.get());  // after the client, as screen readers list them
    auto* stack = new QVBoxLayout(window.get());
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->setMenuBar(menuBar);
    stack->addWidget(client);
    buildControls(client);
    nameControls();
    buildMenus();
    // The layout gives the menu bar its height for the window's width; some styles
    // (Windows') make that a pixel more than its size hint.
    const int width = pixels(layout.clientWidth);
    const int barHeight = menuBar->heightForWidth(width);
    window->resize(width, pixels(layout.clientHeight) +
                              (barHeight >= 0 ? barHeight : menuBar->sizeHint().height()));
}

void Form::Impl::buildControls(QWidget* client) {
    controls.reserve(layout.controls.size());
    for (const ControlRow& row : layout.controls) {
        QWidget* parent =
            row.container.empty() ? client : control(row.container, ControlKind::Frame).widget;
        QWidget* widget = makeWidget(row, parent);
        widget->setObjectName(toQString(row.name));
        widget->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width),
                            pixels(row.height));
        if (row.kind == ControlKind::OptionButton) {
            fitMarker(widget);
        }
        if (!row.font.family.empty()) {
            widget->setFont(QFont(installedFamily(toQString(row.font.family)), row.font.pointSize));
        }
        if (row.kind == ControlKind::CommandButton && has(row.style, Style::DefaultButton)) {
            defaultButton = static_cast<QPushButton*>(widget);
        }
        if (takesFocus(row.kind)) {
            widget->installEventFilter(this);
        }
        controls.push_back({row, widget, {}});
    }
    for (const Control& c : controls) {
        if (has(c.row.style, Style::AutoSize)) {
            autoSize(c);
        }
        if (takesFocus(c.row.kind)) {
            tabOrder.push_back(&c);
        }
    }
    std::stable_sort(tabOrder.begin(), tabOrder.end(), [](const Control* a, const Control* b) {
        return a->row.tabIndex < b->row.tabIndex;
    });
    if (std::any_of(controls.begin(), controls.end(),
                    [](const Control& c) { return has(c.row.style, Style::Announced); })) {
        announcement = new Announcement(client);  // after the controls, as screen readers list them
    }
}

void Form::Impl::nameControls() {
    for (const LabelRow& relation : layout.labels) {
        QWidget* widget = find(relation.control).widget;
        if (relation.naming == Naming::Literal) {
            widget->setAccessibleName(toQString(relation.label));
            continue;
        }
        const QString text = toQString(find(relation.label).row.caption);
        if (relation.naming == Naming::Name) {
            widget->setAccessibleName(text);
        } else {
            widget->setAccessibleDescription(text);
        }
    }
}

void Form::Impl::buildMenus() {
    QMenuBar* bar = menuBar;
    std::vector<std::pair<std::string_view, QMenu*>> menus;
    for (const MenuRow& row : layout.menus) {
        if (row.menu.empty()) {
            QMenu* menu = bar->addMenu(toQString(row.caption));
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
        menuItems.push_back({row.name, action});
    }
    if (!menus.empty()) {
        // F10 opens the menu bar from the keyboard, as on other desktops.
        auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window.get());
        QMenu* first = menus.front().second;
        QObject::connect(f10, &QShortcut::activated, bar,
                         [bar, first] { bar->setActiveAction(first->menuAction()); });
    }
}

Form::Impl::Control& Form::Impl::find(std::string_view name) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const Control& c) { return c.row.name == name; });
    if (found == controls.end()) {
        throw std::invalid_argument("no control named " + std::string(name));
    }
    return *found;
}

Form::Impl::Control& Form::Impl::control(std::string_view name, ControlKind kind) {
    Control& found = find(name);
    if (found.row.kind != kind) {
        throw std::invalid_argument("control " + std::string(name) + " is of another kind");
    }
    return found;
}

// Only the selected button of an option group is a tab stop, so Tab enters a
// group at its selection; each button keeps its own place in the tab order.
bool Form::Impl::isTabStop(const Control& candidate) const {
    if (!candidate.widget->isVisibleTo(window.get()) || !candidate.widget->isEnabled()) {
        return false;
    }
    if (candidate.row.kind != ControlKind::OptionButton) {
        return true;
    }
    if (static_cast<const QRadioButton*>(candidate.widget)->isChecked()) {
        return true;
    }
    return std::none_of(controls.begin(), controls.end(), [&](const Control& c) {
        return c.row.kind == ControlKind::OptionButton &&
               c.row.container == candidate.row.container &&
               static_cast<const QRadioButton*>(c.widget)->isChecked();
    });
}

QWidget* Form::Impl::nextTabStop(const QWidget* current, bool forward) const {
    const auto n = static_cast<std::ptrdiff_t>(tabOrder.size());
    const auto at = std::find_if(tabOrder.begin(), tabOrder.end(),
                                 [current](const Control* c) { return c->widget == current; });
    const std::ptrdiff_t start = at == tabOrder.end() ? (forward ? -1 : n) : at - tabOrder.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (forward ? step : -step)) % n + n) % n;
        if (isTabStop(*tabOrder[static_cast<std::size_t>(i)])) {
            return tabOrder[static_cast<std::size_t>(i)]->widget;
        }
    }
    return nullptr;
}

// The arrow keys select the next or previous button of the group, wrapping
// round, and the focus goes with the selection.
void Form::Impl::moveInGroup(const Control& option, bool forward) {
    std::vector<const Control*> group;
    for (const Control& c : controls) {
        if (c.row.kind == ControlKind::OptionButton && c.row.container == option.row.container) {
            group.push_back(&c);
        }
    }
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t at = std::find(group.begin(), group.end(), &option) - group.begin();
    const Control* target =
        group[static_cast<std::size_t>(((at + (forward ? 1 : -1)) % n + n) % n)];
    if (target == &option) {
        return;
    }
    auto* button = static_cast<QRadioButton*>(target->widget);
    button->setChecked(true);
    button->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void Form::Impl::autoSize(const Control& c) {
    QWidget* widget = c.widget;
    QSize size = widget->sizeHint();
    if (c.row.kind == ControlKind::PictureBox) {
        const QPixmap picture = static_cast<QLabel*>(widget)->pixmap();
        if (picture.isNull()) {
            return;
        }
        const int border = static_cast<QLabel*>(widget)->frameWidth();
        size = picture.deviceIndependentSize().toSize() + QSize(2 * border, 2 * border);
    }
    int left = widget->x();
    if (has(c.row.style, Style::CentreText)) {
        left = pixels(c.row.left + c.row.width / 2.0) - size.width() / 2;
    }
    widget->setGeometry(left, widget->y(), size.width(), size.height());
}

void Form::Impl::gotFocus(QWidget* widget) {
    lastGotFocus = widget;
    if (ended) {
        return;
    }
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [widget](const Control& c) { return c.widget == widget; });
    if (found != controls.end() && found->gotFocus) {
        found->gotFocus();
    }
}

// The caption after what it is, as the label's description tells.
void Form::Impl::announce(const QLabel& label) {
    const QString about = label.accessibleDescription();
    const QString caption = label.text();
    announcement->say(about.isEmpty() || caption.isEmpty() ? caption : about + u' ' + caption);
}

bool Form::Impl::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn) {
        if (entersControl(static_cast<QFocusEvent*>(event)->reason())) {
            gotFocus(widget);
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Ctrl+Enter too: a one-line box must not take a hidden line break.
    if (isEnter(key)) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->click();
        } else if (defaultButton != nullptr) {
            defaultButton->click();
        }
        return true;
    }
    const auto* option = qobject_cast<QRadioButton*>(widget);
    const bool plain = (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (option == nullptr || !plain) {
        return false;
    }
    switch (key.key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            moveInGroup(find(toStdString(option->objectName())), true);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Left:
            moveInGroup(find(toStdString(option->objectName())), false);
            return true;
        default:
            return false;
    }
}

Form::Form(const FormTable& layout) : d_(std::make_unique<Impl>(layout)) {}

Form::~Form() {
    d_->ended = true;
}

void Form::onGotFocus(std::string_view control, std::function<void()> handler) {
    Impl::Control& c = d_->find(control);
    if (c.row.kind != ControlKind::TextBox && c.row.kind != ControlKind::OptionButton) {
        throw std::invalid_argument("no GotFocus for " + std::string(control));
    }
    c.gotFocus = std::move(handler);
}

void Form::onClick(std::string_view control, std::function<void()> handler) {
    auto run = [this, handler = std::move(handler)] {
        if (!d_->ended) {
            handler();
        }
    };
    const auto item =
        std::find_if(d_->menuItems.begin(), d_->menuItems.end(),
                     [control](const Impl::MenuItem& m) { return m.name == control; });
    if (item != d_->menuItems.end()) {
        QObject::connect(item->action, &QAction::triggered, d_.get(), run);
        return;
    }
    QObject::connect(d_->widget<QPushButton>(control, ControlKind::CommandButton),
                     &QPushButton::clicked, d_.get(), run);
}

std::string Form::text(std::string_view textBox) const {
    return toStdString(d_->widget<QLineEdit>(textBox, ControlKind::TextBox)->text());
}

void Form::setSelection(std::string_view textBox, int start, int length) {
    auto* box = d_->widget<QLineEdit>(textBox, ControlKind::TextBox);
    const QString text = box->text();
    // Character counts to UTF-16 positions: a surrogate pair is one character.
    auto position = [&text](int characters) {
        qsizetype at = 0;
        for (; characters > 0 && at < text.size(); --characters) {
            at += text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        }
        return static_cast<int>(at);
    };
    const int from = position(start);
    box->setSelection(from, position(start + length) - from);
}

bool Form::value(std::string_view optionButton) const {
    return d_->widget<QRadioButton>(optionButton, ControlKind::OptionButton)->isChecked();
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    Impl::Control& c = d_->control(label, ControlKind::Label);
    auto* shown = static_cast<QLabel*>(c.widget);
    shown->setText(toQString(caption));
    if (has(c.row.style, Style::AutoSize)) {
        d_->autoSize(c);
    }
    if (has(c.row.style, Style::Announced)) {
        d_->announce(*shown);
    }
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
    QWidget* first = d_->nextTabStop(nullptr, true);
    if (first != nullptr) {
        first->setFocus(Qt::OtherFocusReason);
    }
    d_->lastGotFocus = nullptr;
    d_->window->show();
    // Without a window manager nobody else gives the new window the keyboard.
    d_->window->activateWindow();
    // The toolkit reports the first focus as the window's activation, which is
    // not an entry into the control: deliver it as one.
    if (first != nullptr && d_->lastGotFocus != first) {
        d_->gotFocus(first);
    }
}

void Form::messageBox(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(d_->layout.messageTitle), toQString(text),
                    QMessageBox::Ok, d_->window.get());
    box.setTextFormat(Qt::PlainText);
    // Some desktop themes decorate dialog buttons; the box shows no picture at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    keepLines(box);
    box.exec();
    // Not every window system hands the focus back when the box goes; the
    // window's own focus returns with the activation and is no GotFocus.
    if (d_->window->isVisible()) {
        d_->window->activateWindow();
    }
}

void Form::end() {
    d_->ended = true;
    d_->window->close();
    QCoreApplication::quit();
}

}  // namespace velunor::platform
