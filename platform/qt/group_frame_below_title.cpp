#include <QGroupBox>
#include <QStyle>
#include <QStyleOption>

#include "platform/qt/group_frame.h"

namespace velunor::platform {

// Below the title, unless the box has neither a title nor a check box.
QRect groupFrameBorder(const QStyle& fusion, const QStyleOption& option, const QWidget* widget) {
    constexpr int kMargin = 3;
    int top = kMargin;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (box == nullptr || box->isCheckable() || !box->title().isEmpty()) {
        top += qMax(fusion.pixelMetric(QStyle::PM_ExclusiveIndicatorHeight),
                    option.fontMetrics.height());
    }
    return option.rect.adjusted(0, top, 0, 0);
}

}  // namespace velunor::platform
