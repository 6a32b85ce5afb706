#include "platform/system.h"
#include "ui/crcl_window.h"

int main(int argc, char** argv) {
    velunor::platform::Application app(argc, argv,
                                       {
                                           .name = "Velunor",
                                           .version = "1.00",
                                           .organisation = "Company",
                                           .desktopFileName = VELUNOR_APP_ID,
                                       });
    velunor::ui::CrClWindow window;
    return app.run();
}
