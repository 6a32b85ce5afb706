#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/clearance.h"

namespace core = velunor::core;

namespace {

using core::FpError;
using core::OutcomeKind;

struct TextCase {
    const char* name;
    float clearance;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class ResultText : public testing::TestWithParam<TextCase> {};

TEST_P(ResultText, ShowsOneDecimal) {
    EXPECT_EQ(core::resultText(GetParam().clearance), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Clearances, ResultText,
    testing::Values(TextCase{"start_up_49_96083", 49.96083f, "50.0"},
                    // The single nearest 99.95 lies below it but shows as 99.95 in seven digits.
                    TextCase{"single_nearest_99_95", 99.95f, "100.0"},
                    TextCase{"single_nearest_9_95", 9.95f, "10.0"},
                    // Their nearest doubles lie below the half; the decimal rule still rounds up.
                    TextCase{"100_35", 100.35f, "100.4"}, TextCase{"60_65", 60.65f, "60.7"},
                    TextCase{"exact_half_12_25", 12.25f, "12.3"}, TextCase{"0_46", 0.46f, ".5"},
                    TextCase{"0_05", 0.05f, ".1"}, TextCase{"0_04", 0.04f, ".0"},
                    TextCase{"0_96", 0.96f, "1.0"}, TextCase{"0_95", 0.95f, "1.0"},
                    TextCase{"zero", 0.0f, ".0"},
                    TextCase{"smallest_single", std::numeric_limits<float>::denorm_min(), ".0"},
                    TextCase{"tiny_6_055858e_6", 6.055858e-6f, ".0"},
                    TextCase{"12345_67", 12345.67f, "12345.7"},
                    TextCase{"123456789", 123456789.0f, "123456800.0"},
                    TextCase{"99999_95_carries", 99999.95f, "100000.0"},
                    TextCase{"largest_single", std::numeric_limits<float>::max(),
                             "340282300000000000000000000000000000000.0"},
                    TextCase{"infinity", std::numeric_limits<float>::infinity(), ""},
                    TextCase{"nan", std::numeric_limits<float>::quiet_NaN(), ""}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

struct EvaluateCase {
    const char* name;
    std::array<std::string, 6> texts;
    bool inches;
    bool pounds;
    OutcomeKind kind;
    const char* text;
    FpError error;
};

void PrintTo(const EvaluateCase& c, std::ostream* os) {
    *os << c.name;
}

class EvaluateClearance : public testing::TestWithParam<EvaluateCase> {};

TEST_P(EvaluateClearance, GivesOutcome) {
    const EvaluateCase& c = GetParam();
    const core::Outcome got = core::evaluateClearance(c.texts, c.inches, c.pounds);
    EXPECT_EQ(got.kind, c.kind);
    EXPECT_EQ(got.text, c.text);
    EXPECT_EQ(got.error, c.error);
}

constexpr auto kResult = OutcomeKind::Result;
constexpr auto kInvalid = OutcomeKind::InvalidFields;
constexpr auto kFpError = OutcomeKind::FloatingPointError;

INSTANTIATE_TEST_SUITE_P(Fields, EvaluateClearance,
                         testing::Values(EvaluateCase{"start_up",
                                                      {"55", "1.0", "1500", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kResult,
                                                      "50.0",
                                                      FpError::None},
                                         EvaluateCase{"serum_2_0",
                                                      {"55", "2.0", "1500", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kResult,
                                                      "25.0",
                                                      FpError::None},
                                         EvaluateCase{"cm_and_lb",
                                                      {"55", "1.0", "1500", "24", "69", "175"},
                                                      false,
                                                      true,
                                                      kResult,
                                                      "79.6",
                                                      FpError::None},
                                         EvaluateCase{"metric_117_9",
                                                      {"120", "1.2", "1800", "24", "170", "70"},
                                                      false,
                                                      false,
                                                      kResult,
                                                      "117.9",
                                                      FpError::None},
                                         EvaluateCase{"imperial_109_8",
                                                      {"120", "1.2", "1800", "24", "170", "70"},
                                                      true,
                                                      true,
                                                      kResult,
                                                      "109.8",
                                                      FpError::None},
                                         EvaluateCase{"tiny_clearance",
                                                      {"1", "100", "1", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kResult,
                                                      ".0",
                                                      FpError::None},
                                         EvaluateCase{"trailing_junk_12abc",
                                                      {"12abc", "1.0", "1500", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kResult,
                                                      "10.9",
                                                      FpError::None},
                                         EvaluateCase{"empty_time",
                                                      {"55", "1.0", "1500", "", "69", "175"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None},
                                         EvaluateCase{"abc_volume",
                                                      {"55", "1.0", "abc", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None},
                                         EvaluateCase{"negative_weight",
                                                      {"55", "1.0", "1500", "24", "69", "-5"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None},
                                         EvaluateCase{"height_1e_46",
                                                      {"55", "1.0", "1500", "24", "1e-46", "175"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None},
                                         EvaluateCase{"overflowing_clearance",
                                                      {"55", "1e-20", "1500", "1e-20", "69", "175"},
                                                      true,
                                                      true,
                                                      kFpError,
                                                      "",
                                                      FpError::Overflow},
                                         EvaluateCase{"height_overflows_in_inches",
                                                      {"55", "1.0", "1500", "24", "2e38", "175"},
                                                      true,
                                                      true,
                                                      kFpError,
                                                      "",
                                                      FpError::Overflow},
                                         EvaluateCase{"same_height_in_cm",
                                                      {"55", "1.0", "1500", "24", "2e38", "175"},
                                                      false,
                                                      true,
                                                      kResult,
                                                      ".0",
                                                      FpError::None},
                                         EvaluateCase{"zero_surface_area",
                                                      {"55", "1.0", "1500", "24", "1e-44", "1e-44"},
                                                      false,
                                                      false,
                                                      kFpError,
                                                      "",
                                                      FpError::DivisionByZero},
                                         EvaluateCase{"pounds_underflow_to_zero",
                                                      {"55", "1.0", "1500", "24", "69", "1e-45"},
                                                      true,
                                                      true,
                                                      kFpError,
                                                      "",
                                                      FpError::DivisionByZero},
                                         EvaluateCase{"infinite_field",
                                                      {"55", "1.0", "1e400", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kFpError,
                                                      "",
                                                      FpError::Overflow},
                                         EvaluateCase{"beyond_single_field",
                                                      {"55", "1.0", "1500", "24", "69", "4e38"},
                                                      false,
                                                      false,
                                                      kFpError,
                                                      "",
                                                      FpError::Overflow},
                                         EvaluateCase{"negative_infinite_field",
                                                      {"55", "-1e400", "1500", "24", "69", "175"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None},
                                         EvaluateCase{"infinite_and_empty",
                                                      {"55", "1e400", "1500", "", "69", "175"},
                                                      true,
                                                      true,
                                                      kInvalid,
                                                      "",
                                                      FpError::None}),
                         [](const testing::TestParamInfo<EvaluateCase>& info) {
                             return info.param.name;
                         });

TEST(ComputeClearance, StartUpValuesRoundWhereStored) {
    const core::ClearanceResult r =
        core::computeClearance({55.0f, 1.0f, 1500.0f, 24.0f, 69.0f, 175.0f, true, true});
    ASSERT_EQ(r.error, FpError::None);
    // Each stored step rounded to single: 175.26 cm, 79.36508 kg, BSA 1.983846 m².
    EXPECT_EQ(r.clearance, 49.9608268737793f);
}

TEST(ComputeClearance, CentimetresAndKilogramsAreNotConverted) {
    const core::ClearanceResult r =
        core::computeClearance({120.0f, 1.2f, 1800.0f, 24.0f, 170.0f, 70.0f, false, false});
    ASSERT_EQ(r.error, FpError::None);
    EXPECT_FLOAT_EQ(r.clearance, 117.8503f);
}

}  // namespace
