#pragma once

class QDialog;

namespace zel::ui {

// Shows dialog modally and returns when it is hidden again, through the toolkit's modal runner;
// without one, the dialog's own event loop runs (tests install a runner that drives the window
// and closes it without blocking).
void showModal(QDialog& dialog);

} // namespace zel::ui
