#include "platform/qt/png_pictures_style.h"

#include <qdrawutil.h>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <memory>

#include "platform/qt/group_frame.h"
#include "platform/qt/pictures.h"

namespace velunor::platform {

namespace {

// An icon the style draws up only when it is first shown.
class DeferredIcon : public QIconEngine {
public:
    DeferredIcon(const QStyle* style, QStyle::StandardPixmap which)
        : icon_(std::make_shared<Loaded>(Loaded{style, which, {}, false})) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIcon(*this); }

private:
    struct Loaded {
        QPointer<const QStyle> style;
        QStyle::StandardPixmap which;
        QIcon icon;
        bool done;
    };
    const QIcon& icon() {
        if (!icon_->done && icon_->style != nullptr) {
            icon_->icon = icon_->style->standardIcon(icon_->which);
            icon_->done = true;
        }
        return icon_->icon;
    }
    std::shared_ptr<Loaded> icon_;
};

}  // namespace

PngPicturesStyle::PngPicturesStyle(QStyle* desktop)
    : QProxyStyle(desktop), fusion_(desktop->name().compare(u"fusion", Qt::CaseInsensitive) == 0) {}

// The menu bar takes the icon of its overflow button when it is made; the
// button shows only when the menus do not fit.
QIcon PngPicturesStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                     const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton && option == nullptr) {
        return QIcon(new DeferredIcon(baseStyle(), which));
    }
    return QProxyStyle::standardIcon(which, option, widget);
}

// Fusion draws a frame's corners and edges from a picture in Qt's resources;
// this draws it as Fusion does, from the same picture read as PNG.
void PngPicturesStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameGroupBox && fusion_ && groupFrame_.isNull()) {
        groupFrame_ = loadPicture(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"), 1.0);
    }
    if (element != PE_FrameGroupBox || !fusion_ || groupFrame_.isNull()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    qDrawBorderPixmap(painter, groupFrameBorder(*baseStyle(), *option, widget),
                      QMargins(6, 6, 6, 6), groupFrame_);
}

}  // namespace velunor::platform
