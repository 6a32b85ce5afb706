#include <QStyleOption>

#include "platform/qt/group_frame.h"

namespace velunor::platform {

QRect groupFrameBorder(const QStyle& /*fusion*/, const QStyleOption& option,
                       const QWidget* /*widget*/) {
    return option.rect;
}

}  // namespace velunor::platform
