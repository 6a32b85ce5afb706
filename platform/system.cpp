#include "platform/system.h"

#include <QApplication>
#include <QDate>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>

#include <memory>

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

// The menu bar takes the icon of its overflow button from the style when it is
// made, and the style reads that picture without naming its format, so Qt loads
// every image plugin to ask it. The button shows only when the menus do not fit.
class LaterOverflowIcon : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton && option == nullptr) {
            return QIcon(new DeferredIcon(baseStyle(), which));
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
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
    QApplication::setStyle(new LaterOverflowIcon(QApplication::style()));
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
