#pragma once

// A window described as data, the way a forms designer stores it: one row per
// control, positions and sizes in twips (1/1440 inch, 15 per pixel at 96 dpi).

#include <span>
#include <string_view>

namespace velunor::platform {

enum class ControlKind {
    TextBox,
    Label,
    Frame,
    OptionButton,
    CommandButton,
    PictureBox,
};

// What a control sets beyond the defaults of its kind; combine with |.
enum class Style : unsigned {
    Plain = 0,
    AutoSize = 1u << 0,       // a label or picture box sizes itself to its content
    CentreText = 1u << 1,     // an auto-sized label then grows about its centre
    Selected = 1u << 2,       // the option button chosen at start
    DefaultButton = 1u << 3,  // Enter clicks it unless another command button has the focus
    BorderSingle = 1u << 4,
    BlackOnWhite = 1u << 5,  // keeps dark text on white under any desktop palette
    CopyMenu = 1u << 6,      // a label whose right-click offers Copy of what it shows
    Announced = 1u << 7,     // screen readers speak a label's new caption, wherever the focus is
};

constexpr Style operator|(Style a, Style b) {
    return static_cast<Style>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool has(Style set, Style flag) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

struct Font {
    std::string_view family;  // empty: the window's font, which follows the desktop's
    int pointSize = 0;
};

struct ControlRow {
    std::string_view name;
    ControlKind kind;
    std::string_view container;  // a frame's name, or empty for the window itself
    std::string_view caption;    // caption or text; for a picture box, its image resource
    int left;                    // twips, from the container's top-left corner
    int top;
    int width;
    int height;
    int tabIndex;
    Style style = Style::Plain;
    Font font = {};
};

// A menu on the menu bar (empty menu) or an item of the named menu.
struct MenuRow {
    std::string_view name;
    std::string_view menu;
    std::string_view caption;
};

enum class Naming {
    Name,         // the label's caption is the control's accessible name
    Description,  // ... its accessible description
    Literal,      // no label: the text in its place is the accessible name
};

// Which label tells assistive technology what a control is.
struct LabelRow {
    std::string_view control;
    std::string_view label;
    Naming naming = Naming::Name;
};

struct FormTable {
    std::string_view name;
    std::string_view caption;
    std::string_view messageTitle;  // caption of the form's message boxes
    std::string_view icon;          // image resource
    int clientWidth;                // twips
    int clientHeight;
    std::span<const ControlRow> controls;
    std::span<const MenuRow> menus;
    std::span<const LabelRow> labels;
};

}  // namespace velunor::platform
