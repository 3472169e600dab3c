#pragma once

#include <filesystem>
#include <string>

namespace zel::Module {

// The folder of the loaded component: the shared library when the code runs inside it, the
// program file when the code is linked into a program. The files the component writes beside
// itself (error log, report log) go here when the folder can be written.
std::filesystem::path folder();

// The full path of the component's file, as it was loaded (a versioned library keeps the name
// the loader found, e.g. "libzelscript.so.1").
std::filesystem::path filePath();

// The component's file name without its extension and version ("libzelscript" for
// "libzelscript.so" and "libzelscript.so.1.0").
std::string baseName();

// The folder of the files the component reads (templates, default settings, the path-data
// folder "data"): the installed data folder when one lies where an installation puts it
// relative to folder() (a library under lib/ or a tool under bin/, the data under
// share/zelscript/), otherwise folder() itself, as in the build tree or a portable copy.
std::filesystem::path dataFolder();

// Points folder(), baseName() and dataFolder() somewhere else, for tests and tools; an empty
// folder returns to the real location, an empty data folder applies the usual rule to folder.
void overrideLocation(const std::filesystem::path& folder, const std::string& baseName,
                      const std::filesystem::path& dataFolder = {});

} // namespace zel::Module
