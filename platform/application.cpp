#include "platform/application.h"

#include <QApplication>
#include <QDate>
#include <QScreen>

#include "platform/qt/accessibility.h"
#include "platform/qt/convert.h"
#include "platform/qt/png_pictures_style.h"

namespace velunor::platform {

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
    installAccessibleInterfaces();
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
