#pragma once

// Who the program is, wherever it names itself: the command line, the desktop
// and the toolkit.

#include <string_view>

#include "platform/identity.h"

namespace velunor::ui {

// `version` is the program's own, "1.00".
platform::Identity programIdentity(std::string_view version);

inline constexpr std::string_view kProgramSummary =
    "Computes creatinine clearance corrected to 1.73 m² body surface area, in a window.";
inline constexpr std::string_view kReportProblemsTo = "velunor@orvale.example";

}  // namespace velunor::ui
