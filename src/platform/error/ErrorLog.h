#pragma once

#include "platform/error/ErrorRecord.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zel::ErrorLog {

// The error log: the component's file name without extension and ".Log", beside the component
// or, when its folder cannot be written, in the per-user state folder (UserFiles::stateFile).
std::filesystem::path filePath();

// The text of one log entry: the " -- ERROR --" line, date, number, source followed by the log
// tag, description, and 60 hyphens, every line ended by CR LF.
std::string entryText(const ErrorRecord& record, std::string_view logTag);

// Appends one entry to the log, creating the file when missing. Throws an error record
// (75, path/file access error) when the file cannot be opened or written.
void append(const ErrorRecord& record, std::string_view logTag);

// Appends one entry; when the log cannot be written, says so on standard error instead, so
// that the error being logged is never replaced by the log's own failure.
void appendOrWarn(const ErrorRecord& record, std::string_view logTag) noexcept;

} // namespace zel::ErrorLog
