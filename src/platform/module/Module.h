#pragma once

#include <filesystem>
#include <string>

namespace zel::Module {

// The folder of the loaded component: the shared library when the code runs inside it, the
// program file when the code is linked into a program. Files that belong beside the
// component (error log, templates, registry settings) are looked up here.
std::filesystem::path folder();

// The full path of the component's file.
std::filesystem::path filePath();

// The component's file name without its extension ("libzelscript" for "libzelscript.so").
std::string baseName();

// Points folder() and baseName() somewhere else, for tests and tools; an empty folder returns
// to the real location.
void overrideLocation(const std::filesystem::path& folder, const std::string& baseName);

} // namespace zel::Module
