#pragma once

// Creatinine clearance from a timed urine collection, corrected to 1.73 m² of
// body surface area. Pure calculation: no window code, no global state.

#include <array>
#include <string>

namespace velunor::core {

// One calculation's numbers, each stored in single precision as the window's
// arithmetic has always done; the rounding points are part of the result.
struct ClearanceInputs {
    float urineCreatinine = 0.0f;  // mg/dL
    float serumCreatinine = 0.0f;  // mg/dL
    float urineVolume = 0.0f;      // mL
    float collectionTime = 0.0f;   // hours
    float height = 0.0f;           // inches or centimetres
    float weight = 0.0f;           // pounds or kilograms
    bool heightInInches = true;
    bool weightInPounds = true;
};

enum class FpError {
    None,
    Overflow,
    DivisionByZero,
    InvalidOperation,
};

struct ClearanceResult {
    float clearance = 0.0f;  // mL/min; meaningful only when error == None
    FpError error = FpError::None;
};

enum class OutcomeKind {
    InvalidFields,       // some field is empty, non-numeric, zero or negative
    FloatingPointError,  // the values are out of range; no clearance exists
    Result,              // text holds the clearance as the result box shows it
};

struct Outcome {
    OutcomeKind kind = OutcomeKind::InvalidFields;
    std::string text;
    FpError error = FpError::None;
};

// True when all six values are greater than zero (NaN is not).
bool allPositive(const ClearanceInputs& inputs);

// Unit conversion, body surface area and corrected clearance, with the
// overflow / division-by-zero checks of each stored step.
ClearanceResult computeClearance(const ClearanceInputs& inputs);

// The clearance as shown: seven significant digits, then one decimal rounded
// half away from zero, no leading zero ("50.0", ".5"). Empty for NaN/infinity.
std::string resultText(float clearance);

// The whole Calculate step on the six field texts, in the order urine
// creatinine, serum creatinine, urine volume, collection time, height, weight.
Outcome evaluateClearance(const std::array<std::string, 6>& texts, bool heightInInches,
                          bool weightInPounds);

}  // namespace velunor::core
