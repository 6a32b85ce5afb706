#pragma once

// The window CrCl as designed: every control, the menu, and which label names
// which control.

#include <array>
#include <string_view>

#include "platform/form_table.h"

namespace velunor::ui {

extern const platform::FormTable kCrClTable;

// The six input boxes in the order the calculation reads them.
inline constexpr std::array<std::string_view, 6> kFieldBoxes = {
    "TxtUCr", "TxtSCr", "TxtUVol", "TxtTime", "TxtHt", "TxtWt",
};

inline constexpr std::array<std::string_view, 4> kUnitOptions = {"OptIn", "OptCm", "OptLb",
                                                                 "OptKg"};

}  // namespace velunor::ui
