#pragma once

// The real calculator window for tests that drive it as a user would: started
// the way the program starts it, controls found by their names, and every
// message box answered so a test never hangs on a modal loop.

#include <QAnyStringView>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/clearance.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace velunor::ui {
class CrClWindow;
}

namespace velunor::testing {

class Window {
public:
    // Creates the window as the program does and waits until it is shown and active.
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    QWidget* main() const { return main_; }
    // The control, or the menu item, by its name; throws when there is none.
    template <typename T = QWidget>
    T* control(QAnyStringView name) const {
        T* found = main_->findChild<T*>(name.toString());
        if (found == nullptr) {
            throw std::invalid_argument("no control named " + name.toString().toStdString());
        }
        return found;
    }
    QLineEdit* field(QAnyStringView name) const;
    QLabel* result() const;
    bool unit(QAnyStringView option) const;  // whether the option button is selected

    // What Calculate must give for the fields and units as they stand now.
    core::Outcome expectedOutcome() const;
    // Makes the window active again if it lost that to a closed box or another window.
    bool activate();

private:
    std::unique_ptr<ui::CrClWindow> window_;
    QWidget* main_ = nullptr;
};

// The message of the Help menu's item "Help" or "About", line by line: what
// the user must read, kept apart from the window's code in help_messages.json,
// which the screen-reader test reads too.
QStringList helpMessage(const QString& item);

// Runs a Qt Test object under the application object the program itself creates.
int runUnderApplication(QObject& test, int argc, char** argv);

// How a user gets rid of a message box.
enum class Answer { ClickOk, Enter, Escape, Space, CloseButton };

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;
    Answer answer;
    bool answered;  // the answer closed it
    bool linesFit;  // every line shown whole, none wrapped
};

// What Calculate must show for an outcome: the result box's text (still
// `before` when there is no result) and the text of each message box.
struct CalculateShows {
    QString result;
    QStringList boxes;
};
CalculateShows calculateShows(const core::Outcome& outcome, const QString& before);

QStringList textsOf(const std::vector<ShownBox>& boxes);

// While armed, answers every message box that opens, the way `choose` picks,
// and records what each box showed; any other modal window it closes, so no
// test hangs on one.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(std::function<Answer()> choose = [] { return Answer::ClickOk; });

    void arm();
    // What was answered since arm().
    const std::vector<ShownBox>& shown() const { return shown_; }
    // Stops answering and hands over what was answered since arm().
    std::vector<ShownBox> disarm();

private:
    void poll();

    std::function<Answer()> choose_;
    std::vector<ShownBox> shown_;
    int waitedForActive_ = 0;
    QTimer timer_;
};

}  // namespace velunor::testing
