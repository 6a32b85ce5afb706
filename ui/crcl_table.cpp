#include "ui/crcl_table.h"

namespace velunor::ui {

namespace {

using platform::ControlRow;
using platform::LabelRow;
using platform::MenuRow;
using platform::Naming;
using enum platform::ControlKind;
using enum platform::Style;

// Positions and sizes in twips; inside a frame, from the frame's top-left corner.
// clang-format off
constexpr ControlRow kControls[] = {
    // name, kind, container, caption or text, left, top, width, height, tab index, style
    {"TxtUCr", TextBox, "", "55", 240, 120, 855, 285, 0, CentreText},
    {"TxtSCr", TextBox, "", "1.0", 240, 480, 855, 285, 1, CentreText},
    {"TxtUVol", TextBox, "", "1500", 240, 840, 855, 285, 2, CentreText},
    {"TxtTime", TextBox, "", "24", 240, 1200, 855, 285, 3, CentreText},
    {"TxtHt", TextBox, "", "69", 240, 1845, 855, 285, 4, CentreText},
    {"TxtWt", TextBox, "", "175", 240, 2805, 855, 285, 7, CentreText},
    {"LblCrCl", Label, "", "", 240, 3480, 855, 285, 25, CentreText | BorderSingle | BlackOnWhite | CopyMenu | Announced},
    {"Label1", Label, "", "Urine creatinine, mg/dL", 1320, 165, 1665, 195, 14, AutoSize},
    {"Label2", Label, "", "Serum creatinine, mg/dL", 1320, 525, 1740, 195, 15, AutoSize},
    {"Label3", Label, "", "Urine volume, mL", 1320, 885, 1230, 195, 16, AutoSize},
    {"Label4", Label, "", "Time of collection, hrs", 1320, 1245, 1545, 195, 17, AutoSize},
    {"FrameHt", Frame, "", "Height", 1320, 1560, 1095, 855, 5},
    {"OptIn", OptionButton, "FrameHt", "Option1", 240, 240, 255, 195, 18, Selected},
    {"OptCm", OptionButton, "FrameHt", "Option2", 240, 480, 255, 195, 6},
    {"LblIn", Label, "FrameHt", "in", 600, 240, 120, 195, 19, AutoSize},
    {"LblCm", Label, "FrameHt", "cm", 600, 480, 210, 195, 20, AutoSize},
    {"FrameWt", Frame, "", "Weight", 1320, 2520, 1095, 855, 21},
    {"OptLb", OptionButton, "FrameWt", "Option3", 240, 240, 255, 195, 8, Selected},
    {"OptKg", OptionButton, "FrameWt", "Option4", 240, 480, 255, 195, 9},
    {"LblLb", Label, "FrameWt", "lb", 600, 240, 120, 195, 22, AutoSize},
    {"LblKg", Label, "FrameWt", "kg", 600, 480, 180, 195, 23, AutoSize},
    {"Label9", Label, "", "Creatinine Clearance, mL/min", 1320, 3525, 2085, 195, 24, AutoSize},
    {"CmdCalc", CommandButton, "", "Calculate", 360, 3960, 1095, 375, 10, DefaultButton},
    {"CmdExit", CommandButton, "", "Exit", 1680, 3960, 1095, 375, 11},
    {"PicOrvaleLogo", PictureBox, "", ":/velunor/logo.png", 3960, 555, 2535, 1155, 12, AutoSize},
    {"LblOrvaleAddr", Label, "", "Label1", 4920, 1965, 570, 225, 13, AutoSize | CentreText, {"Arial", 9}},
};
// clang-format on

constexpr MenuRow kMenus[] = {
    {"MnuHelp", "", "Help"},
    {"MnuHelpHelp", "MnuHelp", "Help"},
    {"MnuHelpAbout", "MnuHelp", "About"},
};

// What a screen reader announces for each box, unit marker and the logo,
// which is a tab stop.
constexpr LabelRow kLabels[] = {
    {"TxtUCr", "Label1"},
    {"TxtSCr", "Label2"},
    {"TxtUVol", "Label3"},
    {"TxtTime", "Label4"},
    {"TxtHt", "FrameHt"},
    {"TxtWt", "FrameWt"},
    {"OptIn", "LblIn"},
    {"OptCm", "LblCm"},
    {"OptLb", "LblLb"},
    {"OptKg", "LblKg"},
    {"LblCrCl", "Label9", Naming::Description},
    {"PicOrvaleLogo", "Orvale logo", Naming::Literal},
};

}  // namespace

const platform::FormTable kCrClTable = {
    .name = "CrCl",
    .caption = "Creatinine Clearance Calculator",
    .messageTitle = "Velunor",
    .icon = ":/velunor/icon.png",
    .clientWidth = 7965,
    .clientHeight = 4695,
    .controls = kControls,
    .menus = kMenus,
    .labels = kLabels,
};

}  // namespace velunor::ui
