#include "ui/program.h"

namespace velunor::ui {

platform::Identity programIdentity(std::string_view version) {
    return {
        .name = "Velunor",
        .version = version,
        .organisation = "Company",
        .desktopFileName = VELUNOR_APP_ID,
    };
}

}  // namespace velunor::ui
