#include "platform/self_test_host.h"

#include <QByteArray>

#include <cstdio>

namespace velunor::platform {

void useUnseenPlatform() {
    // The command line's -platform still wins, as Qt reads it after this.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
}

// Installed as Debian installs it: the program in <root>/bin, the list among
// the shared data, and the root shared with every other package.
InstalledLayout installedLayout(const std::filesystem::path& programFile) {
    const std::filesystem::path root = programFile.parent_path().parent_path();
    return {root, root / "share/velunor/SHA256SUMS", false,
            programFile.parent_path() / "velunor-build-tree.txt"};
}

bool writeToConsole(std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

void showSummary(std::string_view /*title*/, std::string_view summary, bool /*passed*/) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(summary.size()), summary.data());
}

}  // namespace velunor::platform
