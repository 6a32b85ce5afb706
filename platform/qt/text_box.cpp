#include "platform/qt/text_box.h"

#include <QPaintEvent>
#include <QPainter>

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

void ring(QPainter& painter, const QRect& r, const QColor& colour) {
    painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
    painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
    painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
}

}  // namespace

// The edge in the text colour faded into the ground; the focus in the highlight.
void TextBox::paintEvent(QPaintEvent* event) {
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

}  // namespace velunor::platform
