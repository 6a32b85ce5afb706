#include "platform/application.h"
#include "platform/command_line.h"
#include "selftest/self_test.h"
#include "ui/crcl_window.h"
#include "ui/program.h"

int main(int argc, char** argv) {
    const velunor::platform::Identity identity = velunor::ui::programIdentity(VELUNOR_VERSION);
    const velunor::platform::CommandLine request = velunor::platform::readCommandLine(
        argc, argv, identity, velunor::ui::kProgramSummary, velunor::ui::kReportProblemsTo);
    if (request.exitStatus) {
        return *request.exitStatus;
    }
    if (request.selfTest) {
        velunor::selftest::Options options;
        options.reportFile = request.reportFile;
        return velunor::selftest::run(argc, argv, identity, options);
    }
    velunor::platform::Application app(argc, argv, identity);
    velunor::ui::CrClWindow window;
    return app.run();
}
