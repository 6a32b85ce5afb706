#include "ui/texts.h"

#include <cstdio>
#include <span>

namespace velunor::ui {

namespace {

struct Line {
    int indent;  // leading spaces
    std::string_view text;
};

constexpr Line kHelp[] = {
    {0, "Enter data into each field and click the Calculate button."},
    {0, "Move from field to field with the mouse or the tab key."},
    {0, "Be sure to enter data into all the fields before calculating."},
};

constexpr Line kAbout[] = {
    {0, "Creatinine clearance is corrected according to body surface area by the formula below"},
    {0, ""},
    {39, "(U x V x 1.73)/(S x BSA x T x 60)"},
    {0, ""},
    {0, "where U = urine creatinine,"},
    {11, "V = urine volume,"},
    {11, "1.73 = normal body surface area,"},
    {11, "S = serum creatinine,"},
    {11, "BSA = body surface area,"},
    {11, "T = collection time, and"},
    {11, "60 = conversion of hours to minutes."},
    {0, ""},
    {0, "Body surface area is calculated as 0.016821 x Sqr(Height x Weight) according to"},
    {0, "Quillfeather TR, Brambleworth MK. Methods for measurement of body surface area."},
    {0, "J Pediatric 1979;94:342."},
};

constexpr std::string_view kMakerStreet = "14 Tindle Lane";
constexpr std::string_view kMakerCity = "Marrowby Heath 30571";
constexpr std::string_view kMakerEmail = "info@orvale.example";
constexpr std::string_view kMakerWeb = "www.orvale.example";
constexpr int kFirstCopyrightYear = 2019;

// Line feeds between the lines, none after the last.
std::string joinLines(std::span<const Line> lines) {
    std::string text;
    for (const Line& line : lines) {
        if (&line != &lines.front()) {
            text += '\n';
        }
        text.append(static_cast<std::size_t>(line.indent), ' ');
        text += line.text;
    }
    return text;
}

}  // namespace

std::string helpText() {
    return joinLines(kHelp);
}

std::string aboutText() {
    return joinLines(kAbout);
}

std::string contactBlock(int year) {
    char years[32];
    std::snprintf(years, sizeof years, "%d-%04d", kFirstCopyrightYear, year);
    std::string text;
    text.append(kMakerStreet).append("\n");
    text.append(kMakerCity).append("\n");
    text.append("e-mail: ").append(kMakerEmail).append("\n");
    text.append("Web site: ").append(kMakerWeb).append("\n");
    text.append("\u00A9 ").append(years);
    return text;
}

}  // namespace velunor::ui
