#pragma once

#include <filesystem>
#include <string_view>

// Where the component keeps the files it writes. A component running from a folder it can write
// (the build tree, a portable copy) keeps them beside itself. An installed component, whose
// folder the user cannot write, keeps them per user: logs under $XDG_STATE_HOME/zelscript
// (default ~/.local/state/zelscript), settings under $XDG_CONFIG_HOME/zelscript (default
// ~/.config/zelscript), where a settings file starts as a copy of the installed default.
namespace zel::UserFiles {

// True when Module::folder() can be written by this process.
bool besideComponent();

// The per-user folder of the component's logs or settings (not created here).
std::filesystem::path stateFolder();
std::filesystem::path configFolder();

// The file a log named name is appended to: Module::folder()/name, or stateFolder()/name (the
// folder then created when missing).
std::filesystem::path stateFile(std::string_view name);

// The settings file named name to read: Module::dataFolder()/name, or the per-user copy when
// the user has one.
std::filesystem::path settingsFileToRead(std::string_view name);

// The settings file named name to write: Module::dataFolder()/name, or the per-user copy; a
// missing per-user copy is first seeded from the installed default, so a writer that changes one
// entry keeps the others. Failures to create the folder or seed the copy are left for the
// writer's own open to report.
std::filesystem::path settingsFileToWrite(std::string_view name);

} // namespace zel::UserFiles
