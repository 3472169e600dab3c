#pragma once

#include <QIcon>

#include <string>

// The pictures of the registry browser's tree, keyed as its nodes name them ("business",
// "service", ... and the short taxonomy names with "Other"), and of its windows' title panels.
namespace zel::UddiIcons {

// The picture of a tree image key; a null icon for a key the browser does not know.
QIcon image(const std::string& key);

// The pictures of the browser's and the options dialog's title panels.
QIcon browser();
QIcon options();

} // namespace zel::UddiIcons
