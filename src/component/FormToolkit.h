#pragma once

namespace zel {

// Chooses the editor window for the library: the Qt window when the host runs a QApplication
// (decided each time a form is created, so a host may start Qt after loading the library), the
// headless form otherwise. With the first Qt window, message boxes and the clipboard move to Qt
// and error reports take the editor's caption as their title.
void installFormToolkit();

} // namespace zel
