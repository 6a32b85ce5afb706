#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/clearance.h"
#include "core/reference_cases.h"

namespace velunor::core {
void PrintTo(const ReferenceCase& c, std::ostream* os) {
    *os << c.name;
}
}  // namespace velunor::core

namespace core = velunor::core;

namespace {

using core::FpError;

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

// The whole calculation on the reference table the program's self-test runs.
class EvaluateClearance : public testing::TestWithParam<core::ReferenceCase> {};

TEST_P(EvaluateClearance, GivesOutcome) {
    const core::ReferenceCase& c = GetParam();
    const core::Outcome got = core::evaluate(c);
    EXPECT_EQ(got.kind, c.kind);
    EXPECT_EQ(got.text, c.text);
    EXPECT_EQ(got.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(ReferenceCases, EvaluateClearance,
                         testing::ValuesIn(core::referenceCases().begin(),
                                           core::referenceCases().end()),
                         [](const testing::TestParamInfo<core::ReferenceCase>& info) {
                             return std::string(info.param.name);
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
