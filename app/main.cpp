#include "platform/command_line.h"
#include "platform/system.h"
#include "ui/crcl_window.h"

int main(int argc, char** argv) {
    const velunor::platform::Identity identity{
        .name = "Velunor",
        .version = VELUNOR_VERSION,
        .organisation = "Company",
        .desktopFileName = VELUNOR_APP_ID,
    };
    if (const auto status = velunor::platform::answerCommandLine(
            argc, argv, identity,
            "Computes creatinine clearance corrected to 1.73 m² body surface area, in a window.",
            "velunor@orvale.example")) {
        return *status;
    }
    velunor::platform::Application app(argc, argv, identity);
    velunor::ui::CrClWindow window;
    return app.run();
}
