#pragma once

#include <cmath>
#include <limits>

namespace velunor::core {

// Round to nearest single. Beyond the largest single plus half an ulp the value
// becomes an infinity, as IEEE storage does; spelled out because C++ leaves an
// out-of-range conversion undefined.
inline float toSingle(double value) {
    constexpr double kOverflowEdge = 0x1.ffffffp127;
    if (std::isfinite(value) && std::fabs(value) >= kOverflowEdge) {
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

}  // namespace velunor::core
