#include "selftest/self_test.h"

#include <filesystem>
#include <fstream>

#include "platform/application.h"
#include "platform/runtime_facts.h"
#include "platform/self_test_host.h"
#include "selftest/report.h"

namespace velunor::selftest {

namespace {

bool writeReport(const std::string& file, const std::string& text) {
    // Binary, so the file holds the same bytes on every system.
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

}  // namespace

int run(int& argc, char** argv, const platform::Identity& identity, const Options& options) {
    platform::useUnseenPlatform();
    const platform::Application app(argc, argv, identity);

    Findings findings;
    findings.program = std::string(identity.name) + ' ' + std::string(identity.version);
    findings.build = VELUNOR_BUILD_COMMIT;
    findings.runtime = platform::runtimeFacts();
    platform::InstalledLayout layout = platform::installedLayout(findings.runtime.programFile);
    layout.listShipped = VELUNOR_SHIPS_FILE_LIST;
    findings.files = checkFiles(layout);
    findings.cases = runCases(options.cases);

    std::string text = reportText(findings);
    std::string summary = summaryLine(findings);
    int status = passed(findings) ? 0 : 1;
    bool reported = false;
    if (!options.reportFile.empty()) {
        reported = writeReport(options.reportFile, text);
        if (!reported) {
            const std::string failure = "The report could not be written to " + options.reportFile;
            text += failure + '\n';
            summary += ". " + failure;
            status = 1;
        }
    }
    // Without a console or a report file, the user still learns the outcome.
    if (!platform::writeToConsole(text) && !reported) {
        platform::showSummary(identity.name, summary, status == 0);
    }
    return status;
}

}  // namespace velunor::selftest
