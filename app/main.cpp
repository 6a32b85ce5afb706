#include "platform/command_line.h"
#include "platform/application.h"
#include "ui/crcl_window.h"
#include "ui/program.h"

int main(int argc, char** argv) {
    const velunor::platform::Identity identity = velunor::ui::programIdentity(VELUNOR_VERSION);
    if (const auto status = velunor::platform::answerCommandLine(
            argc, argv, identity, velunor::ui::kProgramSummary, velunor::ui::kReportProblemsTo)) {
        return *status;
    }
    velunor::platform::Application app(argc, argv, identity);
    velunor::ui::CrClWindow window;
    return app.run();
}
