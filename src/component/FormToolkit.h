#pragma once

namespace zel {

// Fills the toolkit seam once, at the library's start-up. Each time an editor form is created it
// uses the host's QApplication, or makes one when the host has none and a display is available.
// Without a display the form holds the data without a window (SetData and GetData work) and
// ShowForm fails with 429 and a description saying why, logged and raised to the host. With the
// first window, message boxes and the clipboard move to Qt and error reports take the editor's
// caption as their title. The wizards and the registry browser get their openers here too.
void installFormToolkit();

} // namespace zel
