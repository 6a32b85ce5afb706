#include "platform/self_test_host.h"

#include <windows.h>

#include <string>

namespace velunor::platform {

namespace {

std::wstring wide(std::string_view utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

bool writeTo(HANDLE out, std::string_view text) {
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        // A console shows UTF-16 whatever its code page, and breaks lines at CR LF.
        std::wstring lines;
        for (const wchar_t c : wide(text)) {
            if (c == L'\n') {
                lines += L'\r';
            }
            lines += c;
        }
        return WriteConsoleW(out, lines.data(), static_cast<DWORD>(lines.size()), &written,
                             nullptr) != 0;
    }
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
           written == text.size();
}

}  // namespace

void useUnseenPlatform() {}

// The program folder holds the program, its DLLs and plugins, and the list;
// nothing else belongs there.
InstalledLayout installedLayout(const std::filesystem::path& programFile) {
    const std::filesystem::path root = programFile.parent_path();
    return {root, root / "SHA256SUMS", true, root / "velunor-build-tree.txt"};
}

bool writeToConsole(std::string_view text) {
    // A GUI program's standard output works when it is redirected (to a file
    // or a pipe); otherwise it borrows the console of whoever started it.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
        writeTo(out, text)) {
        return true;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    return console != INVALID_HANDLE_VALUE && writeTo(console, text);
}

void showSummary(std::string_view title, std::string_view summary, bool passed) {
    MessageBoxW(nullptr, wide(summary).c_str(), wide(title).c_str(),
                MB_OK | (passed ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace velunor::platform
