#pragma once

// Every message the window shows, and the maker's contact block.

#include <string>
#include <string_view>

namespace velunor::ui {

inline constexpr std::string_view kInvalidFieldsMessage =
    "Make sure all data fields contain a number!";
inline constexpr std::string_view kOutOfRangeMessage =
    "The values entered are out of range: no clearance can be calculated.";

std::string helpText();
std::string aboutText();
// Five lines; the copyright runs to the given year.
std::string contactBlock(int year);

}  // namespace velunor::ui
