#include "selftest/cases_check.h"

#include <array>

#include "ui/crcl_table.h"
#include "ui/crcl_window.h"
#include "ui/texts.h"

namespace velunor::selftest {

namespace {

std::string shownInWindow(core::OutcomeKind kind, std::string_view text) {
    switch (kind) {
        case core::OutcomeKind::Result:
            return std::string(text);
        case core::OutcomeKind::InvalidFields:
            return std::string(kFieldsWarning);
        case core::OutcomeKind::FloatingPointError:
            return std::string(kRangeWarning);
    }
    return "unknown";
}

// As the calculation states it: the window's wording, with the kind of
// floating-point error that only the calculation knows.
std::string stated(core::OutcomeKind kind, std::string_view text, core::FpError error) {
    static constexpr std::array<std::string_view, 4> kErrorNames = {
        "none", "overflow", "division by zero", "invalid operation"};
    std::string shown = shownInWindow(kind, text);
    if (kind == core::OutcomeKind::FloatingPointError) {
        shown += " (" + std::string(kErrorNames.at(static_cast<std::size_t>(error))) + ')';
    }
    return shown;
}

// The message as the report names it; one the window should never show, in full.
std::string messageName(std::string_view message) {
    if (message == ui::kInvalidFieldsMessage) {
        return std::string(kFieldsWarning);
    }
    if (message == ui::kOutOfRangeMessage) {
        return std::string(kRangeWarning);
    }
    return "message \"" + std::string(message) + '"';
}

// Fields typed, units chosen, the result box empty as entering a field leaves
// it, then Calculate; what the result box holds and any message shown.
std::string calculateInWindow(platform::Form& form, const core::ReferenceCase& c) {
    for (std::size_t i = 0; i < ui::kFieldBoxes.size(); ++i) {
        form.setText(ui::kFieldBoxes[i], c.fields[i]);
    }
    form.choose(c.heightInInches ? "OptIn" : "OptCm");
    form.choose(c.weightInPounds ? "OptLb" : "OptKg");
    form.setCaption("LblCrCl", "");
    std::vector<std::string> messages;
    form.routeMessages([&messages](std::string_view text) { messages.emplace_back(text); });
    form.click("CmdCalc");
    form.routeMessages({});

    std::string shown = form.caption("LblCrCl");
    for (const std::string& message : messages) {
        shown += (shown.empty() ? "" : " and ") + messageName(message);
    }
    return shown.empty() ? "nothing" : shown;
}

}  // namespace

std::vector<CaseRun> runCases(std::span<const core::ReferenceCase> cases) {
    ui::CrClWindow window(ui::CrClWindow::Start::Hidden);
    std::vector<CaseRun> runs;
    for (const core::ReferenceCase& c : cases) {
        const core::Outcome outcome = core::evaluate(c);
        CaseRun run{c,
                    stated(c.kind, c.text, c.error),
                    stated(outcome.kind, outcome.text, outcome.error),
                    calculateInWindow(window.form(), c),
                    core::matches(c, outcome),
                    false};
        run.windowPasses = run.window == shownInWindow(c.kind, c.text);
        runs.push_back(std::move(run));
    }
    return runs;
}

}  // namespace velunor::selftest
