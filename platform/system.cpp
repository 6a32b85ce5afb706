#include "platform/system.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOption>

#include <memory>

#include "platform/controls.h"
#include "platform/convert.h"

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

// The desktop's style, except for two pictures it would read by file name at
// start: Qt then loads every image plugin to ask it about a PNG.
class PngPicturesStyle : public QProxyStyle {
public:
    explicit PngPicturesStyle(QStyle* desktop)
        : QProxyStyle(desktop),
          fusion_(desktop->name().compare(u"fusion", Qt::CaseInsensitive) == 0) {}

    // The menu bar takes the icon of its overflow button when it is made; the
    // button shows only when the menus do not fit.
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton && option == nullptr) {
            return QIcon(new DeferredIcon(baseStyle(), which));
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }

    // Fusion draws a frame's corners and edges from a picture in Qt's resources;
    // this draws it as Fusion does, from the same picture read as PNG.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameGroupBox && fusion_ && groupFrame_.isNull()) {
            groupFrame_ = loadPicture(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"),
                1.0);
        }
        if (element != PE_FrameGroupBox || !fusion_ || groupFrame_.isNull()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // Below the title, unless the box has neither a title nor a check box.
        constexpr int kMargin = 3;
        int top = kMargin;
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        if (box == nullptr || box->isCheckable() || !box->title().isEmpty()) {
            top += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight),
                        option->fontMetrics.height());
        }
        qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                          groupFrame_);
    }

private:
    bool fusion_;
    mutable QPixmap groupFrame_;
};

}  // namespace

struct Application::Impl {
    Impl(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

Application::Application(int& argc, char** argv, const Identity& identity)
    : d_(std::make_unique<Impl>(argc, argv)) {
    // The menu stays in the window. Handing it to a desktop-wide menu bar would
    // first ask the session bus whether one exists, a round trip at every start.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication::setStyle(new PngPicturesStyle(QApplication::style()));
    QCoreApplication::setApplicationName(toQString(identity.name));
    QCoreApplication::setApplicationVersion(toQString(identity.version));
    QCoreApplication::setOrganizationName(toQString(identity.organisation));
    if (!identity.desktopFileName.empty()) {
        QGuiApplication::setDesktopFileName(toQString(identity.desktopFileName));
    }
}

Application::~Application() = default;

int Application::run() {
    return QApplication::exec();
}

Extent screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {0.0f, 0.0f};
    }
    const QSize size = screen->geometry().size();
    return {twips(size.width()), twips(size.height())};
}

int currentYear() {
    return QDate::currentDate().year();
}

}  // namespace velunor::platform
