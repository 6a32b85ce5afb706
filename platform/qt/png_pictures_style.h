#pragma once

// The desktop's style, except for two pictures it would read by file name at
// start: Qt then loads every image plugin to ask it about a PNG.

#include <QPixmap>
#include <QProxyStyle>

namespace velunor::platform {

class PngPicturesStyle : public QProxyStyle {
public:
    explicit PngPicturesStyle(QStyle* desktop);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    bool fusion_;
    mutable QPixmap groupFrame_;
};

}  // namespace velunor::platform
