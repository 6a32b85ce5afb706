#pragma once

// velunor --self-test: the installation check and the operational check,
// reported for a validation record.

#include <span>
#include <string>

#include "core/reference_cases.h"
#include "platform/identity.h"

namespace velunor::selftest {

struct Options {
    std::string reportFile;  // also written there when not empty
    std::span<const core::ReferenceCase> cases = core::referenceCases();
};

// Starts the toolkit without showing anything, runs both checks and reports
// them: to the console, to the report file when given, and otherwise in a
// message box on Windows. 0 when everything passed, else 1 (also when the
// report file cannot be written).
int run(int& argc, char** argv, const platform::Identity& identity, const Options& options);

}  // namespace velunor::selftest
