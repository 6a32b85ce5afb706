#include "platform/qt/control_looks.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QValidator>

#include <algorithm>
#include <array>

namespace velunor::platform {

namespace {

class ShownText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        QString kept;
        kept.reserve(input.size());
        int cursor = position;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const char16_t c = input.at(i).unicode();
            if (c < 0x20 || c == 0x7f) {
                cursor -= i < position ? 1 : 0;
            } else {
                kept += input.at(i);
            }
        }
        input = kept;
        position = cursor;
        return Acceptable;
    }
};

}  // namespace

void useControlFace(QWidget* widget) {
    widget->setBackgroundRole(QPalette::Button);
    widget->setForegroundRole(QPalette::ButtonText);
    widget->setAutoFillBackground(true);
}

void useBlackOnWhite(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setForegroundRole(QPalette::WindowText);
    widget->setAutoFillBackground(true);
}

// Say a result for the patient record. The label still takes no focus, the
// menu closing is no GotFocus, and an empty label offers nothing.
void offerCopy(QLabel* label) {
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, label, [label](QPoint at) {
        const QString shown = label->text();
        if (shown.isEmpty()) {
            return;
        }
        auto* menu = new QMenu(label);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(menu->addAction(QStringLiteral("&Copy")), &QAction::triggered, label,
                         [shown] { QGuiApplication::clipboard()->setText(shown); });
        menu->popup(label->mapToGlobal(at));
    });
}

// The box holds what it shows.
void keepShownTextOnly(QLineEdit* box) {
    box->setValidator(new ShownText(box));
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

// The option buttons were drawn just big enough for a 13-pixel marker; a
// style whose marker is larger gets the room, or the marker is cut off.
void fitMarker(QWidget* option) {
    const int marker =
        option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, option);
    if (option->height() < marker) {
        option->resize(option->width(), marker);
    }
}

}  // namespace velunor::platform
