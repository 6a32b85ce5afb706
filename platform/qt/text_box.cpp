#include "platform/qt/text_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QValidator>

#include <algorithm>

namespace velunor::platform {

namespace {

// Input boundaries must stand at least 3:1 against what surrounds them; a
// little more, so no rounding of a measurement takes them below.
constexpr double kMinimumContrast = 3.1;

// x^2.4 for x in (0, 1] as x^2 times the fifth root of x^2, by Newton's method
// from above. libm's pow would cost more resident memory at start-up, for its
// tables and code, than everything else these boxes draw.
double power24(double x) {
    const double square = x * x;
    double root = 1.0;
    for (;;) {
        const double fourth = root * root * root * root;
        const double next = (4.0 * root + square / fourth) / 5.0;
        if (!(next < root)) {
            return square * root;
        }
        root = next;
    }
}

double relativeLuminance(const QColor& colour) {
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : power24((c + 0.055) / 1.055);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

QColor mix(const QColor& a, const QColor& b, double t) {
    // Channels and t are never negative: adding a half and truncating rounds.
    auto channel = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    const QColor p = a.toRgb();
    const QColor q = b.toRgb();
    return QColor(channel(p.red(), q.red()), channel(p.green(), q.green()),
                  channel(p.blue(), q.blue()));
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour nearest `from`, on the way to `towards`, that stands out from
// `ground`; where `towards` cannot get there, black or white does.
QColor standingOut(const QColor& from, const QColor& towards, const QColor& ground) {
    const QColor extreme =
        relativeLuminance(ground) > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
    const QColor target = contrastRatio(towards, ground) >= kMinimumContrast ? towards : extreme;
    constexpr int kSteps = 64;
    for (int step = 0; step < kSteps; ++step) {
        const QColor candidate = mix(from, target, static_cast<double>(step) / kSteps);
        if (contrastRatio(candidate, ground) >= kMinimumContrast) {
            return candidate;
        }
    }
    return target;
}

// What the box stands on: the nearest ancestor that paints its background.
QColor groundOf(const QWidget& box) {
    const QWidget* w = box.parentWidget();
    while (w != nullptr && !w->autoFillBackground() && !w->isWindow()) {
        w = w->parentWidget();
    }
    return w != nullptr ? w->palette().color(w->backgroundRole())
                        : box.palette().color(QPalette::Window);
}

// The style draws the edge in a tint of the window colour, which all but
// vanishes on the pale or dark grounds of many desktop palettes; this box
// draws its outer ring itself, in colours taken from the palette it is shown
// with: the text colour faded into the ground, the highlight for the focus.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        const QColor ground = groundOf(*this);
        const QColor edge = standingOut(ground, palette().color(QPalette::Text), ground);
        QPainter painter(this);
        ring(painter, rect(), edge);
        if (hasFocus()) {
            const QColor highlight = palette().color(QPalette::Highlight);
            const QColor focus = standingOut(highlight, palette().color(QPalette::Text), ground);
            ring(painter, rect(), focus);
            ring(painter, rect().adjusted(1, 1, -1, -1), focus);
        }
    }

private:
    static void ring(QPainter& painter, const QRect& r, const QColor& colour) {
        painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
        painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
        painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
    }
};

// What assistive technology is told about a box: Qt's own line edit's
// answers, made here again as its class is not exported, but for two. Qt gives
// the text attributes as an empty run at the offset asked, where a run must
// hold its offset; screen readers that build the spoken line from the runs
// (Orca) then leave out the last character, and 1500 is read as 150. A box has
// one font and one colour: its whole text is one run. And the word or sentence
// at the end of the text is never found; see itemEndsAtEnd.
class AccessibleTextBox : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit AccessibleTextBox(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    static QAccessibleInterface* create(const QString& /*key*/, QObject* object) {
        auto* box = dynamic_cast<TextBox*>(object);
        return box != nullptr ? new AccessibleTextBox(box) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        QString str;
        if (t == QAccessible::Value && box()->echoMode() == QLineEdit::Normal) {
            str = box()->text();
        } else if (t == QAccessible::Value && box()->echoMode() != QLineEdit::NoEcho) {
            str = QString(box()->text().size(), u'*');
        }
        if (str.isEmpty()) {
            str = QAccessibleWidget::text(t);
        }
        if (str.isEmpty() && t == QAccessible::Description) {
            str = box()->placeholderText();
        }
        return str;
    }

    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString kept = text;
        int position = 0;
        if (box()->validator() != nullptr &&
            box()->validator()->validate(kept, position) != QValidator::Acceptable) {
            return;
        }
        box()->setText(kept);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = box()->isReadOnly();
        state.passwordEdit = box()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (t == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        // -1 and -2 stand for the end and the caret; the offset after the last
        // character, where the caret may be, is still in the run.
        const int count = characterCount();
        const bool inText = offset == -1 || offset == -2 || (offset >= 0 && offset <= count);
        *startOffset = inText ? 0 : -1;
        *endOffset = inText ? count : -1;
        return {};
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0) {
            *startOffset = box()->selectionStart();
            *endOffset = *startOffset + static_cast<int>(box()->selectedText().size());
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            box()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            box()->setSelection(startOffset, endOffset - startOffset);
        }
    }

    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    QString text(int startOffset, int endOffset) const override {
        if (startOffset > endOffset || box()->echoMode() != QLineEdit::Normal) {
            return {};
        }
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return hidden(startOffset, endOffset)
                   ? QString()
                   : QAccessibleTextInterface::textBeforeOffset(caretFor(offset), boundary,
                                                                startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return hidden(startOffset, endOffset)
                   ? QString()
                   : QAccessibleTextInterface::textAfterOffset(caretFor(offset), boundary,
                                                               startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        if (hidden(startOffset, endOffset)) {
            return {};
        }
        offset = caretFor(offset);
        if (itemEndsAtEnd(offset, boundary)) {
            *startOffset = *endOffset = -1;
            return {};
        }
        return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
    }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }

    // Where Qt's own line edit puts a character: at its x in one unbroken line
    // of the shown text, neither scrolled nor aligned, at the top text margin.
    QRect characterRect(int offset) const override {
        const QString character = text(offset, offset + 1);
        if (character.isEmpty()) {
            return {};
        }
        QTextLayout layout(box()->displayText(), box()->font());
        QTextOption option = layout.textOption();
        option.setTextDirection(Qt::LayoutDirectionAuto);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QFontMetrics metrics(box()->font());
        QRect r(static_cast<int>(line.cursorToX(offset)), box()->textMargins().top(),
                metrics.horizontalAdvance(character), metrics.height());
        r.moveTo(box()->mapToGlobal(r.topLeft()));
        return r;
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override {
        box()->setText(box()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString& text) override {
        box()->setText(box()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    // Nothing of a text shown as stars is told.
    bool hidden(int* startOffset, int* endOffset) const {
        if (box()->echoMode() == QLineEdit::Normal) {
            return false;
        }
        *startOffset = *endOffset = -1;
        return true;
    }
    // -2 stands for the caret.
    int caretFor(int offset) const { return offset == -2 ? cursorPosition() : offset; }
    // Asked for the word or sentence at the end of the text (-1 too) where one
    // ends there, Qt searches on past the end and never returns: assistive
    // technology asking for the word at the end of a box would hang the
    // program. Nothing is found there, as Qt says of a character there.
    bool itemEndsAtEnd(int offset, QAccessible::TextBoundaryType boundary) const {
        const QString text = box()->text();
        if (text.isEmpty() || (offset != -1 && offset != text.size()) ||
            (boundary != QAccessible::WordBoundary && boundary != QAccessible::SentenceBoundary)) {
            return false;
        }
        QTextBoundaryFinder end(boundary == QAccessible::WordBoundary
                                    ? QTextBoundaryFinder::Word
                                    : QTextBoundaryFinder::Sentence,
                                text);
        end.toEnd();
        return (end.boundaryReasons() &
                (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem)) != 0;
    }
};

}  // namespace

QLineEdit* makeTextBox(const QString& text, QWidget* parent) {
    static const bool accessible = (QAccessible::installFactory(AccessibleTextBox::create), true);
    Q_UNUSED(accessible);
    return new TextBox(text, parent);
}

}  // namespace velunor::platform
