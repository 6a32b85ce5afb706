#pragma once

// How each kind of control looks and what it holds when it is created.

#include "platform/form_table.h"

#include <QtGlobal>

class QIcon;
class QMessageBox;
class QPixmap;
class QString;
class QWidget;

namespace velunor::platform {

// The widget for one row of a layout table, with its caption, colours and
// initial state; position, name and focus are the form's business.
QWidget* makeWidget(const ControlRow& row, QWidget* parent);

// Gives an option button at least the height of the style's marker.
void fitMarker(QWidget* option);
// Lets a message box grow to its longest line rather than wrap it.
void keepLines(QMessageBox& box);

}  // namespace velunor::platform
