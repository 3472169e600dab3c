#pragma once

#include <QIcon>

// The pictures of the editor's tool buttons and its window icon, drawn in code so that they look
// the same on every desktop and need no icon theme.
namespace zel::ToolIcons {

QIcon cut();
QIcon copy();
QIcon paste();
QIcon colorizeCode();
QIcon checkSyntax();
QIcon wizard();
// The editor window's icon: a script page.
QIcon scriptWindow();

} // namespace zel::ToolIcons
