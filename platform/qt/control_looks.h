#pragma once

// How controls look and what they accept, beyond their kind's defaults.

class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace velunor::platform {

// Labels, frames and option buttons show the control face colour, as they
// always have, on a window that shows the system window colour.
void useControlFace(QWidget* widget);
// Dark text on white under any desktop palette.
void useBlackOnWhite(QWidget* widget);
// Right-click copies what the label shows.
void offerCopy(QLabel* label);
// What the box would draw as a blank although the number reading stops at it
// (a line break, a control character) never enters it.
void keepShownTextOnly(QLineEdit* box);
// The family to ask for: an installed stand-in for a missing core Windows family.
QString installedFamily(const QString& family);
// Gives an option button at least the height of the style's marker.
void fitMarker(QWidget* option);

}  // namespace velunor::platform
