#pragma once

// The calculator's window: start-up and the handlers of its controls. The
// arithmetic lives in the core; this only reads the fields and shows outcomes.

#include <string_view>

#include "platform/form.h"

namespace velunor::ui {

class CrClWindow {
public:
    enum class Start { Shown, Hidden };

    // Creates the window, runs its Load and shows it with the focus in the
    // urine creatinine box; Hidden leaves it unshown, for the self-test.
    explicit CrClWindow(Start start = Start::Shown);

    // Its controls as the forms runtime holds them, for a caller that acts as the user.
    platform::Form& form() { return form_; }

private:
    void load();
    void calculateClearance();
    void enterField(std::string_view box);
    void clearResult();

    platform::Form form_;
};

// Where a window of the given outer extent starts so that it is centred on the
// screen, twips; never above or left of the screen, so its title bar stays
// within reach on a screen smaller than the window.
float centredStart(float screenExtent, float windowExtent);

}  // namespace velunor::ui
