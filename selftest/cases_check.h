#pragma once

// The operational check: each reference case through the calculation, and
// through the real window as a user would give it, the window never shown.

#include <span>
#include <string>
#include <vector>

#include "core/reference_cases.h"

namespace velunor::selftest {

struct CaseRun {
    core::ReferenceCase reference;
    std::string expected;     // the outcome as the calculation and the window state it
    std::string calculation;  // what the calculation gave
    std::string window;       // what the window showed
    bool calculationPasses;
    bool windowPasses;
};

// Needs the Application. The two warnings' texts are named in the report's
// key rather than written out on every row.
std::vector<CaseRun> runCases(std::span<const core::ReferenceCase> cases);

inline constexpr std::string_view kFieldsWarning = "warning: fields";
inline constexpr std::string_view kRangeWarning = "warning: out of range";

}  // namespace velunor::selftest
