#include "selftest/files_check.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

#include "platform/runtime_facts.h"

namespace velunor::selftest {

namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string sha256;
    std::string path;
};

fs::path fromUtf8(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string toUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

// A path inside the root: relative, '/' between names, no "." or "..", no drive.
bool staysInside(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.find_first_of("\\:") != path.npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, end - start);
        if (name.empty() || name == "." || name == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// A line as sha256sum writes it: 64 hexadecimal digits, a space, a space or
// '*', and the path.
std::optional<Entry> parseLine(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.size() < 67 || line[64] != ' ' || (line[65] != ' ' && line[65] != '*')) {
        return std::nullopt;
    }
    std::string sha256(line.substr(0, 64));
    for (char& c : sha256) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return std::nullopt;
        }
    }
    const std::string_view path = line.substr(66);
    if (!staysInside(path)) {
        return std::nullopt;
    }
    return Entry{std::move(sha256), std::string(path)};
}

FileState stateOf(const fs::path& file, const std::string& expected) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return FileState::Missing;
    }
    const std::optional<std::string> actual = platform::sha256Hex(file);
    if (!actual) {
        return FileState::Unreadable;
    }
    return *actual == expected ? FileState::Intact : FileState::Changed;
}

}  // namespace

FilesCheck checkFiles(const platform::InstalledLayout& layout) {
    FilesCheck check{FilesCheck::Outcome::Checked, layout.list, {}, {}};
    std::error_code error;
    if (!fs::exists(layout.list, error)) {
        if (fs::exists(layout.buildTreeMark, error)) {
            check.outcome = FilesCheck::Outcome::BuildTree;
        } else {
            check.outcome = layout.listShipped ? FilesCheck::Outcome::NoList
                                               : FilesCheck::Outcome::PackageManager;
        }
        return check;
    }
    std::ifstream in(layout.list, std::ios::binary);
    std::vector<Entry> entries;
    std::set<std::string> listed;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::optional<Entry> entry = parseLine(line);
        if (!entry || !listed.insert(entry->path).second) {
            check.outcome = FilesCheck::Outcome::Broken;
            check.problem = "line " + std::to_string(number) + " is not a SHA-256 and a path " +
                            "of its own within the program's files";
            return check;
        }
        entries.push_back(std::move(*entry));
    }
    if (!in.eof() || entries.empty()) {
        check.outcome = FilesCheck::Outcome::Broken;
        check.problem = entries.empty() ? "it names no file" : "it cannot be read";
        return check;
    }
    for (const Entry& entry : entries) {
        check.files.push_back(
            {entry.path, stateOf(layout.root / fromUtf8(entry.path), entry.sha256)});
    }
    if (layout.ownsRoot) {
        std::vector<std::string> strays;
        for (fs::recursive_directory_iterator it(layout.root, error), end; !error && it != end;
             it.increment(error)) {
            const std::string path = toUtf8(it->path().lexically_relative(layout.root));
            if (!it->is_directory(error) && it->path() != layout.list && !listed.contains(path)) {
                strays.push_back(path);
            }
        }
        std::sort(strays.begin(), strays.end());
        for (std::string& path : strays) {
            check.files.push_back({std::move(path), FileState::Unexpected});
        }
        if (error) {
            check.outcome = FilesCheck::Outcome::Broken;
            check.problem = "the program folder cannot be read: " + error.message();
        }
    }
    return check;
}

bool passed(const FilesCheck& check) {
    if (check.outcome == FilesCheck::Outcome::BuildTree ||
        check.outcome == FilesCheck::Outcome::PackageManager) {
        return true;
    }
    return check.outcome == FilesCheck::Outcome::Checked &&
           std::all_of(check.files.begin(), check.files.end(),
                       [](const FileResult& file) { return file.state == FileState::Intact; });
}

}  // namespace velunor::selftest
