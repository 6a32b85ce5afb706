#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "selftest/files_check.h"
#include "selftest/self_test.h"

namespace {

namespace fs = std::filesystem;
using velunor::selftest::FilesCheck;
using velunor::selftest::FileState;
using Outcome = FilesCheck::Outcome;

// SHA-256 of the texts "one" and "two".
constexpr const char* kOne = "7692c3ad3540bb803c020b3aee66cd8887123234ea0c6e7143c0add73ff431ed";
constexpr const char* kTwo = "3fc4ccfe745870e2c0d99f71f30ff0656c8dedd41cc1d7d3d376b0dbe685e2f3";

// A folder of its own for each test, gone afterwards.
class Scratch {
public:
    Scratch()
        : path_(fs::temp_directory_path() /
                ("velunor-self-test-" + std::to_string(std::random_device()()))) {
        fs::create_directories(path_);
    }
    ~Scratch() { fs::remove_all(path_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const fs::path& path() const { return path_; }
    void write(const std::string& name, const std::string& content) const {
        const fs::path file = path_ / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(path_ / name, std::ios::binary).rdbuf();
        return text.str();
    }

private:
    fs::path path_;
};

struct FilesCase {
    const char* name;
    std::map<std::string, std::string> files;  // on disk, the list "LIST" among them
    bool ownsRoot;
    Outcome outcome;
    std::vector<std::pair<std::string, FileState>> states;
    bool passes;
    bool listShipped = true;
};

void PrintTo(const FilesCase& c, std::ostream* os) {
    *os << c.name;
}

std::string line(const char* sha256, const char* path) {
    return std::string(sha256) + "  " + path + "\n";
}

class CheckFiles : public testing::TestWithParam<FilesCase> {};

TEST_P(CheckFiles, NamesEachFileItsState) {
    const FilesCase& c = GetParam();
    const Scratch root;
    for (const auto& [name, content] : c.files) {
        root.write(name, content);
    }
    const FilesCheck check = velunor::selftest::checkFiles(
        {root.path(), root.path() / "LIST", c.ownsRoot, root.path() / "MARK", c.listShipped});
    EXPECT_EQ(check.outcome, c.outcome) << check.problem;
    std::vector<std::pair<std::string, FileState>> states;
    for (const auto& file : check.files) {
        states.emplace_back(file.path, file.state);
    }
    EXPECT_EQ(states, c.states);
    EXPECT_EQ(velunor::selftest::passed(check), c.passes);
}

const std::string kBoth = line(kOne, "bin/one") + line(kTwo, "share/two");

INSTANTIATE_TEST_SUITE_P(
    Lists, CheckFiles,
    testing::Values(
        FilesCase{"intact",
                  {{"LIST", kBoth}, {"bin/one", "one"}, {"share/two", "two"}, {"stray", "x"}},
                  false,
                  Outcome::Checked,
                  {{"bin/one", FileState::Intact}, {"share/two", FileState::Intact}},
                  true},
        FilesCase{"changed_and_missing",
                  {{"LIST", kBoth}, {"bin/one", "one!"}},
                  false,
                  Outcome::Checked,
                  {{"bin/one", FileState::Changed}, {"share/two", FileState::Missing}},
                  false},
        FilesCase{"strays_where_the_folder_is_the_program_s",
                  {{"LIST", kBoth},
                   {"bin/one", "one"},
                   {"share/two", "two"},
                   {"share/extra/three", "3"},
                   {"MARK", ""}},
                  true,
                  Outcome::Checked,
                  {{"bin/one", FileState::Intact},
                   {"share/two", FileState::Intact},
                   {"MARK", FileState::Unexpected},
                   {"share/extra/three", FileState::Unexpected}},
                  false},
        FilesCase{
            "as_sha256sum_b_writes_it_on_windows",
            {{"LIST", "7692C3AD3540BB803C020B3AEE66CD8887123234EA0C6E7143C0ADD73FF431ED *one\r\n"},
             {"one", "one"}},
            true,
            Outcome::Checked,
            {{"one", FileState::Intact}},
            true},
        FilesCase{"build_tree", {{"MARK", ""}}, false, Outcome::BuildTree, {}, true},
        FilesCase{"list_deleted", {{"bin/one", "one"}}, false, Outcome::NoList, {}, false},
        FilesCase{"distribution_build",
                  {{"bin/one", "one"}},
                  false,
                  Outcome::PackageManager,
                  {},
                  true,
                  false},
        FilesCase{"path_out_of_the_folder",
                  {{"LIST", kBoth + line(kOne, "bin/../../one")}},
                  false,
                  Outcome::Broken,
                  {},
                  false},
        FilesCase{"not_a_sha256", {{"LIST", "one  bin/one\n"}}, false, Outcome::Broken, {}, false},
        FilesCase{"empty_list", {{"LIST", ""}}, false, Outcome::Broken, {}, false}),
    [](const testing::TestParamInfo<FilesCase>& info) { return info.param.name; });

// A case whose expected text is changed fails its own row, in the calculation
// and in the window, while the rest pass; and the run ends with status 1.
TEST(SelfTest, ChangedExpectationFailsItsRow) {
    const velunor::core::ReferenceCase right = velunor::core::referenceCases().front();
    velunor::core::ReferenceCase changed = right;
    changed.name = "changed_expectation";
    changed.text = "50.1";
    const std::array cases = {right, changed};
    const Scratch scratch;
    velunor::selftest::Options options;
    options.reportFile = (scratch.path() / "report.txt").string();
    options.cases = cases;
    static char program[] = "self_test_tests";
    char* argv[] = {program, nullptr};
    int argc = 1;

    EXPECT_EQ(velunor::selftest::run(argc, argv, {"Velunor", "1.00", "Company", ""}, options), 1);
    const std::string report = scratch.read("report.txt");
    EXPECT_NE(report.find("\nPASS  start_up: \"55\" \"1.0\" \"1500\" \"24\" \"69\" in \"175\" lb; "
                          "expected 50.0; calculation 50.0 (PASS); window 50.0 (PASS)\n"),
              std::string::npos)
        << report;
    EXPECT_NE(
        report.find("\nFAIL  changed_expectation: \"55\" \"1.0\" \"1500\" \"24\" \"69\" in "
                    "\"175\" lb; expected 50.1; calculation 50.0 (FAIL); window 50.0 (FAIL)\n"),
        std::string::npos)
        << report;
    EXPECT_NE(report.find("\nSummary: FAIL, Velunor 1.00: "), std::string::npos) << report;
    // The toolkit line names the style the window was drawn in.
    EXPECT_EQ(report.find(", style none)"), std::string::npos) << report;
}

}  // namespace
