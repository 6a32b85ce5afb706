#pragma once

// What a validation record notes about the machine a program runs on, and the
// SHA-256 of a file; for the self-test, once the Application exists.

#include <filesystem>
#include <optional>
#include <string>

namespace velunor::platform {

struct RuntimeFacts {
    std::filesystem::path programFile;  // the running executable
    std::string system;                 // name and version, kernel, processor
    std::string toolkit;                // Qt's version as loaded, its platform plugin and style
    std::string locale;                 // the user's locale and its decimal separator
    std::string dateTime;               // local, ISO 8601 with the offset from UTC
};

RuntimeFacts runtimeFacts();

// Lower-case hexadecimal; none when the file cannot be read.
std::optional<std::string> sha256Hex(const std::filesystem::path& file);

}  // namespace velunor::platform
