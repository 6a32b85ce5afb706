#include "platform/qt/accessible_text_box.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QValidator>

namespace velunor::platform {

namespace {

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

QAccessibleInterface* accessibleTextBox(QLineEdit* box) {
    return new AccessibleTextBox(box);
}

}  // namespace velunor::platform
