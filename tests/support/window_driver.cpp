#include "tests/support/window_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/application.h"
#include "ui/crcl_table.h"
#include "ui/crcl_window.h"
#include "ui/program.h"
#include "ui/texts.h"

using namespace Qt::StringLiterals;

namespace velunor::testing {

namespace {

QtMessageHandler g_testLog = nullptr;

// The offscreen platform says each time it cannot raise a window or grab the
// keyboard; thousands of such lines would bury what a failing test logs.
void dropPlatformLimits(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        g_testLog(type, context, text);
    }
}

// Whether the box shows every line of its text whole, none wrapped.
bool linesFit(const QMessageBox& box) {
    const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr) {
        return false;
    }
    int widest = 0;
    for (const QString& line : box.text().split(u'\n')) {
        widest = qMax(widest, label->fontMetrics().horizontalAdvance(line));
    }
    return label->contentsRect().width() >= widest;
}

}  // namespace

Window::Window() : window_(std::make_unique<ui::CrClWindow>()) {
    if (g_testLog == nullptr) {
        g_testLog = qInstallMessageHandler(dropPlatformLimits);
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->objectName() == QLatin1String("CrCl")) {
            main_ = top;
        }
    }
    if (main_ == nullptr) {
        throw std::runtime_error("the window CrCl is not shown");
    }
    if (!QTest::qWaitForWindowExposed(main_) || !activate()) {
        throw std::runtime_error("the window CrCl does not become active");
    }
}

Window::~Window() = default;

QLineEdit* Window::field(QAnyStringView name) const {
    return control<QLineEdit>(name);
}

QLabel* Window::result() const {
    return control<QLabel>(u"LblCrCl");
}

bool Window::unit(QAnyStringView option) const {
    return control<QAbstractButton>(option)->isChecked();
}

core::Outcome Window::expectedOutcome() const {
    std::array<std::string, ui::kFieldBoxes.size()> texts;
    for (std::size_t i = 0; i < ui::kFieldBoxes.size(); ++i) {
        texts[i] = field(ui::kFieldBoxes[i])->text().toStdString();
    }
    return core::evaluateClearance(texts, unit("OptIn"), unit("OptLb"));
}

bool Window::activate() {
    if (QApplication::activeWindow() == main_) {
        return true;
    }
    main_->activateWindow();
    return QTest::qWaitForWindowActive(main_);
}

CalculateShows calculateShows(const core::Outcome& outcome, const QString& before) {
    switch (outcome.kind) {
        case core::OutcomeKind::Result:
            return {QString::fromStdString(outcome.text), {}};
        case core::OutcomeKind::InvalidFields:
            return {before,
                    {QString::fromUtf8(ui::kInvalidFieldsMessage.data(),
                                       qsizetype(ui::kInvalidFieldsMessage.size()))}};
        case core::OutcomeKind::FloatingPointError:
            break;
    }
    return {before,
            {QString::fromUtf8(ui::kOutOfRangeMessage.data(),
                               qsizetype(ui::kOutOfRangeMessage.size()))}};
}

QStringList textsOf(const std::vector<ShownBox>& boxes) {
    QStringList texts;
    for (const ShownBox& box : boxes) {
        texts << box.text;
    }
    return texts;
}

QStringList helpMessage(const QString& item) {
    QFile file(u":/velunor-tests/help_messages.json"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("the Help messages are not built in");
    }
    return QJsonDocument::fromJson(file.readAll())[item].toVariant().toStringList();
}

int runUnderApplication(QObject& test, int argc, char** argv) {
    platform::Application app(argc, argv, ui::programIdentity(VELUNOR_VERSION));
    return QTest::qExec(&test, argc, argv);
}

namespace {

// More boxes than this in one step means each answer opens the next one.
constexpr std::size_t kRunaway = 20;
constexpr int kPatience = 500;  // polls, one millisecond apart

QWidget* keyTarget(QMessageBox* box) {
    return box->focusWidget() != nullptr ? box->focusWidget() : box;
}

}  // namespace

BoxAnswerer::BoxAnswerer(std::function<Answer()> choose) : choose_(std::move(choose)) {
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::poll);
}

void BoxAnswerer::arm() {
    shown_.clear();
    timer_.start();
}

std::vector<ShownBox> BoxAnswerer::disarm() {
    timer_.stop();
    return std::exchange(shown_, {});
}

void BoxAnswerer::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (modal != nullptr && box == nullptr) {
        modal->close();
        return;
    }
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    // A user answers a box once it has the keyboard; a box that never gets it is
    // answered anyway after a while, and the answer is then likely to fail.
    if (!box->isActiveWindow() && ++waitedForActive_ < kPatience) {
        return;
    }
    waitedForActive_ = 0;
    ShownBox seen{box->windowTitle(), box->text(), box->icon(),   {},
                  choose_(),          false,       linesFit(*box)};
    for (const QAbstractButton* button : box->buttons()) {
        seen.buttons << button->text();
    }
    const std::size_t index = shown_.size();
    shown_.push_back(seen);
    if (shown_.size() > kRunaway) {
        // Unwinding out of a modal loop is not possible; end loudly instead of hanging.
        std::fprintf(stderr, "every answered message box opens another: last %s\n",
                     qPrintable(seen.text));
        std::abort();
    }
    switch (seen.answer) {
        case Answer::ClickOk:
            if (!box->buttons().isEmpty()) {
                QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
            }
            break;
        case Answer::Enter:
            QTest::keyClick(keyTarget(box), Qt::Key_Return);
            break;
        case Answer::Escape:
            QTest::keyClick(keyTarget(box), Qt::Key_Escape);
            break;
        case Answer::Space:
            QTest::keyClick(keyTarget(box), Qt::Key_Space);
            break;
        case Answer::CloseButton:
            box->close();
            break;
    }
    shown_[index].answered = !box->isVisible();
    if (box->isVisible()) {
        box->close();
    }
}

}  // namespace velunor::testing
