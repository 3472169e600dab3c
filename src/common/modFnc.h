#pragma once

#include "zel/ZelScriptEditor.h"

#include <memory>
#include <string>
#include <string_view>

namespace zel::modFnc {

// A new component created by class name (or class id). serverName names a remote machine and
// must be empty: components are only created in this process. Raises 429 when the class
// cannot be created.
std::unique_ptr<IComponent> CreateObject(std::string_view className, std::string_view serverName = {});

// Deletes the file when it exists, read-only or not. Returns true also when it did not exist.
bool FSOFileDelete(std::string_view path);

// The name of the user logged on, at most 100 characters; "" when the system cannot tell.
std::string UserName();

} // namespace zel::modFnc
