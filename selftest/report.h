#pragma once

// The self-test's report: plain text for a validation record, the same on
// every system, ending in one summary line.

#include <string>
#include <vector>

#include "platform/runtime_facts.h"
#include "selftest/cases_check.h"
#include "selftest/files_check.h"

namespace velunor::selftest {

struct Findings {
    std::string program;  // name and version
    std::string build;    // the commit it was built from
    platform::RuntimeFacts runtime;
    FilesCheck files;
    std::vector<CaseRun> cases;
};

bool passed(const Findings& findings);
std::string summaryLine(const Findings& findings);
std::string reportText(const Findings& findings);

}  // namespace velunor::selftest
