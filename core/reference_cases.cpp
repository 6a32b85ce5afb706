#include "core/reference_cases.h"

namespace velunor::core {

namespace {

constexpr bool kIn = true;
constexpr bool kCm = false;
constexpr bool kLb = true;
constexpr bool kKg = false;
constexpr auto kResult = OutcomeKind::Result;
constexpr auto kInvalid = OutcomeKind::InvalidFields;
constexpr auto kFpError = OutcomeKind::FloatingPointError;
constexpr auto kOverflow = FpError::Overflow;
constexpr auto kDivZero = FpError::DivisionByZero;

// Each boundary row was found by searching for inputs whose single-precision
// clearance is exactly the named value, so a runtime that rounds anywhere else
// shows a different digit.
// clang-format off
constexpr std::array kCases = {
    // The worked examples, and each pair of units.
    ReferenceCase{"start_up",            {"55", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "50.0"},
    ReferenceCase{"serum_2_0",           {"55", "2.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "25.0"},
    ReferenceCase{"cm_and_lb",           {"55", "1.0", "1500", "24", "69", "175"}, kCm, kLb, kResult, "79.6"},
    ReferenceCase{"in_and_kg",           {"55", "1.0", "1500", "24", "69", "175"}, kIn, kKg, kResult, "33.6"},
    ReferenceCase{"metric_117_9",        {"120", "1.2", "1800", "24", "170", "70"}, kCm, kKg, kResult, "117.9"},
    ReferenceCase{"imperial_109_8",      {"120", "1.2", "1800", "24", "170", "70"}, kIn, kLb, kResult, "109.8"},
    // Rounding: seven significant digits first, then half away from zero in decimal.
    ReferenceCase{"single_below_99_95",  {"94.8", "1.0", "1741", "24", "69", "175"}, kIn, kLb, kResult, "100.0"},
    ReferenceCase{"half_100_35",         {"110.47155", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "100.4"},
    ReferenceCase{"half_60_65",          {"66.76731", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "60.7"},
    ReferenceCase{"below_one_0_46",      {"0.4684", "1.2", "1800", "24", "170", "70"}, kCm, kKg, kResult, ".5"},
    ReferenceCase{"tiny_clearance",      {"1", "100", "1", "24", "69", "175"}, kIn, kLb, kResult, ".0"},
    ReferenceCase{"large_12345_67",      {"12570.86", "1.2", "1800", "24", "170", "70"}, kCm, kKg, kResult, "12345.7"},
    ReferenceCase{"eight_digits",        {"125708727", "1.2", "1800", "24", "170", "70"}, kCm, kKg, kResult, "123456800.0"},
    // The lenient parse, which no locale may change.
    ReferenceCase{"spaces_in_number",    {"55", "1.0", " 1 5 0 0 ", "24", "69", "175"}, kIn, kLb, kResult, "50.0"},
    ReferenceCase{"comma_ends_number",   {"1,500", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, ".9"},
    ReferenceCase{"trailing_junk_12abc", {"12abc", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "10.9"},
    ReferenceCase{"hexadecimal",         {"&H37", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "50.0"},
    ReferenceCase{"octal",               {"&o67", "1.0", "1500", "24", "69", "175"}, kIn, kLb, kResult, "50.0"},
    ReferenceCase{"d_exponent",          {"55", "1.0", "1.5D3", "24", "69", "175"}, kIn, kLb, kResult, "50.0"},
    ReferenceCase{"leading_point",       {"55", ".5", "1500", "24", "69", "175"}, kIn, kLb, kResult, "99.9"},
    // Unusable fields: the warning, whatever the cause.
    ReferenceCase{"empty_time",          {"55", "1.0", "1500", "", "69", "175"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"abc_volume",          {"55", "1.0", "abc", "24", "69", "175"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"zero_serum",          {"55", "0", "1500", "24", "69", "175"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"negative_weight",     {"55", "1.0", "1500", "24", "69", "-5"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"height_1e_46",        {"55", "1.0", "1500", "24", "1e-46", "175"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"negative_infinite_field", {"55", "-1e400", "1500", "24", "69", "175"}, kIn, kLb, kInvalid, ""},
    ReferenceCase{"infinite_and_empty",  {"55", "1e400", "1500", "", "69", "175"}, kIn, kLb, kInvalid, ""},
    // Out of range: no clearance exists.
    ReferenceCase{"overflowing_clearance", {"55", "1e-20", "1500", "1e-20", "69", "175"}, kIn, kLb, kFpError, "", kOverflow},
    ReferenceCase{"height_overflows_in_inches", {"55", "1.0", "1500", "24", "2e38", "175"}, kIn, kLb, kFpError, "", kOverflow},
    ReferenceCase{"same_height_in_cm",   {"55", "1.0", "1500", "24", "2e38", "175"}, kCm, kLb, kResult, ".0"},
    ReferenceCase{"zero_surface_area",   {"55", "1.0", "1500", "24", "1e-44", "1e-44"}, kCm, kKg, kFpError, "", kDivZero},
    ReferenceCase{"pounds_underflow_to_zero", {"55", "1.0", "1500", "24", "69", "1e-45"}, kIn, kLb, kFpError, "", kDivZero},
    ReferenceCase{"infinite_field",      {"55", "1.0", "1e400", "24", "69", "175"}, kIn, kLb, kFpError, "", kOverflow},
    ReferenceCase{"beyond_single_field", {"55", "1.0", "1500", "24", "69", "4e38"}, kCm, kKg, kFpError, "", kOverflow},
};
// clang-format on

}  // namespace

std::span<const ReferenceCase> referenceCases() {
    return kCases;
}

Outcome evaluate(const ReferenceCase& c) {
    std::array<std::string, 6> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = std::string(c.fields[i]);
    }
    return evaluateClearance(texts, c.heightInInches, c.weightInPounds);
}

bool matches(const ReferenceCase& c, const Outcome& outcome) {
    return outcome.kind == c.kind && outcome.text == c.text && outcome.error == c.error;
}

}  // namespace velunor::core
