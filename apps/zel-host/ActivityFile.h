#pragma once

#include <filesystem>
#include <string>

namespace zelhost::ActivityFile {

// The whole file as bytes; throws std::runtime_error when it cannot be read.
std::string read(const std::filesystem::path& file);

// Replaces the file's content with data atomically: the data goes to a new file in the same
// folder, is flushed to disk and then renamed over the old one, so a crash leaves either the old
// or the new activity, never half of one. The file keeps its permissions. Throws
// std::runtime_error (and leaves the old file untouched) when any step fails.
void writeAtomically(const std::filesystem::path& file, const std::string& data);

} // namespace zelhost::ActivityFile
