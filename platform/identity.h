#pragma once

#include <string_view>

namespace velunor::platform {

// How a program names itself to the command line, the desktop and the toolkit.
struct Identity {
    std::string_view name;
    std::string_view version;
    std::string_view organisation;
    std::string_view desktopFileName;  // reverse-DNS id of the desktop entry; may be empty
};

}  // namespace velunor::platform
