// Drives the real window with key presses and mouse clicks, the way a user
// does, and reads back what the user would see.

#include <QAccessible>
#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "ui/crcl_window.h"

using namespace Qt::StringLiterals;

namespace {

// Answers every modal box as soon as it is up, so no test can hang on one,
// and remembers what each showed.
class MessageBoxWatchdog : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
        bool linesFit;  // every line shown whole, none wrapped
    };

    MessageBoxWatchdog() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(10);
    }

    QList<Seen> seen;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        Seen s{box->windowTitle(), box->text(), box->icon(), {}, false};
        for (QAbstractButton* button : box->buttons()) {
            s.buttons << button->text();
        }
        if (const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s)) {
            int widest = 0;
            for (const QString& line : box->text().split(u'\n')) {
                widest = qMax(widest, label->fontMetrics().horizontalAdvance(line));
            }
            s.linesFit = label->contentsRect().width() >= widest;
        }
        seen << s;
        QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
    }

    QTimer timer_;
};

}  // namespace

class CrClWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUp();
    void layout_data();
    void layout();
    void tabCycle_data();
    void tabCycle();
    void session_data();
    void session();
    void exits_data();
    void exits();
    void menuTexts_data();
    void menuTexts();
    void accessibleNames_data();
    void accessibleNames();
    void resultReadableUnderDarkPalette();

private:
    template <typename T = QWidget>
    T* control(const QString& name) const {
        T* found = window_->findChild<T*>(name);
        if (found == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return found;
    }
    QString result() const { return control<QLabel>(u"LblCrCl"_s)->text(); }
    QString focusName() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    QString units() const;
    void perform(const QStringList& steps);
    void openMenuItem(const QString& item);

    std::unique_ptr<velunor::ui::CrClWindow> crcl_;
    QMainWindow* window_ = nullptr;
    std::unique_ptr<MessageBoxWatchdog> watchdog_;
};

void CrClWindowTest::init() {
    watchdog_ = std::make_unique<MessageBoxWatchdog>();
    crcl_ = std::make_unique<velunor::ui::CrClWindow>();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"CrCl"_s && w->isVisible()) {
            window_ = qobject_cast<QMainWindow*>(w);
        }
    }
    QVERIFY(window_ != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(window_));
}

void CrClWindowTest::cleanup() {
    crcl_.reset();
    window_ = nullptr;
    watchdog_.reset();
}

QString CrClWindowTest::units() const {
    QStringList chosen;
    for (const QString& option : {u"OptIn"_s, u"OptCm"_s, u"OptLb"_s, u"OptKg"_s}) {
        if (control<QRadioButton>(option)->isChecked()) {
            chosen << option;
        }
    }
    return chosen.join(u' ');
}

void CrClWindowTest::openMenuItem(const QString& item) {
    auto* bar = window_->menuBar();
    auto* menu = control<QMenu>(u"MnuHelp"_s);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    auto* action = control<QAction>(item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

// One user action per step: "click Name", "type text" (replaces the focused
// box's text by typing), "menu Item", or a key such as "Tab" or "Ctrl+Enter".
void CrClWindowTest::perform(const QStringList& steps) {
    for (const QString& step : steps) {
        const QString verb = step.section(u' ', 0, 0);
        const QString rest = step.section(u' ', 1);
        // After a message box the window comes back to the front in its own time.
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QWidget* focus = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::focusWidget();
        if (verb == u"click"_s) {
            QTest::mouseClick(control(rest), Qt::LeftButton);
        } else if (verb == u"type"_s) {
            QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(focus, Qt::Key_Delete);
            QTest::keyClicks(focus, rest);
        } else if (verb == u"menu"_s) {
            openMenuItem(rest);
        } else {
            const QKeySequence key = QKeySequence::fromString(step);
            QVERIFY2(key.count() == 1, qPrintable(step));
            QTest::keySequence(focus, key);
        }
    }
}

void CrClWindowTest::startUp() {
    const QStringList boxes{u"TxtUCr"_s,  u"TxtSCr"_s, u"TxtUVol"_s,
                            u"TxtTime"_s, u"TxtHt"_s,  u"TxtWt"_s};
    const QStringList defaults{u"55"_s, u"1.0"_s, u"1500"_s, u"24"_s, u"69"_s, u"175"_s};
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        QCOMPARE(control<QLineEdit>(boxes[i])->text(), defaults[i]);
    }
    QCOMPARE(units(), u"OptIn OptLb"_s);
    QCOMPARE(result(), QString());
    QCOMPARE(focusName(), u"TxtUCr"_s);
    QCOMPARE(control<QLineEdit>(u"TxtUCr"_s)->selectedText(), u"55"_s);

    QCOMPARE(window_->centralWidget()->size(), QSize(531, 313));
    const QRect screen = window_->screen()->geometry();
    // The window manager's frame is unknown until the window is first shown.
    const QRect frame = window_->frameGeometry();
    const QSize margins = frame.size() - window_->size();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1 + margins.width() / 2);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1 + margins.height() / 2);

    const QStringList contact = control<QLabel>(u"LblOrvaleAddr"_s)->text().split(u'\n');
    QCOMPARE(contact.size(), 5);
    QVERIFY(contact[2].startsWith(u"e-mail: "_s));
    QVERIFY(contact[3].startsWith(u"Web site: "_s));
    QVERIFY(contact[4].startsWith(u"\u00A9 "_s));
    QVERIFY(contact[4].endsWith(u'-' + QString::number(QDate::currentDate().year())));
    // grown about its centre, under the logo's
    QVERIFY(qAbs(control(u"LblOrvaleAddr"_s)->geometry().center().x() - 347) <= 1);
}

// Where each control lands, in pixels of the window's client area; the size
// too where the toolkit's own drawing does not decide it.
void CrClWindowTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("where");
    QTest::addColumn<QSize>("size");
    QTest::newRow("TxtUCr") << u"TxtUCr"_s << QPoint(16, 8) << QSize(57, 19);
    QTest::newRow("TxtWt") << u"TxtWt"_s << QPoint(16, 187) << QSize(57, 19);
    QTest::newRow("LblCrCl") << u"LblCrCl"_s << QPoint(16, 232) << QSize(57, 19);
    QTest::newRow("FrameHt") << u"FrameHt"_s << QPoint(88, 104) << QSize(73, 57);
    QTest::newRow("OptCm inside FrameHt") << u"OptCm"_s << QPoint(104, 136) << QSize();
    QTest::newRow("OptLb inside FrameWt") << u"OptLb"_s << QPoint(104, 184) << QSize();
    QTest::newRow("CmdExit") << u"CmdExit"_s << QPoint(112, 264) << QSize(73, 25);
    QTest::newRow("PicOrvaleLogo sized to its picture")
        << u"PicOrvaleLogo"_s << QPoint(264, 37) << QSize(169, 77);
}

void CrClWindowTest::layout() {
    QFETCH(QString, name);
    QFETCH(QPoint, where);
    QFETCH(QSize, size);
    QWidget* w = control(name);
    QCOMPARE(w->mapTo(window_->centralWidget(), QPoint(0, 0)), where);
    if (size.isValid()) {
        QCOMPARE(w->size(), size);
    }
}

void CrClWindowTest::tabCycle_data() {
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("visits");
    QTest::newRow("Tab, in and lb")
        << QStringList{} << u"Tab"_s
        << QStringList{u"TxtSCr"_s,        u"TxtUVol"_s, u"TxtTime"_s, u"TxtHt"_s,
                       u"TxtWt"_s,         u"OptLb"_s,   u"CmdCalc"_s, u"CmdExit"_s,
                       u"PicOrvaleLogo"_s, u"OptIn"_s,   u"TxtUCr"_s};
    QTest::newRow("Shift+Tab, in and lb")
        << QStringList{} << u"Shift+Tab"_s
        << QStringList{u"OptIn"_s,   u"PicOrvaleLogo"_s, u"CmdExit"_s, u"CmdCalc"_s,
                       u"OptLb"_s,   u"TxtWt"_s,         u"TxtHt"_s,   u"TxtTime"_s,
                       u"TxtUVol"_s, u"TxtSCr"_s,        u"TxtUCr"_s};
    QTest::newRow("Tab, cm and kg")
        << QStringList{u"click OptCm"_s, u"click OptKg"_s, u"click TxtUCr"_s} << u"Tab"_s
        << QStringList{u"TxtSCr"_s,  u"TxtUVol"_s,       u"TxtTime"_s, u"TxtHt"_s,
                       u"OptCm"_s,   u"TxtWt"_s,         u"OptKg"_s,   u"CmdCalc"_s,
                       u"CmdExit"_s, u"PicOrvaleLogo"_s, u"TxtUCr"_s};
}

// Each stop in turn; a text box is entered with its whole text selected.
void CrClWindowTest::tabCycle() {
    QFETCH(QStringList, setup);
    QFETCH(QString, key);
    QFETCH(QStringList, visits);
    perform(setup);
    for (const QString& expected : visits) {
        perform({key});
        QCOMPARE(focusName(), expected);
        if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
            QCOMPARE(box->selectedText(), box->text());
        }
    }
}

void CrClWindowTest::session_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QStringList>("messages");
    const QString inLb = u"OptIn OptLb"_s;
    const QString warning = u"Make sure all data fields contain a number!"_s;
    const QString outOfRange =
        u"The values entered are out of range: no clearance can be calculated."_s;
    auto row = [](const char* name, const QStringList& steps) -> QTestData& {
        return QTest::newRow(name) << steps;
    };

    // Calculate by click, by Enter from every kind of control, and its results
    row("click CmdCalc", {u"click CmdCalc"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{};
    row("Enter in TxtUCr", {u"Enter"_s}) << u"50.0"_s << u"TxtUCr"_s << inLb << QStringList{};
    row("keypad Enter in TxtWt", {u"click TxtWt"_s, u"Num+Enter"_s})
        << u"50.0"_s << u"TxtWt"_s << inLb << QStringList{};
    row("Ctrl+Enter in TxtHt", {u"click TxtHt"_s, u"Ctrl+Enter"_s})
        << u"50.0"_s << u"TxtHt"_s << inLb << QStringList{};
    row("Enter on OptLb", {u"click OptLb"_s, u"Enter"_s})
        << u"50.0"_s << u"OptLb"_s << inLb << QStringList{};
    row("Enter on PicOrvaleLogo", {u"click PicOrvaleLogo"_s, u"Enter"_s})
        << u"50.0"_s << u"PicOrvaleLogo"_s << inLb << QStringList{};
    row("Space on CmdCalc",
        {u"click TxtTime"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Space"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{};
    row("TxtSCr 2.0", {u"Tab"_s, u"type 2.0"_s, u"click CmdCalc"_s})
        << u"25.0"_s << u"CmdCalc"_s << inLb << QStringList{};
    row("OptCm", {u"click OptCm"_s, u"click CmdCalc"_s})
        << u"79.6"_s << u"CmdCalc"_s << u"OptCm OptLb"_s << QStringList{};
    row("TxtUCr 12abc", {u"type 12abc"_s, u"Enter"_s})
        << u"10.9"_s << u"TxtUCr"_s << inLb << QStringList{};
    row("120, 1.2, 1800, 24, 170 cm, 70 kg",
        {u"type 120"_s, u"Tab"_s, u"type 1.2"_s, u"Tab"_s, u"type 1800"_s, u"Tab"_s, u"type 24"_s,
         u"Tab"_s, u"type 170"_s, u"click OptCm"_s, u"click TxtWt"_s, u"type 70"_s,
         u"click OptKg"_s, u"click CmdCalc"_s})
        << u"117.9"_s << u"CmdCalc"_s << u"OptCm OptKg"_s << QStringList{};
    row("Calculate twice", {u"click CmdCalc"_s, u"click CmdCalc"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{};

    // Entering a field or unit empties the result; buttons, labels and menus do not
    row("Tab into TxtSCr after a result", {u"Enter"_s, u"Tab"_s})
        << QString() << u"TxtSCr"_s << inLb << QStringList{};
    row("click TxtVol after a result", {u"click CmdCalc"_s, u"click TxtUVol"_s})
        << QString() << u"TxtUVol"_s << inLb << QStringList{};
    row("click OptKg after a result", {u"click CmdCalc"_s, u"click OptKg"_s})
        << QString() << u"OptKg"_s << u"OptIn OptKg"_s << QStringList{};
    row("Shift+Tab into OptIn after a result", {u"Enter"_s, u"Shift+Tab"_s})
        << QString() << u"OptIn"_s << inLb << QStringList{};
    row("Down in OptLb after a result", {u"click OptLb"_s, u"Enter"_s, u"Down"_s})
        << QString() << u"OptKg"_s << u"OptIn OptKg"_s << QStringList{};
    row("Up in OptKg after a result", {u"click OptKg"_s, u"Enter"_s, u"Up"_s})
        << QString() << u"OptLb"_s << inLb << QStringList{};
    row("Down in OptIn", {u"click OptIn"_s, u"Down"_s})
        << QString() << u"OptCm"_s << u"OptCm OptLb"_s << QStringList{};
    row("Tab onto CmdExit after a result", {u"click CmdCalc"_s, u"Tab"_s})
        << u"50.0"_s << u"CmdExit"_s << inLb << QStringList{};
    row("click Label1 and LblCm after a result",
        {u"click CmdCalc"_s, u"click Label1"_s, u"click LblCm"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{};
    row("typing after Enter keeps the result", {u"Enter"_s, u"type 60"_s})
        << u"50.0"_s << u"TxtUCr"_s << inLb << QStringList{};
    row("menu Help after a result", {u"click CmdCalc"_s, u"menu MnuHelpHelp"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{u"*"_s};
    row("F10 Down Enter after a result", {u"click CmdCalc"_s, u"F10"_s, u"Down"_s, u"Enter"_s})
        << u"50.0"_s << u"CmdCalc"_s << inLb << QStringList{u"*"_s};
    row("menu About after a result", {u"click CmdCalc"_s, u"Tab"_s, u"menu MnuHelpAbout"_s})
        << u"50.0"_s << u"CmdExit"_s << inLb << QStringList{u"*"_s};

    // Bad fields: one warning, nothing else changes, not even when the focus
    // comes back to the field as the box closes
    row("TxtTime empty", {u"click TxtTime"_s, u"type "_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << inLb << QStringList{warning};
    row("TxtUCr abc after a result", {u"Enter"_s, u"type abc"_s, u"Enter"_s})
        << u"50.0"_s << u"TxtUCr"_s << inLb << QStringList{warning};
    row("TxtUVol 0", {u"click TxtUVol"_s, u"type 0"_s, u"Enter"_s})
        << QString() << u"TxtUVol"_s << inLb << QStringList{warning};
    row("TxtWt -5", {u"click TxtWt"_s, u"type -5"_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << inLb << QStringList{warning};
    row("TxtSCr 1e-46", {u"Tab"_s, u"type 1e-46"_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << inLb << QStringList{warning};

    // Values out of range: a message of the same kind, the result left as it is
    row("TxtSCr and TxtTime 1e-20",
        {u"Tab"_s, u"type 1e-20"_s, u"click TxtTime"_s, u"type 1e-20"_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << inLb << QStringList{outOfRange};
    row("TxtUCr 1e39 after a result", {u"Enter"_s, u"type 1e39"_s, u"Enter"_s})
        << u"50.0"_s << u"TxtUCr"_s << inLb << QStringList{outOfRange};
    row("TxtHt 2e38 in", {u"click TxtHt"_s, u"type 2e38"_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << inLb << QStringList{outOfRange};
    row("TxtHt 1e-44 cm, TxtWt 1e-44 kg",
        {u"click TxtHt"_s, u"type 1e-44"_s, u"click OptCm"_s, u"click TxtWt"_s, u"type 1e-44"_s,
         u"click OptKg"_s, u"click CmdCalc"_s})
        << QString() << u"CmdCalc"_s << u"OptCm OptKg"_s << QStringList{outOfRange};
}

void CrClWindowTest::session() {
    QFETCH(QStringList, steps);
    QFETCH(QString, result);
    QFETCH(QString, focus);
    QFETCH(QString, units);
    QFETCH(QStringList, messages);
    perform(steps);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QCOMPARE(this->result(), result);
    QCOMPARE(focusName(), focus);
    QCOMPARE(this->units(), units);
    QCOMPARE(watchdog_->seen.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const MessageBoxWatchdog::Seen& seen = watchdog_->seen[i];
        if (messages[i] != u"*"_s) {
            QCOMPARE(seen.text, messages[i]);
        }
        QCOMPARE(seen.title, u"Velunor"_s);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{u"OK"_s});
    }
    // A failed Calculate leaves the fields as typed.
    if (!messages.isEmpty() && focus.startsWith(u"Txt"_s)) {
        QVERIFY(!control<QLineEdit>(focus)->hasSelectedText());
    }
}

void CrClWindowTest::exits_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("click CmdExit") << QStringList{u"click CmdExit"_s};
    QTest::newRow("Enter on CmdExit")
        << QStringList{u"Shift+Tab"_s, u"Shift+Tab"_s, u"Shift+Tab"_s, u"Enter"_s};
    QTest::newRow("Space on CmdExit")
        << QStringList{u"Shift+Tab"_s, u"Shift+Tab"_s, u"Shift+Tab"_s, u"Space"_s};
    QTest::newRow("click CmdExit with TxtUCr abc")
        << QStringList{u"type abc"_s, u"click CmdExit"_s};
}

void CrClWindowTest::exits() {
    QFETCH(QStringList, steps);
    perform(steps);
    QVERIFY(!window_->isVisible());
    QVERIFY(watchdog_->seen.isEmpty());
}

void CrClWindowTest::menuTexts_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("MnuHelpHelp")
        << u"MnuHelpHelp"_s
        << QStringList{u"Enter data into each field and click the Calculate button."_s,
                       u"Move from field to field with the mouse or the tab key."_s,
                       u"Be sure to enter data into all the fields before calculating."_s};
    const QString legend(11, u' ');
    QTest::newRow("MnuHelpAbout")
        << u"MnuHelpAbout"_s
        << QStringList{
               u"Creatinine clearance is corrected according to body surface area by the formula below"_s,
               QString(),
               QString(39, u' ') + u"(U x V x 1.73)/(S x BSA x T x 60)"_s,
               QString(),
               u"where U = urine creatinine,"_s,
               legend + u"V = urine volume,"_s,
               legend + u"1.73 = normal body surface area,"_s,
               legend + u"S = serum creatinine,"_s,
               legend + u"BSA = body surface area,"_s,
               legend + u"T = collection time, and"_s,
               legend + u"60 = conversion of hours to minutes."_s,
               QString(),
               u"Body surface area is calculated as 0.016821 x Sqr(Height x Weight) according to"_s,
               u"Quillfeather TR, Brambleworth MK. Methods for measurement of body surface area."_s,
               u"J Pediatric 1979;94:342."_s};
}

void CrClWindowTest::menuTexts() {
    QFETCH(QString, item);
    QFETCH(QStringList, lines);
    openMenuItem(item);
    QCOMPARE(watchdog_->seen.size(), 1);
    QCOMPARE(watchdog_->seen[0].text.split(u'\n'), lines);
    QVERIFY(watchdog_->seen[0].linesFit);
}

void CrClWindowTest::accessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("TxtUCr") << u"TxtUCr"_s << u"Urine creatinine, mg/dL"_s;
    QTest::newRow("TxtSCr") << u"TxtSCr"_s << u"Serum creatinine, mg/dL"_s;
    QTest::newRow("TxtUVol") << u"TxtUVol"_s << u"Urine volume, mL"_s;
    QTest::newRow("TxtTime") << u"TxtTime"_s << u"Time of collection, hrs"_s;
    QTest::newRow("TxtHt") << u"TxtHt"_s << u"Height"_s;
    QTest::newRow("TxtWt") << u"TxtWt"_s << u"Weight"_s;
    QTest::newRow("OptIn") << u"OptIn"_s << u"in"_s;
    QTest::newRow("OptCm") << u"OptCm"_s << u"cm"_s;
    QTest::newRow("OptLb") << u"OptLb"_s << u"lb"_s;
    QTest::newRow("OptKg") << u"OptKg"_s << u"kg"_s;
}

void CrClWindowTest::accessibleNames() {
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QCOMPARE(QAccessible::queryAccessibleInterface(control(name))->text(QAccessible::Name), spoken);
}

// The result must not vanish into a dark desktop theme: the box stays white
// and its digits dark.
void CrClWindowTest::resultReadableUnderDarkPalette() {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(dark);
    perform({u"click CmdCalc"_s});
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(control(u"LblCrCl"_s));
    QCOMPARE(box->text(QAccessible::Name), u"50.0"_s);
    QCOMPARE(box->text(QAccessible::Description), u"Creatinine Clearance, mL/min"_s);
    const QImage image = control(u"LblCrCl"_s)->grab().toImage();
    QApplication::setPalette(light);

    QCOMPARE(image.pixelColor(image.width() / 2, 2), QColor(Qt::white));
    int darkest = 255;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            darkest = qMin(darkest, image.pixelColor(x, y).lightness());
        }
    }
    QVERIFY2(darkest < 64, qPrintable(QString::number(darkest)));
}

QTEST_MAIN(CrClWindowTest)
#include "tst_crcl_window.moc"
