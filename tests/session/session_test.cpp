// A long random session on the real window: keys, clicks, focus moves, the
// Help menu and message-box answers, with the window's promises checked after
// every step. VELUNOR_SEED replays one session; VELUNOR_STEPS sets its length.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>

#include "tests/support/window_driver.h"
#include "ui/texts.h"

namespace core = velunor::core;

using velunor::testing::Answer;
using velunor::testing::ShownBox;
using velunor::testing::Window;

namespace {

enum class Act {
    Char,
    Backspace,
    Tab,
    Backtab,
    Arrow,
    Enter,
    KeypadEnter,
    CtrlEnter,
    Space,
    SelectAll,
    Click,
    Exit,
    OpenMenu,
    F10,
    SwitchAway,
    MenuKey,
    MenuItem,
    ClickOutside,
};

struct Weighted {
    Act act;
    int weight;
};

// What a user does with the window in front of them.
constexpr Weighted kWindowActs[] = {
    {Act::Char, 40},    {Act::Backspace, 6}, {Act::Tab, 8},         {Act::Backtab, 5},
    {Act::Arrow, 8},    {Act::Enter, 6},     {Act::KeypadEnter, 2}, {Act::CtrlEnter, 2},
    {Act::Space, 3},    {Act::SelectAll, 3}, {Act::Click, 14},      {Act::Exit, 1},
    {Act::OpenMenu, 2}, {Act::F10, 1},       {Act::SwitchAway, 1},
};

// The acts that are one key, and what each promises.
struct KeyAct {
    Act act;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* name;
    bool entersByKeyboard;  // may move the focus into a field, text selected
    bool isEnter;           // Calculate, or Exit when that button has the focus
};

constexpr KeyAct kKeyActs[] = {
    {Act::Backspace, Qt::Key_Backspace, Qt::NoModifier, "Backspace", false, false},
    {Act::Tab, Qt::Key_Tab, Qt::NoModifier, "Tab", true, false},
    {Act::Backtab, Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", true, false},
    {Act::Enter, Qt::Key_Return, Qt::NoModifier, "Enter", false, true},
    {Act::KeypadEnter, Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter", false, true},
    {Act::CtrlEnter, Qt::Key_Return, Qt::ControlModifier, "Ctrl+Enter", false, true},
    {Act::SelectAll, Qt::Key_A, Qt::ControlModifier, "Ctrl+A", false, false},
    {Act::F10, Qt::Key_F10, Qt::NoModifier, "F10", false, false},
};

// ... and while the Help menu or the menu bar holds the keyboard.
constexpr Weighted kMenuActs[] = {
    {Act::MenuKey, 10},
    {Act::MenuItem, 3},
    {Act::ClickOutside, 2},
};

// Digits dominate so that many Calculates succeed; the rest reach the parse's corners.
constexpr std::string_view kTyped =
    "01234567890123456789012345678901234567890123456789..,-eeEdDh&oxa ";

constexpr Qt::Key kArrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
constexpr Qt::Key kMenuKeys[] = {Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,  Qt::Key_Right,
                                 Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Tab,
                                 Qt::Key_A,      Qt::Key_H};

// Everything on the window a click can land on; CmdExit has an act of its own.
constexpr const char* kClickable[] = {
    "TxtUCr", "TxtSCr", "TxtUVol", "TxtTime", "TxtHt",         "TxtWt",         "OptIn",
    "OptCm",  "OptLb",  "OptKg",   "CmdCalc", "PicOrvaleLogo", "LblCrCl",       "Label1",
    "Label9", "LblIn",  "LblKg",   "FrameHt", "FrameWt",       "LblOrvaleAddr",
};

constexpr const char* kFocusable[] = {"TxtUCr",  "TxtSCr",  "TxtUVol",      "TxtTime", "TxtHt",
                                      "TxtWt",   "OptIn",   "OptCm",        "OptLb",   "OptKg",
                                      "CmdCalc", "CmdExit", "PicOrvaleLogo"};

constexpr std::uint64_t kDefaultSeeds[] = {1, 20260101, 987654321};
constexpr int kDefaultSteps = 8000;

template <std::size_t N>
Act pick(const Weighted (&table)[N], std::mt19937_64& rng) {
    int total = 0;
    for (const Weighted& w : table) {
        total += w.weight;
    }
    int roll = std::uniform_int_distribution<int>(0, total - 1)(rng);
    for (const Weighted& w : table) {
        if (roll < w.weight) {
            return w.act;
        }
        roll -= w.weight;
    }
    return table[0].act;
}

template <typename T, std::size_t N>
const T& any(const T (&items)[N], std::mt19937_64& rng) {
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

QString nameOf(const QWidget* widget) {
    if (widget == nullptr) {
        return QStringLiteral("nothing");
    }
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

bool is(const QWidget* widget, const char* name) {
    return widget != nullptr && widget->objectName() == QLatin1String(name);
}

bool entersGotFocus(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QRadioButton*>(widget) != nullptr;
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// What one step did, as far as the window's promises depend on it.
struct Prediction {
    bool calculates = false;
    bool exits = false;
    bool mayCalculate = false;  // a click on Calculate that also closes the menu
    bool menuItem = false;      // clicks a Help menu item
    bool keyboardEntry = false;
    QString description;
};

class Session {
public:
    Session(std::uint64_t seed, int steps)
        : seed_(seed), steps_(steps), rng_(seed), answerer_([this] { return chooseAnswer(); }) {}

    // Empty when every step kept every promise; else what broke, with the steps before it.
    QString run() {
        window_ = std::make_unique<Window>();
        for (step_ = 0; step_ < steps_; ++step_) {
            failure_.clear();
            one();
            if (!failure_.isEmpty()) {
                return report();
            }
        }
        qInfo(
            "%d steps: %d results, %d warnings, %d out of range, %d Help boxes, %d entries, "
            "%d exits",
            steps_, tally_.results, tally_.warnings, tally_.outOfRange, tally_.menuBoxes,
            tally_.entries, tally_.exits);
        return {};
    }

private:
    Answer chooseAnswer() {
        constexpr Answer answers[] = {Answer::ClickOk, Answer::Enter, Answer::Escape, Answer::Space,
                                      Answer::CloseButton};
        return any(answers, rng_);
    }

    bool menuMode() const {
        return QApplication::activePopupWidget() != nullptr ||
               qobject_cast<QMenuBar*>(window_->main()->focusWidget()) != nullptr;
    }

    void expect(bool condition, const QString& what) {
        if (!condition && failure_.isEmpty()) {
            failure_ = what;
        }
    }

    // The steps before a failure go to the log: a test message is cut short.
    QString report() const {
        for (const QString& line : log_) {
            qInfo("  %s", qPrintable(line));
        }
        return QStringLiteral(
                   "seed %1, step %2: %3 (replay with VELUNOR_SEED=%1; the steps "
                   "before it are logged above)")
            .arg(seed_)
            .arg(step_)
            .arg(failure_);
    }

    void one() {
        const bool inMenu = menuMode();
        if (!inMenu && !window_->activate()) {
            expect(false, QStringLiteral("the window does not become active again"));
            return;
        }
        QWidget* before = window_->main()->focusWidget();
        const QString shown = window_->result()->text();
        const core::Outcome outcome = window_->expectedOutcome();

        answerer_.arm();
        const Prediction p = inMenu ? menuStep() : windowStep(before);
        QCoreApplication::processEvents();
        const std::vector<ShownBox> boxes = answerer_.disarm();

        log_.push_back(QStringLiteral("%1: %2 (focus %3, result \"%4\")")
                           .arg(step_)
                           .arg(p.description, nameOf(before), shown));
        if (log_.size() > 15) {
            log_.pop_front();
        }
        checkBoxes(boxes);
        if (p.exits) {
            checkExit();
            return;
        }
        expect(window_->main()->isVisible(), QStringLiteral("the window closed"));
        checkResult(p, inMenu || menuMode(), outcome, boxes, before, shown);
        checkFocus(p, before);
    }

    Prediction windowStep(QWidget* focus) {
        const bool onExit = is(focus, "CmdExit");
        Prediction p;
        const Act act = pick(kWindowActs, rng_);
        for (const KeyAct& k : kKeyActs) {
            if (k.act == act) {
                p.description = QString::fromLatin1(k.name);
                p.keyboardEntry = k.entersByKeyboard;
                p.calculates = k.isEnter && !onExit;
                p.exits = k.isEnter && onExit;
                QTest::keyClick(static_cast<QWidget*>(nullptr), k.key, k.mods);
                return p;
            }
        }
        switch (act) {
            case Act::Char: {
                const char c =
                    kTyped[std::uniform_int_distribution<std::size_t>(0, kTyped.size() - 1)(rng_)];
                p.description = QStringLiteral("type '%1'").arg(QLatin1Char(c));
                if (c == ' ') {
                    return space(focus);
                }
                QTest::keyClick(static_cast<QWidget*>(nullptr), c);
                break;
            }
            case Act::Arrow:
                p.keyboardEntry = true;
                p.description = QStringLiteral("arrow");
                QTest::keyClick(static_cast<QWidget*>(nullptr), any(kArrows, rng_));
                break;
            case Act::Space:
                return space(focus);
            case Act::Click: {
                const char* name = any(kClickable, rng_);
                p.description = QStringLiteral("click %1").arg(QLatin1String(name));
                p.calculates = std::string_view(name) == "CmdCalc";
                QTest::mouseClick(window_->control(name), Qt::LeftButton);
                break;
            }
            case Act::Exit:
                p.description = QStringLiteral("click CmdExit");
                p.exits = true;
                QTest::mouseClick(window_->control("CmdExit"), Qt::LeftButton);
                break;
            case Act::OpenMenu: {
                p.description = QStringLiteral("click the Help menu");
                auto* bar = window_->main()->findChild<QMenuBar*>();
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  bar->actionGeometry(bar->actions().front()).center());
                break;
            }
            case Act::SwitchAway:
                p.description = QStringLiteral("another window, then back");
                switchAway();
                break;
            default:
                break;
        }
        return p;
    }

    Prediction space(QWidget* focus) {
        Prediction p;
        p.description = QStringLiteral("Space");
        p.calculates = is(focus, "CmdCalc");
        p.exits = is(focus, "CmdExit");
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Space);
        return p;
    }

    Prediction menuStep() {
        Prediction p;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        Act act = pick(kMenuActs, rng_);
        if (menu == nullptr && act == Act::MenuItem) {
            act = Act::MenuKey;
        }
        switch (act) {
            case Act::MenuItem: {
                const QList<QAction*> items = menu->actions();
                QAction* item =
                    items.at(std::uniform_int_distribution<qsizetype>(0, items.size() - 1)(rng_));
                p.description = QStringLiteral("click menu item %1").arg(item->text());
                p.menuItem = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                break;
            }
            case Act::ClickOutside: {
                QWidget* target = window_->control(any(kClickable, rng_));
                p.description = QStringLiteral("click %1 with the menu open").arg(nameOf(target));
                p.mayCalculate = is(target, "CmdCalc");
                QWidget* main = window_->main();
                QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {},
                                  target->mapTo(main, target->rect().center()));
                break;
            }
            default: {
                const Qt::Key k = any(kMenuKeys, rng_);
                p.description = QStringLiteral("menu key %1").arg(QKeySequence(k).toString());
                QTest::keyClick(static_cast<QWidget*>(nullptr), k);
                break;
            }
        }
        return p;
    }

    void switchAway() {
        if (!other_) {
            other_ = std::make_unique<QWidget>();
            other_->resize(120, 80);
        }
        other_->show();
        other_->activateWindow();
        if (!QTest::qWaitForWindowActive(other_.get())) {
            expect(false, QStringLiteral("the other window does not become active"));
        }
        other_->hide();
        window_->activate();
    }

    void checkBoxes(const std::vector<ShownBox>& boxes) {
        for (const ShownBox& box : boxes) {
            expect(box.title == QLatin1String("Velunor"),
                   QStringLiteral("message box titled \"%1\"").arg(box.title));
            expect(box.icon == QMessageBox::NoIcon, QStringLiteral("message box with an icon"));
            expect(box.buttons == QStringList{QStringLiteral("OK")},
                   QStringLiteral("message box buttons %1").arg(box.buttons.join(u',')));
            expect(box.answered, QStringLiteral("message box \"%1\" ignored answer %2")
                                     .arg(box.text)
                                     .arg(static_cast<int>(box.answer)));
        }
        expect(QApplication::activeModalWidget() == nullptr,
               QStringLiteral("a message box stays open"));
    }

    void checkExit() {
        ++tally_.exits;
        expect(!window_->main()->isVisible(), QStringLiteral("Exit left the window open"));
        window_.reset();
        lastResult_.clear();
        window_ = std::make_unique<Window>();
        log_.push_back(QStringLiteral("-- started again"));
    }

    void checkResult(const Prediction& p, bool menuInvolved, const core::Outcome& outcome,
                     const std::vector<ShownBox>& boxes, const QWidget* before,
                     const QString& shown) {
        const QString now = window_->result()->text();
        const QWidget* after = window_->main()->focusWidget();
        const QStringList texts = velunor::testing::textsOf(boxes);
        // What Calculate shows now: a result in the box, or one message box.
        const velunor::testing::CalculateShows calc =
            velunor::testing::calculateShows(outcome, shown);
        const bool hasResult = calc.boxes.isEmpty();
        const bool calculated = texts == calc.boxes && (!hasResult || now == calc.result);
        if (p.calculates) {
            expect(texts == calc.boxes, QStringLiteral("Calculate showed [%1], expected [%2]")
                                            .arg(texts.join(u'|'), calc.boxes.join(u'|')));
            expect(now == calc.result,
                   QStringLiteral("after Calculate the result box shows \"%1\", expected \"%2\"")
                       .arg(now, calc.result));
        } else if (menuInvolved) {
            // A click that closes the menu may or may not reach the control under it.
            const QStringList menuTexts = {fromStd(velunor::ui::helpText()),
                                           fromStd(velunor::ui::aboutText())};
            expect(texts.isEmpty() || (texts.size() == 1 && menuTexts.contains(texts.front())) ||
                       (p.mayCalculate && calculated),
                   QStringLiteral("the menu showed [%1]").arg(texts.join(u'|')));
            expect(!p.menuItem || texts.size() == 1,
                   QStringLiteral("a Help menu item showed %1 boxes").arg(texts.size()));
            expect(now == shown || now.isEmpty() || (p.mayCalculate && now == calc.result),
                   QStringLiteral("the menu changed the result box to \"%1\"").arg(now));
        } else {
            expect(texts.isEmpty(), QStringLiteral("a box appeared: %1").arg(texts.join(u'|')));
            if (after != before && entersGotFocus(after)) {
                ++tally_.entries;
                expect(
                    now.isEmpty(),
                    QStringLiteral("entering %1 left the result \"%2\"").arg(nameOf(after), now));
            } else {
                expect(now == shown,
                       QStringLiteral("result changed from \"%1\" to \"%2\" without Calculate")
                           .arg(shown, now));
            }
        }
        if ((p.calculates || p.mayCalculate) && calculated) {
            tally(outcome.kind);
            if (hasResult) {
                lastResult_ = calc.result;
            }
        }
        if (!p.calculates && !calculated) {
            tally_.menuBoxes += static_cast<int>(texts.size());
        }
        expect(now.isEmpty() || now == lastResult_,
               QStringLiteral("result \"%1\" is not the last Calculate's \"%2\"")
                   .arg(now, lastResult_));
    }

    void tally(core::OutcomeKind kind) {
        switch (kind) {
            case core::OutcomeKind::Result:
                ++tally_.results;
                break;
            case core::OutcomeKind::InvalidFields:
                ++tally_.warnings;
                break;
            case core::OutcomeKind::FloatingPointError:
                ++tally_.outOfRange;
                break;
        }
    }

    void checkFocus(const Prediction& p, const QWidget* before) {
        if (menuMode()) {
            return;
        }
        const QWidget* after = window_->main()->focusWidget();
        bool known = false;
        for (const char* name : kFocusable) {
            known = known || is(after, name);
        }
        expect(known, QStringLiteral("the focus sits on %1").arg(nameOf(after)));
        const char* groups[][2] = {{"OptIn", "OptCm"}, {"OptLb", "OptKg"}};
        for (const auto& group : groups) {
            expect(window_->unit(group[0]) != window_->unit(group[1]),
                   QStringLiteral("%1/%2 do not hold exactly one selection")
                       .arg(QLatin1String(group[0]), QLatin1String(group[1])));
        }
        if (after == before) {
            return;
        }
        if (const auto* option = qobject_cast<const QRadioButton*>(after)) {
            expect(
                option->isChecked(),
                QStringLiteral("the focus entered %1, which is not selected").arg(nameOf(after)));
        }
        if (const auto* box = qobject_cast<const QLineEdit*>(after); box && p.keyboardEntry) {
            expect(box->selectedText() == box->text(),
                   QStringLiteral("%1 entered by keyboard with \"%2\" of \"%3\" selected")
                       .arg(nameOf(after), box->selectedText(), box->text()));
        }
    }

    std::uint64_t seed_;
    int steps_;
    int step_ = 0;
    std::mt19937_64 rng_;
    velunor::testing::BoxAnswerer answerer_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<QWidget> other_;
    QString lastResult_;
    QString failure_;
    struct {
        int results = 0, warnings = 0, outOfRange = 0, menuBoxes = 0, entries = 0, exits = 0;
    } tally_;
    std::deque<QString> log_;
};

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void randomSession_data() {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<int>("steps");
        const int steps = qEnvironmentVariableIsSet("VELUNOR_STEPS")
                              ? qEnvironmentVariableIntValue("VELUNOR_STEPS")
                              : kDefaultSteps;
        bool given = false;
        const quint64 seed = qEnvironmentVariable("VELUNOR_SEED").toULongLong(&given);
        if (given) {
            QTest::addRow("seed %llu", seed) << seed << steps;
            return;
        }
        for (const std::uint64_t fixed : kDefaultSeeds) {
            QTest::addRow("seed %llu", static_cast<unsigned long long>(fixed))
                << quint64{fixed} << steps;
        }
    }

    void randomSession() {
        QFETCH(quint64, seed);
        QFETCH(int, steps);
        Session session(seed, steps);
        const QString failure = session.run();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

int main(int argc, char** argv) {
    SessionTest test;
    return velunor::testing::runUnderApplication(test, argc, argv);
}

#include "session_test.moc"
