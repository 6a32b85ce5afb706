#pragma once

// The installation check: each file an installed copy holds, hashed and
// compared with the list its build shipped beside it.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/self_test_host.h"

namespace velunor::selftest {

enum class FileState { Intact, Changed, Missing, Unreadable, Unexpected };

struct FileResult {
    std::string path;  // UTF-8, relative to the root, with '/'
    FileState state;
};

struct FilesCheck {
    enum class Outcome {
        Checked,         // the list was read; each file's state is in `files`
        BuildTree,       // a program in its build tree, which has no list: nothing to check
        NoList,          // an installed copy whose list is gone
        PackageManager,  // a distribution's own build: its package manager checks the files
        Broken,  // the list or the folder cannot be read, or a line of the list is malformed
    };
    Outcome outcome;
    std::filesystem::path list;
    std::vector<FileResult> files;  // in list order, then those the list does not name
    std::string problem;            // for Broken: what is wrong
};

FilesCheck checkFiles(const platform::InstalledLayout& layout);

// Checked with every file intact, a build tree, or a distribution's build.
bool passed(const FilesCheck& check);

}  // namespace velunor::selftest
