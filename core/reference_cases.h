#pragma once

// Calculations whose outcome is known to the digit, compiled into the program
// so an installed copy can show that its runtime still gives them: the worked
// examples, every unit combination, the rounding boundaries, the lenient parse,
// unusable fields and the out-of-range outcome. The core tests run the same
// table.

#include <array>
#include <span>
#include <string_view>

#include "core/clearance.h"

namespace velunor::core {

struct ReferenceCase {
    std::string_view name;
    // Urine creatinine, serum creatinine, urine volume, collection time, height, weight.
    std::array<std::string_view, 6> fields;
    bool heightInInches;
    bool weightInPounds;
    OutcomeKind kind;
    std::string_view text;  // the result text; empty unless kind is Result
    FpError error = FpError::None;
};

std::span<const ReferenceCase> referenceCases();

// Runs one case through evaluateClearance; true when kind, text and error all match.
Outcome evaluate(const ReferenceCase& c);
bool matches(const ReferenceCase& c, const Outcome& outcome);

}  // namespace velunor::core
