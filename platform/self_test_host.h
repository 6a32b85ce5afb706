#pragma once

// What the self-test asks of the operating system, which differs between
// Linux and Windows: how its window stays unseen, where an installed copy
// keeps its files and their list, and where the report reaches the user.

#include <filesystem>
#include <string_view>

namespace velunor::platform {

// Before the Application: on Linux the offscreen platform, so no display is
// needed; on Windows the real one, whose plugin the self-test proves, with the
// window never shown.
void useUnseenPlatform();

struct InstalledLayout {
    std::filesystem::path root;  // the list's paths are relative to it
    std::filesystem::path list;  // SHA-256 and path of every installed file
    // Any file under root that the list does not name is a fault; where the
    // root is shared with other packages (/usr), nobody knows what belongs there.
    bool ownsRoot;
    // Present beside a program that runs from its build tree, which has no list.
    std::filesystem::path buildTreeMark;
    // Velunor's own packages ship the list; a distribution's own build ships
    // none, as the distribution strips and compresses after installing, and its
    // package manager keeps the files' sums instead.
    bool listShipped = true;
};

InstalledLayout installedLayout(const std::filesystem::path& programFile);

// Writes to the terminal or console the program was started from, or to where
// its output is redirected; false when there is none (a Windows program
// started from Explorer or a shortcut).
bool writeToConsole(std::string_view text);

// The summary for a user without a console: a message box titled `title` on
// Windows; on Linux the terminal's error output.
void showSummary(std::string_view title, std::string_view summary, bool passed);

}  // namespace velunor::platform
