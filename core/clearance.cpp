#include "core/clearance.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/field_parse.h"
#include "core/single.h"

namespace velunor::core {
namespace {

constexpr double kInchFactor = 2.54;
constexpr double kPoundDivisor = 2.205;
constexpr double kSurfaceAreaCoefficient = 0.016821;
constexpr double kNormalSurfaceArea = 1.73;
constexpr float kMinutesPerHour = 60.0f;

std::array<float, 6> fieldValues(const ClearanceInputs& in) {
    return {in.urineCreatinine, in.serumCreatinine, in.urineVolume,
            in.collectionTime,  in.height,          in.weight};
}

}  // namespace

bool allPositive(const ClearanceInputs& in) {
    // Each comparison is false for NaN, so NaN fails like zero and negatives.
    bool usable = true;
    for (const float v : fieldValues(in)) {
        usable = (v > 0.0f) && usable;
    }
    return usable;
}

ClearanceResult computeClearance(const ClearanceInputs& in) {
    const std::array<float, 6> values = fieldValues(in);
    for (const float v : values) {
        if (std::isnan(v)) {
            return {0.0f, FpError::InvalidOperation};
        }
    }
    for (const float v : values) {
        if (std::isinf(v)) {
            return {0.0f, FpError::Overflow};
        }
    }

    float height = in.height;
    if (in.heightInInches) {
        height = toSingle(static_cast<double>(height) * kInchFactor);
        if (std::isinf(height)) {
            return {0.0f, FpError::Overflow};
        }
    }
    float weight = in.weight;
    if (in.weightInPounds) {
        weight = toSingle(static_cast<double>(weight) / kPoundDivisor);
    }

    // Exact: a product of two singles always fits a double.
    const double product = static_cast<double>(weight) * static_cast<double>(height);
    if (product < 0.0) {
        return {0.0f, FpError::InvalidOperation};
    }
    const float bsa = toSingle(std::sqrt(product) * kSurfaceAreaCoefficient);

    const double numerator = static_cast<double>(in.urineVolume) *
                             static_cast<double>(in.urineCreatinine) * kNormalSurfaceArea;
    const double denominator = static_cast<double>(bsa) * static_cast<double>(in.serumCreatinine) *
                               static_cast<double>(in.collectionTime) *
                               static_cast<double>(kMinutesPerHour);
    if (denominator == 0.0) {
        return {0.0f, numerator == 0.0 ? FpError::InvalidOperation : FpError::DivisionByZero};
    }
    const float clearance = toSingle(numerator / denominator);
    if (std::isinf(clearance)) {
        return {0.0f, FpError::Overflow};
    }
    if (std::isnan(clearance)) {
        return {0.0f, FpError::InvalidOperation};
    }
    return {clearance, FpError::None};
}

std::string resultText(float clearance) {
    if (!std::isfinite(clearance)) {
        return {};
    }
    // Seven significant digits of the exact single value: "d.dddddde±XX".
    std::array<char, 32> sci{};
    const auto sciEnd = std::to_chars(sci.data(), sci.data() + sci.size(), std::fabs(clearance),
                                      std::chars_format::scientific, 6)
                            .ptr;
    std::array<char, 7> digits{};
    digits[0] = sci[0];
    for (std::size_t i = 0; i < 6; ++i) {
        digits[i + 1] = sci[i + 2];
    }
    int exponent = 0;
    std::from_chars(sci.data() + 9 + (sci[9] == '+' ? 1 : 0), sciEnd, exponent);

    // Lay the digits out as a whole number of tenths plus one rounding digit,
    // then round half away from zero on those decimal digits.
    // Integer digits: exponent + 1 (at least one, a zero, for values below 1).
    std::array<char, 64> tenths{};
    std::size_t n = 0;
    int intDigits = exponent + 1;
    const int leadingZeros = intDigits < 1 ? 1 - intDigits : 0;
    intDigits = intDigits < 1 ? 1 : intDigits;
    auto digitAt = [&](int i) -> char {
        const int k = i - leadingZeros;
        return (k >= 0 && k < 7) ? digits[static_cast<std::size_t>(k)] : '0';
    };
    for (int i = 0; i < intDigits + 1; ++i) {
        tenths[n++] = digitAt(i);
    }
    if (digitAt(intDigits + 1) >= '5') {
        std::size_t i = n;
        while (i > 0 && tenths[i - 1] == '9') {
            tenths[--i] = '0';
        }
        if (i == 0) {
            // Carry out of the top digit: 99.95 becomes 100.0.
            for (std::size_t j = n; j > 0; --j) {
                tenths[j] = tenths[j - 1];
            }
            tenths[0] = '1';
            ++n;
        } else {
            ++tenths[i - 1];
        }
    }

    std::size_t first = 0;
    while (first + 1 < n && tenths[first] == '0') {
        ++first;
    }
    std::string text;
    if (clearance < 0.0f) {
        text += '-';
    }
    text.append(tenths.data() + first, n - 1 - first);
    text += '.';
    text += tenths[n - 1];
    return text;
}

Outcome evaluateClearance(const std::array<std::string, 6>& texts, bool heightInInches,
                          bool weightInPounds) {
    const ClearanceInputs inputs{parseField(texts[0]), parseField(texts[1]), parseField(texts[2]),
                                 parseField(texts[3]), parseField(texts[4]), parseField(texts[5]),
                                 heightInInches,       weightInPounds};
    if (!allPositive(inputs)) {
        return {OutcomeKind::InvalidFields, {}, FpError::None};
    }
    const ClearanceResult result = computeClearance(inputs);
    if (result.error != FpError::None) {
        return {OutcomeKind::FloatingPointError, {}, result.error};
    }
    return {OutcomeKind::Result, resultText(result.clearance), FpError::None};
}

}  // namespace velunor::core
