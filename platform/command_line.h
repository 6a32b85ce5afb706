#pragma once

// The command line, read before the toolkit starts: --help and --version
// must answer on a terminal with no display, and a mistyped option must not
// open a window.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/identity.h"

namespace velunor::platform {

struct CommandLine {
    std::optional<int> exitStatus;  // answered already: end with this status
    bool selfTest = false;          // --self-test: check this copy instead of opening the window
    std::string reportFile;         // --report FILE; empty when not given
};

// Answers --help/-h and --version/-v on `out` with status 0, and an unknown
// option, stray argument or misplaced --report on `err` with status 2. Without
// an exit status the window opens, or the self-test runs: argv then holds only
// the toolkit options that Application takes out, and the program's own.
// `summary` is the help's line about the program, `reportTo` where problems go.
CommandLine readCommandLine(int argc, const char* const* argv, const Identity& identity,
                            std::string_view summary, std::string_view reportTo,
                            std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace velunor::platform
