// Starts Velunor.exe with the recording UI Automation core in place, asks its
// window for its UI Automation root as a screen reader does first, presses
// Enter and closes the window; then reads the record: one notification with
// the result's words from the result box, the focus where Enter left it, and
// every text box's value whole.
// Usage: uia_check VELUNOR.EXE LOG

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr LPARAM kUiaRootObjectId = -25;
constexpr DWORD kPatience = 60000;  // ms: start-up of a Qt program under Wine on a loaded machine

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

std::string readAll(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> linesStarting(const std::string& log, const std::string& start) {
    std::vector<std::string> found;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(start, 0) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

// The build hands over paths of its own file system, which Wine shows as Z:.
std::string windowsPath(std::string path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return "Z:" + path;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Whether a recorded line is of the control with this object name. Qt 6.8 gives
// an element the object names of its parents too ("QApplication.CrCl.QWidget.LblCrCl").
bool of(const std::string& line, const std::string& control) {
    const auto at = line.find("id=");
    if (at == std::string::npos) {
        return false;
    }
    const std::string id = line.substr(at + 3, line.find(' ', at) - at - 3);
    return id == control ||
           (id.size() > control.size() &&
            id.compare(id.size() - control.size() - 1, std::string::npos, '.' + control) == 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: uia_check VELUNOR.EXE LOG\n");
        return 2;
    }
    const std::string programPath = windowsPath(argv[1]);
    const std::string logPath = windowsPath(argv[2]);
    const char* log = logPath.c_str();
    DeleteFileA(log);
    SetEnvironmentVariableA("VELUNOR_UIA_LOG", log);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program{};
    std::string command = "\"" + programPath + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program)) {
        std::printf("FAIL: cannot start %s (%lu)\n", programPath.c_str(), GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (DWORD waited = 0; waited < kPatience && window == nullptr; waited += 100) {
        if (WaitForSingleObject(program.hProcess, 100) == WAIT_OBJECT_0) {
            break;
        }
        HWND found = FindWindowA(nullptr, "Creatinine Clearance Calculator");
        window = found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }
    if (window == nullptr) {
        std::printf("FAIL: the window never showed\n");
        TerminateProcess(program.hProcess, 1);
        return 1;
    }
    // A screen reader's first question; Qt's bridge is off until it comes.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_GETOBJECT, 0, kUiaRootObjectId, SMTO_BLOCK, kPatience, &answer);
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(window, WM_KEYUP, VK_RETURN, 0xC01C0001);
    // Every event Qt raises for Enter is in the record once a message sent
    // after the keys has been answered: they are handled in order.
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kPatience, &answer);
    PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(program.hProcess, kPatience) == WAIT_OBJECT_0;
    check(ended, "Velunor.exe ended when its window was closed");
    if (!ended) {
        TerminateProcess(program.hProcess, 1);
    }

    const std::string record = readAll(log);
    std::printf("--- what Qt raised ---\n%s----------------------\n", record.c_str());
    check(!linesStarting(record, "root ").empty(), "the window answered with its root element");
    const auto told = linesStarting(record, "notification ");
    check(told.size() == 1, "exactly one notification (" + std::to_string(told.size()) + ")");
    if (!told.empty()) {
        check(contains(told[0], "\"Creatinine Clearance, mL/min 50.0\""), "it says the result");
        check(of(told[0], "LblCrCl") && contains(told[0], "type=50020"),
              "it comes from the result box, a text element");
    }
    const auto focus = linesStarting(record, "focus ");
    check(!focus.empty() && of(focus[0], "TxtUCr"), "the focus stayed in TxtUCr");
    constexpr const char* kFocusChanged = "event 20005 ";
    const auto after = record.find("notification ");
    check(after != std::string::npos && record.find(kFocusChanged, after) == std::string::npos,
          "and did not move after");
    const char* boxes[][2] = {{"TxtUCr", "55"},  {"TxtSCr", "1.0"}, {"TxtUVol", "1500"},
                              {"TxtTime", "24"}, {"TxtHt", "69"},   {"TxtWt", "175"}};
    const auto read = linesStarting(record, "box ");
    for (const auto& [name, value] : boxes) {
        const std::string whole = std::string(" value=\"") + value + "\" text=\"" + value + "\"";
        check(std::any_of(
                  read.begin(), read.end(),
                  [&](const std::string& line) { return of(line, name) && contains(line, whole); }),
              std::string("box ") + name + whole);
    }
    return failures == 0 ? 0 : 1;
}
