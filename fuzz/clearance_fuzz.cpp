// libFuzzer target for the field parse and the whole calculation.
//
// Input: the first byte holds the unit flags (bit 0 inches, bit 1 pounds); the
// rest is six field texts separated by '|', the last one taking whatever
// remains. Seeds stay readable: "355|1.0|1500|24|69|175" is the start-up state.

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/clearance.h"
#include "core/field_parse.h"

namespace core = velunor::core;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "clearance_fuzz: %s\n", what);
    std::abort();
}

std::array<std::string_view, 6> splitFields(std::string_view rest) {
    std::array<std::string_view, 6> fields;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        const std::size_t bar = rest.find('|');
        fields[i] = rest.substr(0, bar);
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    fields.back() = rest;
    return fields;
}

// Parses from an allocation of exactly the field's size, so that any read past
// the end of the text is a heap overflow the address sanitizer reports.
float parseExactly(std::string_view field) {
    const std::vector<char> copy(field.begin(), field.end());
    return core::parseField(std::string_view(copy.data(), copy.size()));
}

bool isResultText(const std::string& text) {
    if (text.size() < 2 || text[text.size() - 2] != '.') {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != text.size() - 2 && (text[i] < '0' || text[i] > '9')) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool inches = (data[0] & 1) != 0;
    const bool pounds = (data[0] & 2) != 0;
    const auto fields =
        splitFields(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

    std::array<float, 6> values{};
    std::array<std::string, 6> texts;
    bool allFinite = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        values[i] = parseExactly(fields[i]);
        texts[i] = std::string(fields[i]);
        if (std::bit_cast<std::uint32_t>(core::parseField(texts[i])) !=
            std::bit_cast<std::uint32_t>(values[i])) {
            fail("parseField gave two answers for one text");
        }
        allFinite = allFinite && std::isfinite(values[i]);
    }

    const core::ClearanceInputs inputs{values[0], values[1], values[2], values[3],
                                       values[4], values[5], inches,    pounds};
    const core::Outcome outcome = core::evaluateClearance(texts, inches, pounds);
    if ((outcome.kind == core::OutcomeKind::InvalidFields) == core::allPositive(inputs)) {
        fail("invalid fields reported exactly when all six values are positive");
    }
    if (outcome.kind == core::OutcomeKind::FloatingPointError &&
        outcome.error == core::FpError::None) {
        fail("floating-point error without saying which");
    }
    if (outcome.kind != core::OutcomeKind::Result) {
        return 0;
    }
    if (!allFinite) {
        fail("a result from a field that holds no finite number");
    }
    if (!isResultText(outcome.text)) {
        fail("result text is not digits, a full stop and one digit");
    }
    const core::ClearanceResult clearance = core::computeClearance(inputs);
    if (clearance.error != core::FpError::None ||
        core::resultText(clearance.clearance) != outcome.text) {
        fail("the whole calculation disagrees with its steps");
    }
    return 0;
}
