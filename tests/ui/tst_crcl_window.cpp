// Drives the real window with key presses and mouse clicks, the way a user
// does, and reads back what the user would see.

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "platform/qt/announcement.h"
#include "platform/qt/pictures.h"
#include "tests/support/window_driver.h"
#include "ui/crcl_table.h"
#include "ui/crcl_window.h"

using namespace Qt::StringLiterals;

namespace {

// "click OptCm; Enter" -> {"click OptCm", "Enter"}
QStringList split(const char* text, char16_t separator) {
    QStringList parts;
    for (const QString& part : QString::fromUtf8(text).split(separator)) {
        if (!part.trimmed().isEmpty()) {
            parts << part.trimmed();
        }
    }
    return parts;
}

// A dark desktop palette whose highlight is too dark to mark the focus as it is.
QPalette darkPalette() {
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    return dark;
}

// WCAG 2.1 contrast ratio, from the sRGB relative luminance of each colour.
double contrast(QColor a, QColor b) {
    auto luminance = [](QColor c) {
        auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The space a control gives its caption, and the caption, where one shows: the
// option buttons' own captions never do, and an empty box has nothing to fit.
std::pair<QRect, QString> captionRoom(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return {label->contentsRect(), label->text()};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return {button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
                button->text()};
    }
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        return {frame->rect(), frame->title()};
    }
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        return {box->contentsRect(), box->text()};
    }
    return {};
}

class ShowCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::Show ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

class CrClWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        answerer_.arm();
        crcl_ = std::make_unique<velunor::testing::Window>();
        window_ = crcl_->main();
    }

    void cleanup() {
        crcl_.reset();
        window_ = nullptr;
        answerer_.disarm();
    }

    void startUp() {
        const QStringList defaults{u"55"_s, u"1.0"_s, u"1500"_s, u"24"_s, u"69"_s, u"175"_s};
        for (std::size_t i = 0; i < velunor::ui::kFieldBoxes.size(); ++i) {
            QCOMPARE(crcl_->field(velunor::ui::kFieldBoxes[i])->text(), defaults[qsizetype(i)]);
        }
        QCOMPARE(units(), u"OptIn OptLb"_s);
        QCOMPARE(crcl_->result()->text(), QString());
        QCOMPARE(focusName(), u"TxtUCr"_s);
        QCOMPARE(crcl_->control<QLineEdit>(u"TxtUCr"_s)->selectedText(), u"55"_s);
        // Calculate is the default button, as drawn and as told to assistive technology.
        QVERIFY(QAccessible::queryAccessibleInterface(crcl_->control(u"CmdCalc"_s))
                    ->state()
                    .defaultButton);
        // The logo is drawn, not only its frame.
        const QImage logo = crcl_->control(u"PicOrvaleLogo"_s)->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < logo.height(); ++y) {
            for (int x = 0; x < logo.width(); ++x) {
                colours.insert(logo.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() > 16, qPrintable(QString::number(colours.size())));
        QVERIFY(!window_->windowIcon().pixmap(32).isNull());
        // On a high-density screen the logo and icon come from the "@2x" pictures.
        QCOMPARE(velunor::platform::loadPicture(u":/velunor/logo.png"_s, 2.0).devicePixelRatio(),
                 2.0);
        QCOMPARE(velunor::platform::loadIcon(u":/velunor/icon.png"_s, 2.0).availableSizes().size(),
                 2);
        // The form is drawn in the desktop's colour for text areas, white by default.
        const QPoint corner = clientArea()->mapTo(window_, QPoint(1, 1));
        QCOMPARE(window_->grab(QRect(corner, QSize(1, 1))).toImage().pixelColor(0, 0),
                 clientArea()->palette().color(QPalette::Base));
        // A value stands in the middle of its box.
        QVERIFY(inkCentred(drawn(crcl_->control(u"TxtSCr"_s)), 3));

        QCOMPARE(clientArea()->size(), QSize(531, 313));
        // Frame and all, also under a window manager that adds one; the offscreen
        // platform makes its frame up only once the window is shown.
        const QRectF screen = window_->screen()->geometry();
        const QRectF frame = window_->frameGeometry();
        const QSizeF slack = QGuiApplication::platformName() == u"offscreen"_s
                                 ? QSizeF(frame.size() - window_->size()) / 2
                                 : QSizeF(0, 0);
        QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1.0 + slack.width() &&
                     qAbs(frame.center().y() - screen.center().y()) <= 1.0 + slack.height(),
                 qPrintable(u"frame %1,%2 %3x%4"_s.arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())));

        // The copyright years agree with the package's copyright file.
        QCOMPARE(crcl_->control<QLabel>(u"LblOrvaleAddr"_s)->text(),
                 u"14 Tindle Lane\nMarrowby Heath 30571\ne-mail: info@orvale.example\n"
                 u"Web site: www.orvale.example\n\u00A9 2019-"_s +
                     QString::number(QDate::currentDate().year()));
        // grown about its centre, under the logo's
        QVERIFY(qAbs(crcl_->control(u"LblOrvaleAddr"_s)->geometry().center().x() - 347) <= 1);
        // In Arial, or where it is missing its metric-compatible stand-in
        // (fonts-liberation); Windows and Wine answer with their own families.
        if (QGuiApplication::platformName() != u"windows"_s) {
            const QString family = QFontInfo(crcl_->control(u"LblOrvaleAddr"_s)->font()).family();
            QVERIFY2(QStringList({u"Arial"_s, u"Liberation Sans"_s, u"Arimo"_s}).contains(family),
                     qPrintable(family));
        }
    }

    // Twips; a window larger than the screen starts at 0 so its title bar stays
    // within reach.
    void centring_data() {
        QTest::addColumn<float>("screen");
        QTest::addColumn<float>("window");
        QTest::addColumn<float>("start");
        QTest::newRow("1024 px screen, 531 px window") << 15360.0f << 7965.0f << 3697.5f;
        QTest::newRow("531 px screen, 531 px window") << 7965.0f << 7965.0f << 0.0f;
        QTest::newRow("480 px screen, 531 px window") << 7200.0f << 7965.0f << 0.0f;
    }

    void centring() {
        QFETCH(float, screen);
        QFETCH(float, window);
        QFETCH(float, start);
        QCOMPARE(velunor::ui::centredStart(screen, window), start);
    }

    // Where each control lands, in pixels of the window's client area; the size
    // too where the toolkit's own drawing does not decide it.
    void layout_data() {
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

    void layout() {
        QFETCH(QString, name);
        QFETCH(QPoint, where);
        QFETCH(QSize, size);
        QWidget* w = crcl_->control(name);
        QCOMPARE(w->mapTo(clientArea(), QPoint(0, 0)), where);
        if (size.isValid()) {
            QCOMPARE(w->size(), size);
        }
    }

    // Every control where the design puts it in the screen's own pixels, to within
    // one design pixel, and every caption whole inside its control: at 100 %, and
    // under Wine at 150 % and 200 %.
    void scaling() {
        const qreal ratio = window_->devicePixelRatio();
        if (const QByteArray dpi = qgetenv("VELUNOR_EXPECTED_DPI"); !dpi.isEmpty()) {
            QCOMPARE(qRound(96 * ratio), dpi.toInt());
        }
        // The face Windows gives its dialogs, not a stand-in the font lookup fell back to.
        if (QGuiApplication::platformName() == u"windows"_s) {
            const QFont asked = crcl_->control(u"TxtUCr"_s)->font();
            QCOMPARE(QFontInfo(asked).family(), asked.family());
        }
        const double perTwip = ratio / 15.0;
        const auto& rows = velunor::ui::kCrClTable.controls;
        for (const velunor::platform::ControlRow& row : rows) {
            const QString name = QString::fromUtf8(row.name.data(), qsizetype(row.name.size()));
            QWidget* w = crcl_->control(name);
            QPointF design(row.left, row.top);
            if (!row.container.empty()) {
                const auto frame = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
                    return r.name == row.container;
                });
                design += QPointF(frame->left, frame->top);
            }
            QPointF device = QPointF(w->mapTo(clientArea(), QPoint(0, 0))) * ratio;
            const bool autoSize = has(row.style, velunor::platform::Style::AutoSize);
            if (autoSize && has(row.style, velunor::platform::Style::CentreText)) {
                // grown about its design centre
                design.rx() += row.width / 2.0;
                device.rx() += w->width() * ratio / 2.0;
            }
            QVERIFY2((device - design * perTwip).manhattanLength() <= 2 * ratio,
                     qPrintable(name + u" at "_s + QString::number(device.x()) + u',' +
                                QString::number(device.y())));
            const bool ownSize =
                !autoSize || row.kind == velunor::platform::ControlKind::PictureBox;
            if (ownSize && row.kind != velunor::platform::ControlKind::OptionButton) {
                const QSizeF size = QSizeF(w->size()) * ratio;
                QVERIFY2(qAbs(size.width() - row.width * perTwip) <= ratio &&
                             qAbs(size.height() - row.height * perTwip) <= ratio,
                         qPrintable(name + u" is "_s + QString::number(size.width()) + u'x' +
                                    QString::number(size.height())));
            } else if (row.kind == velunor::platform::ControlKind::OptionButton) {
                // An option grows to show its whole marker.
                QVERIFY2(w->height() >= w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight,
                                                                nullptr, w),
                         qPrintable(name));
            }
            const auto [room, caption] = captionRoom(w);
            if (caption.isEmpty() || row.kind == velunor::platform::ControlKind::OptionButton) {
                continue;
            }
            const QFontMetrics metrics = w->fontMetrics();
            const QStringList lines = caption.split(u'\n');
            int widest = 0;
            for (const QString& line : lines) {
                widest = qMax(widest, metrics.horizontalAdvance(line));
            }
            QVERIFY2(
                widest <= room.width() && metrics.height() * lines.size() <= room.height(),
                qPrintable(name + u": "_s + caption + u" needs "_s + QString::number(widest) +
                           u'x' + QString::number(metrics.height() * lines.size()) + u", has "_s +
                           QString::number(room.width()) + u'x' + QString::number(room.height()) +
                           u" in "_s + QFontInfo(w->font()).family()));
        }
    }

    void tabCycle_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("visits");
        auto add = [](const char* setup, const char* key, const char* visits) {
            QTest::addRow("%s%s", setup, key)
                << split(setup, u';') << QString::fromUtf8(key) << split(visits, u' ');
        };
        add("", "Tab",
            "TxtSCr TxtUVol TxtTime TxtHt TxtWt OptLb CmdCalc CmdExit PicOrvaleLogo OptIn TxtUCr");
        add("", "Shift+Tab",
            "OptIn PicOrvaleLogo CmdExit CmdCalc OptLb TxtWt TxtHt TxtTime TxtUVol TxtSCr TxtUCr");
        add("click OptCm; click OptKg; click TxtUCr; ", "Tab",
            "TxtSCr TxtUVol TxtTime TxtHt OptCm TxtWt OptKg CmdCalc CmdExit PicOrvaleLogo TxtUCr");
    }

    // Each stop in turn; a text box is entered with its whole text selected.
    void tabCycle() {
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

    void session_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("message");
        const char* inLb = "OptIn OptLb";
        const char* warning = "Make sure all data fields contain a number!";
        const char* outOfRange =
            "The values entered are out of range: no clearance can be calculated.";
        const char* anyText = "*";
        auto add = [&](const char* steps, const char* result, const char* focus,
                       const char* units = nullptr, const char* message = "") {
            QTest::newRow(steps) << split(steps, u';') << QString::fromUtf8(result)
                                 << QString::fromUtf8(focus)
                                 << QString::fromUtf8(units ? units : inLb)
                                 << QString::fromUtf8(message);
        };

        // Calculate by click, by Enter from every kind of control, and its results
        add("click CmdCalc", "50.0", "CmdCalc");
        add("Enter", "50.0", "TxtUCr");
        add("click TxtWt; Num+Enter", "50.0", "TxtWt");
        add("click TxtHt; Ctrl+Enter", "50.0", "TxtHt");
        add("click OptLb; Enter", "50.0", "OptLb");
        add("click PicOrvaleLogo; Enter", "50.0", "PicOrvaleLogo");
        add("click TxtTime; Tab; Tab; Tab; Tab; Space", "50.0", "CmdCalc");
        add("Tab; type 2.0; click CmdCalc", "25.0", "CmdCalc");
        add("click OptCm; click CmdCalc", "79.6", "CmdCalc", "OptCm OptLb");
        add("type 12abc; Enter", "10.9", "TxtUCr");
        add("type 120; Tab; type 1.2; Tab; type 1800; Tab; type 24; Tab; type 170; click OptCm; "
            "click TxtWt; type 70; click OptKg; click CmdCalc",
            "117.9", "CmdCalc", "OptCm OptKg");

        // Entering a field or unit empties the result; buttons, labels, typing and menus do not
        add("Enter; Tab", "", "TxtSCr");
        add("click CmdCalc; click TxtUVol", "", "TxtUVol");
        add("click CmdCalc; click OptKg", "", "OptKg", "OptIn OptKg");
        add("Enter; Shift+Tab", "", "OptIn");
        add("click OptLb; Enter; Down", "", "OptKg", "OptIn OptKg");
        add("click OptIn; Up", "", "OptCm", "OptCm OptLb");
        add("click CmdCalc; Tab", "50.0", "CmdExit");
        add("click CmdCalc; click Label1; click LblCm", "50.0", "CmdCalc");
        add("Enter; type 60", "50.0", "TxtUCr");
        add("click CmdCalc; menu MnuHelpHelp", "50.0", "CmdCalc", inLb, anyText);
        add("click CmdCalc; F10; Down; Enter", "50.0", "CmdCalc", inLb, anyText);
        add("click CmdCalc; Tab; menu MnuHelpAbout", "50.0", "CmdExit", inLb, anyText);

        // A failed Calculate changes nothing, not even when the focus comes back
        // to the field as the message box closes
        add("click TxtTime; type; click CmdCalc", "", "CmdCalc", inLb, warning);
        add("Enter; type abc; Enter", "50.0", "TxtUCr", inLb, warning);
        add("click TxtWt; type -5; click CmdCalc", "", "CmdCalc", inLb, warning);
        add("Tab; type 1e-20; click TxtTime; type 1e-20; click CmdCalc", "", "CmdCalc", inLb,
            outOfRange);
        add("Enter; type 1e39; Enter", "50.0", "TxtUCr", inLb, outOfRange);
    }

    void session() {
        QFETCH(QStringList, steps);
        QFETCH(QString, result);
        QFETCH(QString, focus);
        QFETCH(QString, units);
        QFETCH(QString, message);
        perform(steps);
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QCOMPARE(crcl_->result()->text(), result);
        QCOMPARE(focusName(), focus);
        QCOMPARE(this->units(), units);
        QCOMPARE(qsizetype(answerer_.shown().size()), message.isEmpty() ? 0 : 1);
        if (message.isEmpty()) {
            return;
        }
        const velunor::testing::ShownBox& seen = answerer_.shown().front();
        if (message != u"*"_s) {
            QCOMPARE(seen.text, message);
        }
        QCOMPARE(seen.title, u"Velunor"_s);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{u"OK"_s});
        if (focus.startsWith(u"Txt"_s)) {
            QVERIFY(!crcl_->control<QLineEdit>(focus)->hasSelectedText());
        }
    }

    void exits_data() {
        QTest::addColumn<QStringList>("steps");
        for (const char* steps :
             {"click CmdExit", "Shift+Tab; Shift+Tab; Shift+Tab; Enter",
              "Shift+Tab; Shift+Tab; Shift+Tab; Space", "type abc; click CmdExit"}) {
            QTest::newRow(steps) << split(steps, u';');
        }
    }

    void exits() {
        QFETCH(QStringList, steps);
        perform(steps);
        QVERIFY(!window_->isVisible());
        // A click still queued behind Exit does nothing.
        crcl_->control<QPushButton>(u"CmdCalc"_s)->click();
        QVERIFY(answerer_.shown().empty());
    }

    // The desktop finds the program's entry (its icon and name in the task bar) by this id.
    void desktopIdentity() {
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(VELUNOR_APP_ID));
    }

    void menuTexts_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("lines");
        for (const QString& item : {u"Help"_s, u"About"_s}) {
            QTest::newRow(qPrintable(u"MnuHelp"_s + item))
                << u"MnuHelp"_s + item << velunor::testing::helpMessage(item);
        }
    }

    void menuTexts() {
        QFETCH(QString, item);
        QFETCH(QStringList, lines);
        openMenuItem(item);
        QCOMPARE(qsizetype(answerer_.shown().size()), 1);
        QCOMPARE(answerer_.shown()[0].text.split(u'\n'), lines);
        QVERIFY(answerer_.shown()[0].linesFit);
    }

    void accessibleNames_data() {
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
        QTest::newRow("PicOrvaleLogo") << u"PicOrvaleLogo"_s << u"Orvale logo"_s;
    }

    void accessibleNames() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(crcl_->control(name))->text(QAccessible::Name),
            spoken);
    }

    // A box tells assistive technology what Qt's own line edit tells, but for its
    // text attributes: one run over the whole text, where Qt answers with empty
    // runs that cost screen readers the last character.
    void textBoxAccessibility_data() {
        QTest::addColumn<QString>("text");  // null: the start-up text, all of it selected
        QTest::addColumn<int>("caret");
        // No word ends at the end, so Qt's own search for one there returns.
        QTest::addColumn<bool>("wordSearchEnds");
        QTest::newRow("start-up") << QString() << 0 << false;
        QTest::newRow("words, a pair of surrogates, a space at the end")
            << u"1 500 mL. 2,0 \U0001F600x "_s << 7 << true;
        QTest::newRow("empty") << u""_s << 0 << false;
    }

    void textBoxAccessibility() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(bool, wordSearchEnds);
        auto* box = crcl_->control<QLineEdit>(u"TxtUCr"_s);
        if (!text.isNull()) {
            box->setText(text);
            box->setCursorPosition(caret);
        }
        // Wide enough for the whole text: where a point falls in a scrolled box
        // depends on the scroll each box works out as it paints.
        box->resize(clientArea()->width() - box->x(), box->height());
        QLineEdit twin(box->text(), box->parentWidget());
        twin.setGeometry(box->geometry());
        twin.setAlignment(box->alignment());
        twin.setCursorPosition(caret);
        if (box->hasSelectedText()) {
            twin.setSelection(box->selectionStart(), box->selectionLength());
        }
        twin.show();
        box->grab();
        twin.grab();
        QAccessibleInterface* ours = QAccessible::queryAccessibleInterface(box);
        QAccessibleInterface* qts = QAccessible::queryAccessibleInterface(&twin);
        QCOMPARE(ours->role(), qts->role());
        QAccessible::State state = ours->state();
        QVERIFY(state.focused);
        state.focused = false;
        QCOMPARE(state, qts->state());
        QCOMPARE(ours->text(QAccessible::Value), qts->text(QAccessible::Value));

        QAccessibleTextInterface* a = ours->textInterface();
        QAccessibleTextInterface* b = qts->textInterface();
        QVERIFY(a != nullptr && ours->editableTextInterface() != nullptr);
        QCOMPARE(a->cursorPosition(), b->cursorPosition());
        int start[2];
        int end[2];
        const auto sameSelection = [&] {
            QCOMPARE(a->selectionCount(), b->selectionCount());
            for (int index : {0, 1}) {
                a->selection(index, &start[0], &end[0]);
                b->selection(index, &start[1], &end[1]);
                QCOMPARE(start[0], start[1]);
                QCOMPARE(end[0], end[1]);
            }
        };
        sameSelection();
        const int count = a->characterCount();
        QCOMPARE(count, b->characterCount());
        // -1 and -2 stand for the end and the caret.
        for (int offset = -3; offset <= count + 1; ++offset) {
            QCOMPARE(a->attributes(offset, &start[0], &end[0]), QString());
            const bool inRun = offset >= -2 && offset <= count;
            QVERIFY2(start[0] == (inRun ? 0 : -1) && end[0] == (inRun ? count : -1),
                     qPrintable(QString::number(offset)));
        }
        using Near = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*,
                                                           int*) const;
        for (int offset = -2; offset <= count + 1; ++offset) {
            QCOMPARE(a->text(offset, count), b->text(offset, count));
            QCOMPARE(a->text(offset, 0), b->text(offset, 0));
            QCOMPARE(a->characterRect(offset), b->characterRect(offset));
            const QPoint at = b->characterRect(offset).center();
            QCOMPARE(a->offsetAtPoint(at), b->offsetAtPoint(at));
            const bool atEnd = (offset == -2   ? a->cursorPosition()
                                : offset == -1 ? count
                                               : offset) == count;
            for (Near near : {&QAccessibleTextInterface::textBeforeOffset,
                              &QAccessibleTextInterface::textAtOffset,
                              &QAccessibleTextInterface::textAfterOffset}) {
                for (auto boundary : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                      QAccessible::SentenceBoundary, QAccessible::LineBoundary,
                                      QAccessible::NoBoundary}) {
                    const QString got = (a->*near)(offset, boundary, &start[0], &end[0]);
                    // Qt's own search for a word or sentence there may never return.
                    if (near == &QAccessibleTextInterface::textAtOffset && atEnd &&
                        ((boundary == QAccessible::WordBoundary && !wordSearchEnds) ||
                         boundary == QAccessible::SentenceBoundary)) {
                        QVERIFY(start[0] == -1
                                    ? end[0] == -1 && got.isEmpty()
                                    : end[0] == count && got == a->text(start[0], count));
                        continue;
                    }
                    QCOMPARE(got, (b->*near)(offset, boundary, &start[1], &end[1]));
                    QCOMPARE(start[0], start[1]);
                    QCOMPARE(end[0], end[1]);
                }
            }
        }

        // What assistive technology may change: the selection, and the text (as
        // Windows' Value pattern sets it, through the box's own filter, but never as the name).
        twin.setValidator(box->validator());
        for (int index : {1, 0}) {
            a->removeSelection(index);
            b->removeSelection(index);
            sameSelection();
        }
        a->addSelection(1, 2);
        b->addSelection(1, 2);
        sameSelection();
        for (QAccessibleInterface* each : {ours, qts}) {
            each->setText(QAccessible::Value, u"1\t2345"_s);
            each->setText(QAccessible::Name, u"renamed"_s);
            each->editableTextInterface()->deleteText(1, 2);
            each->editableTextInterface()->replaceText(1, 2, u"9"_s);
        }
        QCOMPARE(box->text(), twin.text());
    }

    // A screen reader speaks the result as its notification is shown: shown
    // anew each time, the same result from a second Calculate is heard too.
    void resultAnnouncedEachTime() {
        if (!velunor::platform::kAnnouncedByNotification) {
            QSKIP("this Qt announces the result itself; no notification is shown for it");
        }
        const QList<QWidget*> all = clientArea()->findChildren<QWidget*>();
        const auto found = std::find_if(all.begin(), all.end(), [](QWidget* w) {
            return QAccessible::queryAccessibleInterface(w)->role() == QAccessible::Notification;
        });
        QVERIFY(found != all.end());
        ShowCounter shows;
        (*found)->installEventFilter(&shows);
        perform({u"Enter"_s, u"Enter"_s});
        QCOMPARE(shows.count, 2);
        // Shown, it takes no click meant for a box.
        for (QLineEdit* box : clientArea()->findChildren<QLineEdit*>()) {
            QCOMPARE(clientArea()->childAt(box->mapTo(clientArea(), box->rect().center())), box);
        }
    }

    // Each shown result is told once, from the result box itself, in the event
    // the screen readers' bridges pass on.
    void resultAnnounced_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("times");
        QTest::newRow("result") << QStringList{u"Enter"_s} << 1;
        QTest::newRow("same twice") << QStringList{u"Enter"_s, u"click CmdCalc"_s} << 2;
        QTest::newRow("cleared") << QStringList{u"Enter"_s, u"Tab"_s} << 1;
        QTest::newRow("warning") << split("click TxtTime; type; click CmdCalc", u';') << 0;
    }

    void resultAnnounced() {
        QFETCH(QStringList, steps);
        QFETCH(int, times);
        static std::vector<std::pair<QObject*, QString>> told;
        told.clear();
        // As when a screen reader has asked: only then are events passed on.
        QPlatformAccessibility* bridge =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        bridge->setActive(true);
        const auto before = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (const std::optional<QString> news = velunor::platform::toldBy(*event)) {
                told.emplace_back(event->object(), *news);
            }
        });
        perform(steps);
        QAccessible::installUpdateHandler(before);
        bridge->setActive(false);
        QCOMPARE(int(told.size()), times);
        for (const auto& [from, news] : told) {
            QCOMPARE(from, crcl_->control(u"LblCrCl"_s));
            QCOMPARE(news, u"Creatinine Clearance, mL/min 50.0"_s);
        }
    }

    // The result must not vanish into a dark desktop theme: the box stays white
    // and its digits dark.
    void resultReadableUnderDarkPalette() {
        const QPalette light = QApplication::palette();
        QApplication::setPalette(darkPalette());
        QCoreApplication::sendPostedEvents();  // the widgets learn of it from posted events
        perform({u"click CmdCalc"_s});
        QAccessibleInterface* box =
            QAccessible::queryAccessibleInterface(crcl_->control(u"LblCrCl"_s));
        QCOMPARE(box->text(QAccessible::Name), u"50.0"_s);
        QCOMPARE(box->text(QAccessible::Description), u"Creatinine Clearance, mL/min"_s);
        const QImage image = drawn(crcl_->control(u"LblCrCl"_s));
        QApplication::setPalette(light);

        QCOMPARE(image.pixelColor(image.width() / 2, 2), QColor(Qt::white));
        QVERIFY2(image.pixelColor(image.width() / 2, 0).lightness() < 64, "no border");
        int darkest = 255;
        for (int y = 2; y < image.height() - 2; ++y) {
            for (int x = 2; x < image.width() - 2; ++x) {
                darkest = qMin(darkest, image.pixelColor(x, y).lightness());
            }
        }
        QVERIFY2(darkest < 64, qPrintable(QString::number(darkest)));
        QVERIFY(inkCentred(image, 2));
    }

    // Fusion's frame pictures are read as PNG, but the window is drawn as Fusion draws it.
    void drawnAsFusion() {
        const auto* desktop = qobject_cast<QProxyStyle*>(QApplication::style());
        if (desktop == nullptr || desktop->baseStyle()->name() != u"fusion"_s) {
            QSKIP("the desktop's style is not Fusion");
        }
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
        const QImage ours = window_->grab().toImage();
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            w->setStyle(fusion.get());
        }
        window_->setStyle(fusion.get());
        QVERIFY(window_->grab().toImage() == ours);
    }

    // Every box's outer edge, and the focus frame of TxtUCr, stand at least 3:1
    // against the window around them, pixel by pixel as painted.
    void textBoxEdges_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::palette();
        QTest::newRow("dark") << darkPalette();
    }

    void textBoxEdges() {
        QFETCH(QPalette, palette);
        const QPalette before = QApplication::palette();
        QApplication::setPalette(palette);
        QCoreApplication::sendPostedEvents();  // the widgets learn of it from posted events
        QWidget* client = clientArea();
        const QImage image = client->grab().toImage();
        QApplication::setPalette(before);
        QCOMPARE(focusName(), u"TxtUCr"_s);

        const qreal ratio = image.devicePixelRatio();
        for (QLineEdit* box : client->findChildren<QLineEdit*>()) {
            const QRect r(box->mapTo(client, QPoint(0, 0)) * ratio, box->size() * ratio);
            double least = 21.0;
            auto edge = [&](QPoint on, QPoint outside) {
                least = qMin(least, contrast(image.pixelColor(on), image.pixelColor(outside)));
            };
            for (int x = r.left(); x <= r.right(); ++x) {
                edge({x, r.top()}, {x, r.top() - 1});
                edge({x, r.bottom()}, {x, r.bottom() + 1});
            }
            for (int y = r.top(); y <= r.bottom(); ++y) {
                edge({r.left(), y}, {r.left() - 1, y});
                edge({r.right(), y}, {r.right() + 1, y});
            }
            QVERIFY2(least >= 3.0, qPrintable(box->objectName() + u' ' + QString::number(least)));
            if (box->hasFocus()) {  // the focus frame is two pixels thick on every side
                const QPoint mid = r.center();
                const int in = qCeil(ratio);
                for (const auto& [outer, inner] :
                     {std::pair{QPoint(r.left(), mid.y()), QPoint(r.left() + in, mid.y())},
                      {QPoint(r.right(), mid.y()), QPoint(r.right() - in, mid.y())},
                      {QPoint(mid.x(), r.top()), QPoint(mid.x(), r.top() + in)},
                      {QPoint(mid.x(), r.bottom()), QPoint(mid.x(), r.bottom() - in)}}) {
                    QCOMPARE(image.pixelColor(inner), image.pixelColor(outer));
                }
            }
        }
    }

    // Every caption and value stands at least 4.5:1 against what it is drawn on,
    // as painted: its ink, the colour in it farthest from the one it mostly shows,
    // borders and edges left out; selected text is the desktop's own pair of
    // colours. Under the desktop's palette, and Windows' high-contrast schemes.
    void captionsStandOut() {
        perform({u"Enter"_s});
        for (QLineEdit* box : window_->findChildren<QLineEdit*>()) {
            box->deselect();
        }
        std::vector<std::pair<QString, QImage>> shown;
        auto take = [&](QWidget* w, QRect r, const QString& what) {
            shown.emplace_back(w->objectName() + what, w->grab(r).toImage());
        };
        for (QLabel* label : window_->findChildren<QLabel*>()) {
            if (!label->text().isEmpty() && !label->size().isEmpty()) {  // the news is for readers
                take(label, label->contentsRect().adjusted(1, 1, -1, -1), {});
            }
        }
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(w) != nullptr ||
                qobject_cast<QPushButton*>(w) != nullptr) {
                take(w, w->rect().adjusted(4, 4, -4, -4), {});
            }
        }
        for (QGroupBox* box : window_->findChildren<QGroupBox*>()) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.lineWidth = 1;
            option.textAlignment = box->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            take(box,
                 box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxLabel, box),
                 u" title"_s);
        }
        auto* bar = window_->findChild<QMenuBar*>();
        for (QAction* menu : bar->actions()) {
            take(bar, bar->actionGeometry(menu).adjusted(2, 2, -2, -2), u' ' + menu->text());
        }

        for (const auto& [what, image] : shown) {
            QVERIFY2(!image.isNull(), qPrintable(what));
            QHash<QRgb, int> count;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    ++count[image.pixel(x, y)];
                }
            }
            const QColor ground = QColor::fromRgb(
                std::max_element(count.keyValueBegin(), count.keyValueEnd(), [](auto a, auto b) {
                    return a.second < b.second;
                })->first);
            double ink = 1.0;
            for (auto it = count.keyBegin(); it != count.keyEnd(); ++it) {
                ink = qMax(ink, contrast(QColor::fromRgb(*it), ground));
            }
            QVERIFY2(ink >= 4.5, qPrintable(what + u' ' + QString::number(ink)));
        }
    }

    // What the result box shows goes to the clipboard from its menu; the focus,
    // the result and the fields stay as they were.
    void copyResult_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("copied");  // empty: no menu
        QTest::newRow("shown result") << QStringList{u"Enter"_s} << u"50.0"_s;
        QTest::newRow("empty box") << QStringList{} << QString();
    }

    void copyResult() {
        QFETCH(QStringList, steps);
        QFETCH(QString, copied);
        perform(steps);
        QWidget* const focus = window_->focusWidget();
        QApplication::clipboard()->setText(u"earlier"_s);
        auto* box = crcl_->control<QLabel>(u"LblCrCl"_s);
        pointAndClick(box, box->rect().center(), Qt::RightButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (copied.isEmpty()) {
            QVERIFY(menu == nullptr);
            QCOMPARE(QApplication::clipboard()->text(), u"earlier"_s);
            return;
        }
        QVERIFY(menu != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(menu->actions().size(), 1);
        QAction* copy = menu->actions().front();
        QCOMPARE(copy->text(), u"&Copy"_s);
        pointAndClick(menu, menu->actionGeometry(copy).center());
        QCOMPARE(QApplication::clipboard()->text(), copied);
        // Whether the window is active again as the menu closes is the window
        // system's business (the offscreen one leaves it inactive).
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box->findChildren<QMenu*>().isEmpty());  // each right-click's menu goes with it
        QCOMPARE(window_->focusWidget(), focus);
        QCOMPARE(crcl_->result()->text(), copied);
        QVERIFY(box->focusPolicy() == Qt::NoFocus);
    }

private:
    // A control drawn on the window, as the user sees it: what it leaves
    // unpainted shows the window behind.
    QImage drawn(QWidget* control) const {
        return clientArea()
            ->grab(QRect(control->mapTo(clientArea(), QPoint(0, 0)), control->size()))
            .toImage();
    }

    // Whether the dark ink inside an image's edge of `edge` pixels stands in its
    // middle, to within two pixels.
    static bool inkCentred(const QImage& image, int edge) {
        int left = image.width();
        int right = 0;
        for (int y = edge; y < image.height() - edge; ++y) {
            for (int x = edge; x < image.width() - edge; ++x) {
                if (image.pixelColor(x, y).lightness() < 128) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                }
            }
        }
        if (qAbs(left - (image.width() - 1 - right)) > 2 * image.devicePixelRatio()) {
            qWarning("ink from %d to %d of %d", left, right, image.width());
            return false;
        }
        return true;
    }

    QString focusName() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    QString units() const {
        QStringList chosen;
        for (const std::string_view option : velunor::ui::kUnitOptions) {
            if (crcl_->unit(option)) {
                chosen << QString::fromUtf8(option.data(), qsizetype(option.size()));
            }
        }
        return chosen.join(u' ');
    }
    // The area below the menu bar that holds the controls.
    QWidget* clientArea() const { return crcl_->control(u"TxtUCr"_s)->parentWidget(); }

    // One user action per step: "click Name", "type text" (replaces the focused
    // box's text by typing), "menu Item", or a key such as "Tab" or "Ctrl+Enter".
    void perform(const QStringList& steps) {
        for (const QString& step : steps) {
            const QString verb = step.section(u' ', 0, 0);
            const QString rest = step.section(u' ', 1);
            // After a message box the window comes back to the front in its own time.
            QVERIFY(QTest::qWaitForWindowActive(window_));
            QWidget* focus = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                               : QApplication::focusWidget();
            if (verb == u"click"_s) {
                QTest::mouseClick(crcl_->control(rest), Qt::LeftButton);
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

    // A click through the window system, where the pointer is first moved to:
    // a menu takes no click on an item until the pointer has moved since it opened.
    static void pointAndClick(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QWindow* window = target->window()->windowHandle();
        const QPoint inWindow = target->mapTo(target->window(), at);
        QTest::mouseMove(window, inWindow);
        QTest::mouseClick(window, button, {}, inWindow);
    }

    void openMenuItem(const QString& item) {
        auto* bar = window_->findChild<QMenuBar*>();
        auto* menu = crcl_->control<QMenu>(u"MnuHelp"_s);
        pointAndClick(bar, bar->actionGeometry(menu->menuAction()).center());
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        auto* action = crcl_->control<QAction>(item);
        pointAndClick(menu, menu->actionGeometry(action).center());
    }

    std::unique_ptr<velunor::testing::Window> crcl_;
    QWidget* window_ = nullptr;
    velunor::testing::BoxAnswerer answerer_;
};

int main(int argc, char** argv) {
    CrClWindowTest test;
    return velunor::testing::runUnderApplication(test, argc, argv);
}

#include "tst_crcl_window.moc"
