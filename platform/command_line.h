#pragma once

// The command line, read before the toolkit starts: --help and --version
// must answer on a terminal with no display, and a mistyped option must not
// open a window.

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/identity.h"

namespace velunor::platform {

// Answers --help/-h and --version/-v on `out` with status 0, and an unknown
// option or stray argument on `err` with status 2. Returns nothing when the
// window should open: argv then holds only the toolkit options that
// Application takes out.
// `summary` is the help's line about the program, `reportTo` where problems go.
std::optional<int> answerCommandLine(int argc, const char* const* argv, const Identity& identity,
                                     std::string_view summary, std::string_view reportTo,
                                     std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace velunor::platform
