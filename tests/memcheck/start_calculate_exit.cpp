// One life of the window inside the program's own event loop: start, Calculate
// with the start-up values, Exit. Run under a memory checker.

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "platform/application.h"
#include "tests/support/window_driver.h"
#include "ui/program.h"

int main(int argc, char** argv) {
    velunor::platform::Application app(argc, argv, velunor::ui::programIdentity(VELUNOR_VERSION));
    velunor::testing::Window window;
    int status = 1;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(window.control("CmdCalc"), Qt::LeftButton);
        const QString shown = window.result()->text();
        if (shown == QLatin1String("50.0")) {
            status = 0;
        } else {
            std::fprintf(stderr, "Calculate showed \"%s\", expected \"50.0\"\n", qPrintable(shown));
        }
        QTest::mouseClick(window.control("CmdExit"), Qt::LeftButton);
    });
    const int loop = app.run();
    return loop != 0 ? loop : status;
}
