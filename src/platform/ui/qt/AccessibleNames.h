#pragma once

class QWidget;

namespace zel::ui {

// Gives every control below window an accessible name, so that screen readers and UI-automation
// tools find it: a button or check box its caption, a label its text, a control with a label (the
// label's buddy) that label's text, and any other control its tool tip or, failing that, its
// object name. Mnemonic markers ("&") are left out. Run again after the texts change.
void setAccessibleNames(QWidget& window);

} // namespace zel::ui
