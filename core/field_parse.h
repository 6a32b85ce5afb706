#pragma once

#include <string_view>

namespace velunor::core {

// Lenient numeric prefix of a field: spaces, tabs and line feeds are ignored
// anywhere, &H/&O read hexadecimal/octal whole numbers, otherwise
// [sign] digits [. digits] [E|D [sign] digits]; whatever follows is ignored and
// text without a number reads as 0. Correctly rounded to double, then to single.
float parseField(std::string_view text);

}  // namespace velunor::core
