#include "selftest/report.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "ui/texts.h"

namespace velunor::selftest {

namespace {

const char* verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

std::string fileState(FileState state) {
    switch (state) {
        case FileState::Intact:
            return "intact";
        case FileState::Changed:
            return "changed: its SHA-256 differs from the list's";
        case FileState::Missing:
            return "missing";
        case FileState::Unreadable:
            return "cannot be read";
        case FileState::Unexpected:
            return "unexpected: not in the list";
    }
    return "unknown";
}

std::string listName(const FilesCheck& files) {
    // Each system's own separators: Qt gives Windows paths with forward slashes.
    const std::u8string name = std::filesystem::path(files.list).make_preferred().u8string();
    return std::string(name.begin(), name.end());
}

std::string filesSection(const FilesCheck& files) {
    std::string text = "Installation check\n";
    switch (files.outcome) {
        case FilesCheck::Outcome::BuildTree:
            return text + "NOT RUN  this program runs from its build tree, which has no list of " +
                   "installed files (" + listName(files) + ")\n";
        case FilesCheck::Outcome::PackageManager:
            return text + "NOT RUN  this build of a distribution ships no list of installed " +
                   "files; its package manager checks them (dpkg --verify velunor, rpm -V " +
                   "velunor)\n";
        case FilesCheck::Outcome::NoList:
            return text + "FAIL  the list of installed files is missing: " + listName(files) + '\n';
        case FilesCheck::Outcome::Broken:
            return text + "FAIL  the list of installed files, " + listName(files) +
                   ", is unusable: " + files.problem + '\n';
        case FilesCheck::Outcome::Checked:
            break;
    }
    text += "List: " + listName(files) + '\n';
    for (const FileResult& file : files.files) {
        text += std::string(verdict(file.state == FileState::Intact)) + "  " + file.path + ": " +
                fileState(file.state) + '\n';
    }
    return text;
}

std::string fieldsOf(const core::ReferenceCase& c) {
    static constexpr std::array<const char*, 6> kAfter = {"", "", "", "", " in", " lb"};
    std::string text;
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        const char* unit = kAfter[i];
        if (i == 4 && !c.heightInInches) {
            unit = " cm";
        }
        if (i == 5 && !c.weightInPounds) {
            unit = " kg";
        }
        text += (i == 0 ? "\"" : " \"") + std::string(c.fields[i]) + '"' + unit;
    }
    return text;
}

std::string casesSection(const std::vector<CaseRun>& cases) {
    std::string text =
        "Operational check\n"
        "Fields: urine creatinine mg/dL, serum creatinine mg/dL, urine volume mL, collection "
        "time h, height, weight\n" +
        std::string(kFieldsWarning) + " = the message \"" + std::string(ui::kInvalidFieldsMessage) +
        "\"\n" + std::string(kRangeWarning) + " = the message \"" +
        std::string(ui::kOutOfRangeMessage) + "\"\n";
    for (const CaseRun& run : cases) {
        text += std::string(verdict(run.calculationPasses && run.windowPasses)) + "  " +
                std::string(run.reference.name) + ": " + fieldsOf(run.reference) + "; expected " +
                run.expected + "; calculation " + run.calculation + " (" +
                verdict(run.calculationPasses) + "); window " + run.window + " (" +
                verdict(run.windowPasses) + ")\n";
    }
    return text;
}

std::size_t casesPassing(const Findings& findings) {
    return static_cast<std::size_t>(std::count_if(
        findings.cases.begin(), findings.cases.end(),
        [](const CaseRun& run) { return run.calculationPasses && run.windowPasses; }));
}

}  // namespace

bool passed(const Findings& findings) {
    return passed(findings.files) && casesPassing(findings) == findings.cases.size();
}

std::string summaryLine(const Findings& findings) {
    std::string files;
    switch (findings.files.outcome) {
        case FilesCheck::Outcome::BuildTree:
            files = "installed files not checked (build tree)";
            break;
        case FilesCheck::Outcome::PackageManager:
            files = "installed files left to the package manager";
            break;
        case FilesCheck::Outcome::NoList:
        case FilesCheck::Outcome::Broken:
            files = "no usable list of installed files";
            break;
        case FilesCheck::Outcome::Checked: {
            const auto intact = std::count_if(
                findings.files.files.begin(), findings.files.files.end(),
                [](const FileResult& file) { return file.state == FileState::Intact; });
            files = std::to_string(intact) + " of " + std::to_string(findings.files.files.size()) +
                    " files intact";
            break;
        }
    }
    return "Summary: " + std::string(verdict(passed(findings))) + ", " + findings.program + ": " +
           files + ", " + std::to_string(casesPassing(findings)) + " of " +
           std::to_string(findings.cases.size()) +
           " reference cases right in the calculation and the window";
}

std::string reportText(const Findings& findings) {
    const platform::RuntimeFacts& runtime = findings.runtime;
    const std::u8string programFile =
        std::filesystem::path(runtime.programFile).make_preferred().u8string();
    return "Velunor self-test\n"
           "Program: " +
           findings.program + ", build " + findings.build +
           "\n"
           "Program file: " +
           std::string(programFile.begin(), programFile.end()) +
           "\n"
           "System: " +
           runtime.system +
           "\n"
           "Toolkit: " +
           runtime.toolkit +
           "\n"
           "Locale: " +
           runtime.locale +
           "\n"
           "Date and time: " +
           runtime.dateTime + "\n\n" + filesSection(findings.files) + '\n' +
           casesSection(findings.cases) + '\n' + summaryLine(findings) + '\n';
}

}  // namespace velunor::selftest
