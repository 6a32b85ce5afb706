#include "ui/crcl_window.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/clearance.h"
#include "platform/application.h"
#include "ui/crcl_table.h"
#include "ui/texts.h"

namespace velunor::ui {

float centredStart(float screenExtent, float windowExtent) {
    return std::max(0.0f, (screenExtent - windowExtent) / 2.0f);
}

CrClWindow::CrClWindow(Start start) : form_(kCrClTable) {
    for (const std::string_view box : kFieldBoxes) {
        form_.onGotFocus(box, [this, box] { enterField(box); });
    }
    for (const std::string_view option : kUnitOptions) {
        form_.onGotFocus(option, [this] { clearResult(); });
    }
    form_.onClick("CmdCalc", [this] { calculateClearance(); });
    form_.onClick("CmdExit", [this] { form_.end(); });
    form_.onClick("MnuHelpHelp", [this] { form_.messageBox(helpText()); });
    form_.onClick("MnuHelpAbout", [this] { form_.messageBox(aboutText()); });
    load();
    if (start == Start::Shown) {
        form_.show();
    }
}

void CrClWindow::load() {
    const platform::Extent screen = platform::screenSize();
    const platform::Extent window = form_.outerSize();
    form_.moveTo(centredStart(screen.width, window.width),
                 centredStart(screen.height, window.height));
    form_.setCaption("LblOrvaleAddr", contactBlock(platform::currentYear()));
}

void CrClWindow::calculateClearance() {
    std::array<std::string, kFieldBoxes.size()> texts;
    std::transform(kFieldBoxes.begin(), kFieldBoxes.end(), texts.begin(),
                   [this](std::string_view box) { return form_.text(box); });
    const core::Outcome outcome =
        core::evaluateClearance(texts, form_.value("OptIn"), form_.value("OptLb"));
    switch (outcome.kind) {
        case core::OutcomeKind::InvalidFields:
            form_.messageBox(kInvalidFieldsMessage);
            break;
        case core::OutcomeKind::FloatingPointError:
            form_.messageBox(kOutOfRangeMessage);
            break;
        case core::OutcomeKind::Result:
            form_.setCaption("LblCrCl", outcome.text);
            break;
    }
}

// Selecting the whole text lets the next keystroke replace the old value.
void CrClWindow::enterField(std::string_view box) {
    form_.selectAll(box);
    clearResult();
}

void CrClWindow::clearResult() {
    form_.setCaption("LblCrCl", "");
}

}  // namespace velunor::ui
