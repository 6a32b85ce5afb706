#include "platform/command_line.h"

#include <algorithm>
#include <array>
#include <string>

namespace velunor::platform {

namespace {

struct ToolkitOption {
    std::string_view name;
    std::string_view value;  // empty for a switch
    std::string_view help;
};

// Qt's options that still mean something for this window, as QApplication
// reads them. The rest of Qt's list (window geometry, title, icon, style
// sheet files) would fight the window's own design, so they count as unknown.
constexpr std::array kToolkitOptions{
    ToolkitOption{"-platform", "NAME[:OPTIONS]", "window system plugin: xcb, wayland, offscreen"},
    ToolkitOption{"-platformtheme", "NAME", "desktop theme plugin, for example gtk3"},
    ToolkitOption{"-display", "DISPLAY", "X server to connect to (xcb only)"},
    ToolkitOption{"-style", "NAME", "widget style, for example Fusion"},
    ToolkitOption{"-reverse", "", "lay the window out right to left"},
    ToolkitOption{"-session", "ID", "session to restore (given by the session manager)"},
};

std::string_view programName(int argc, const char* const* argv) {
    std::string_view name = argc > 0 && argv[0] != nullptr ? argv[0] : "";
    name.remove_prefix(name.find_last_of('/') + 1);  // npos + 1 is 0
    return name.empty() ? std::string_view("velunor") : name;
}

void printHelp(std::FILE* out, std::string_view program, std::string_view summary,
               std::string_view reportTo) {
    std::string text =
        "Usage: " + std::string(program) + " [OPTION]...\n" + std::string(summary) +
        "\n\nOptions:\n"
        "  -h, --help                show this help and exit\n"
        "  -v, --version             show the version and exit\n"
        "      --self-test           check this copy's files and known results, "
        "then exit\n"
        "      --report FILE         with --self-test, also write the report to FILE\n"
        "\nQt options:\n";
    for (const ToolkitOption& option : kToolkitOptions) {
        std::string usage = std::string(option.name);
        if (!option.value.empty()) {
            usage += ' ';
            usage += option.value;
        }
        usage.resize(std::max<std::size_t>(usage.size() + 1, 26), ' ');
        text += "  " + usage + std::string(option.help) + '\n';
    }
    text += "\nReport problems to " + std::string(reportTo) + ".\n";
    std::fputs(text.c_str(), out);
}

CommandLine exitWith(int status) {
    CommandLine answer;
    answer.exitStatus = status;
    return answer;
}

}  // namespace

CommandLine readCommandLine(int argc, const char* const* argv, const Identity& identity,
                            std::string_view summary, std::string_view reportTo, std::FILE* out,
                            std::FILE* err) {
    const std::string_view program = programName(argc, argv);
    const auto fail = [&](const char* what, std::string_view argument) {
        std::fprintf(err, "%.*s: %s '%.*s'\nTry '%.*s --help' for more information.\n",
                     static_cast<int>(program.size()), program.data(), what,
                     static_cast<int>(argument.size()), argument.data(),
                     static_cast<int>(program.size()), program.data());
        return exitWith(2);
    };
    CommandLine request;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            printHelp(out, program, summary, reportTo);
            return exitWith(0);
        }
        if (argument == "--version" || argument == "-v") {
            std::fprintf(out, "%.*s %.*s\n", static_cast<int>(identity.name.size()),
                         identity.name.data(), static_cast<int>(identity.version.size()),
                         identity.version.data());
            return exitWith(0);
        }
        if (argument == "--self-test") {
            request.selfTest = true;
            continue;
        }
        if (argument == "--report" || argument.starts_with("--report=")) {
            if (argument == "--report" && ++i == argc) {
                return fail("missing value after", argument);
            }
            request.reportFile =
                argument == "--report" ? std::string(argv[i]) : std::string(argument.substr(9));
            if (request.reportFile.empty()) {
                return fail("no file name given to", "--report");
            }
            continue;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            return fail("unexpected argument", argument);
        }
        // Like Qt, take --name for -name.
        std::string_view name = argument.starts_with("--") ? argument.substr(1) : argument;
        if (name.starts_with("-style=")) {
            continue;
        }
        const auto* option =
            std::find_if(kToolkitOptions.begin(), kToolkitOptions.end(),
                         [&](const ToolkitOption& known) { return known.name == name; });
        if (option == kToolkitOptions.end()) {
            return fail("unknown option", argument);
        }
        if (!option->value.empty() && ++i == argc) {
            return fail("missing value after", argument);
        }
    }
    if (!request.reportFile.empty() && !request.selfTest) {
        return fail("only with --self-test:", "--report");
    }
    return request;
}

}  // namespace velunor::platform
