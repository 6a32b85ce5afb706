#pragma once

namespace velunor::platform {

// What screen readers meet, for the classes this runtime makes: the form's
// window as a window, as they would a main window, an announcement as a
// notification, and a text box with its text told whole. Installed once per
// process, by the application.
void installAccessibleInterfaces();

}  // namespace velunor::platform
