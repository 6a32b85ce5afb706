#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "core/clearance.h"
#include "core/field_parse.h"

namespace core = velunor::core;

namespace {

using core::parseField;

constexpr float kInf = std::numeric_limits<float>::infinity();

// Same value and same sign of zero; floats compared exactly, as stored.
bool sameSingle(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

struct ParseCase {
    const char* name;
    std::string text;
    float expected;
};

// Every case table's rows print as their names; the test names are those names
// made fit for a test name.
template <typename Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name = testing::PrintToString(info.param);
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
    return name;
}

class ParseField : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseField, ReadsStoredSingle) {
    const ParseCase& c = GetParam();
    // Read from a copy that ends where the text ends, with no terminating zero
    // after it: a parse that looks past its field is then a sanitizer error.
    const auto exact = std::make_unique_for_overwrite<char[]>(c.text.size());
    std::copy(c.text.begin(), c.text.end(), exact.get());
    const float got = parseField({exact.get(), c.text.size()});
    EXPECT_TRUE(sameSingle(got, c.expected))
        << "text \"" << c.text.substr(0, 60) << "\" read as " << got << ", want " << c.expected;
}

// 1 + 2^-24 + 2^-53: a double tie just above a single tie. Read exactly it is
// an even double tie and lands on the single tie, so ties-to-even gives 1; one
// non-zero digit far beyond the point tips it to the next double and the next single.
const std::string kDoubleTieAboveSingleTie =
    "1.00000005960464488641292746251565404236316680908203125";

const ParseCase kParseCases[] = {
    {"default 55", "55", 55.0f},
    {"default 1.0", "1.0", 1.0f},
    {"default 1500", "1500", 1500.0f},
    {"empty", "", 0.0f},
    {"abc", "abc", 0.0f},
    {"0.0", "0.0", 0.0f},
    {"minus 5", "-5", -5.0f},
    {"minus 0", "-0", -0.0f},
    {"12abc", "12abc", 12.0f},
    {"1,500 comma ends", "1,500", 1.0f},
    {"1.2.3", "1.2.3", 1.2f},
    {"spaces inside", " 1 5 0 0 ", 1500.0f},
    {"tab and line feed inside", "1\t2\n3", 123.0f},
    {"carriage return ends", "12\r\n34", 12.0f},
    {"no-break space ends",
     "1\xC2\xA0"
     "500",
     1.0f},
    {"full-width digit ends", "1\xEF\xBC\x95", 1.0f},
    {"full-width digit alone", "\xEF\xBC\x95", 0.0f},
    {"point 5", ".5", 0.5f},
    {"5 point", "5.", 5.0f},
    {"+7", "+7", 7.0f},
    {"lone minus", "-", 0.0f},
    {"lone point", ".", 0.0f},
    {"two signs", "+-5", 0.0f},
    {"sign after spaces", "- 5", -5.0f},
    {"1e3", "1e3", 1000.0f},
    {"1D3", "1D3", 1000.0f},
    {"1d-1", "1d-1", 0.1f},
    {"2.5E-1", "2.5E-1", 0.25f},
    {"exponent without digits", "1e", 1.0f},
    {"exponent sign without digits", "7E+x", 7.0f},
    {"exponent alone", "e5", 0.0f},
    {"point e5", ".e5", 0.0f},
    {"0.1 stored as single", "0.1", 0.1f},
    // Above 2^53 a 16-digit whole number is itself rounded, and scaling it
    // rounds again: this one would then land on the wrong side of a single tie.
    {"16 digits next to a single tie", "9.007266521453857", 9.007266998291016f},
    {"1e-46 stored as zero", "1e-46", 0.0f},
    {"1e-45 smallest single", "1e-45", std::numeric_limits<float>::denorm_min()},
    {"largest single", "3.4028235e38", std::numeric_limits<float>::max()},
    {"beyond single range", "3.4028236e38", kInf},
    {"beyond double range", "1e400", kInf},
    {"negative beyond double range", "-1e400", -kInf},
    {"below double range", "1e-400", 0.0f},
    {"huge exponent", "1e99999999999999999999", kInf},
    {"huge negative exponent", "5e-99999999999999999999", 0.0f},
    {"&H10 hex", "&H10", 16.0f},
    {"&h lower case", "&hff", 255.0f},
    {"&O17 octal", "&O17", 15.0f},
    {"&o lower case", "&o7", 7.0f},
    {"&H spaced", "& H 1 0", 16.0f},
    {"&H stops at non-hex", "&H1G", 1.0f},
    {"&H stops at a colon", "&H1:", 1.0f},
    {"&O stops at 8", "&O18", 1.0f},
    {"&H without digits", "&H", 0.0f},
    {"& alone", "&", 0.0f},
    {"&X", "&X10", 0.0f},
    {"&H no sign", "&H-5", 0.0f},
    {"&H 2^80 no wrap", "&H100000000000000000000", 1208925819614629174706176.0f},
    {"&O 30 sevens", "&O" + std::string(30, '7'), 1237940039285380274899124224.0f},
    {"&H 300 digits", "&H" + std::string(300, 'F'), kInf},
    {"&H leading zeros", "&H" + std::string(5000, '0') + "1", 1.0f},
    {"5000 digits scaled back", "1" + std::string(5000, '0') + "e-5000", 1.0f},
    {"5000 fraction zeros", "0." + std::string(5000, '0') + "25e5001", 2.5f},
    {"double tie read exactly", kDoubleTieAboveSingleTie, 1.0f},
    {"double tie then far zeros", kDoubleTieAboveSingleTie + std::string(900, '0'), 1.0f},
    {"double tie plus a far digit", kDoubleTieAboveSingleTie + std::string(900, '0') + "1",
     1.00000011920928955078125f},
};

INSTANTIATE_TEST_SUITE_P(Texts, ParseField, testing::ValuesIn(kParseCases), caseName<ParseCase>);

TEST(ParseFieldLocale, DecimalCommaDesktopStillReadsFullStop) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // glibc and the Windows C runtime spell the same German locale differently.
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            german = name;
            break;
        }
    }
    ASSERT_NE(german, nullptr)
        << "the de_DE.UTF-8 locale is missing; scripts/install-deps creates it";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const float point = parseField("1.5");
    const float comma = parseField("1,5");
    const std::string text = core::resultText(49.96083f);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(point, 1.5f);
    EXPECT_EQ(comma, 1.0f);
    EXPECT_EQ(text, "50.0");
}

TEST(ParseField, MegabytesOfDigitsStayFast) {
    std::string text(8'000'000, '9');
    EXPECT_EQ(parseField(text), kInf);
    text = "0." + text;
    EXPECT_EQ(parseField(text), 1.0f);
}

struct PositivityCase {
    const char* name;
    int field;
    float value;
    bool usable;
};

class AllPositive : public testing::TestWithParam<PositivityCase> {};

TEST_P(AllPositive, RejectsAnyFieldNotAboveZero) {
    core::ClearanceInputs in{55, 1, 1500, 24, 69, 175, true, true};
    float* fields[] = {&in.urineCreatinine, &in.serumCreatinine, &in.urineVolume,
                       &in.collectionTime,  &in.height,          &in.weight};
    *fields[GetParam().field] = GetParam().value;
    EXPECT_EQ(core::allPositive(in), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AllPositive,
    testing::Values(PositivityCase{"urine_creatinine_zero", 0, 0.0f, false},
                    PositivityCase{"serum_creatinine_negative", 1, -5.0f, false},
                    PositivityCase{"volume_negative_zero", 2, -0.0f, false},
                    PositivityCase{"time_nan", 3, std::numeric_limits<float>::quiet_NaN(), false},
                    PositivityCase{"height_negative_infinity", 4, -kInf, false},
                    PositivityCase{"weight_smallest_single", 5,
                                   std::numeric_limits<float>::denorm_min(), true},
                    PositivityCase{"weight_infinity", 5, kInf, true},
                    PositivityCase{"height_default", 4, 69.0f, true}),
    testing::PrintToStringParamName());

}  // namespace
