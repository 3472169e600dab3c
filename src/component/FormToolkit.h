#pragma once

namespace zel {

// Installs the Qt editor window for the library. Each time a form is created it uses the host's
// QApplication, or makes one when the host has none and a display is available; otherwise the
// creation fails with 429 and a description saying why (LoadForm logs and raises it). With the
// first window, message boxes and the clipboard move to Qt and error reports take the editor's
// caption as their title.
void installFormToolkit();

} // namespace zel
