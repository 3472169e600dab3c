#pragma once

#include <string>

namespace zel::ui {

// True when the process runs a QApplication, so that windows can be shown.
bool hostRunsWidgets();

// Makes sure the process runs a QApplication: makes one for a host that has none when a display is
// available. Returns "" when there is one, otherwise why no window can be shown.
std::string widgetsApplication();

} // namespace zel::ui
