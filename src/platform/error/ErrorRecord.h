#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "zel/ZelScriptEditor.h"

namespace zel {

// Error numbers the system raises itself. Library and parser failures carry their own numbers.
namespace ErrorNumber {
inline constexpr int32_t InvalidArgument = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t InternalError = 51;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t CannotCreateComponent = 429;
inline constexpr int32_t Unspecified = static_cast<int32_t>(0x80004005); // E_FAIL
} // namespace ErrorNumber

// ErrorRecord is declared in the public header, since hosts catch it. Its Source grows from the
// inside out: each operation that passes an error on appends its tag (" Class.Operation() ").

// Converts the exception in flight into an error record: a record as it is, a std::bad_alloc
// as "Out of memory" (7), any other std::exception as an internal error (51) with its message,
// anything else as an unspecified error. Must be called inside a catch block.
ErrorRecord currentErrorRecord();

// Raises a new error record.
[[noreturn]] void raise(int32_t number, std::string description, std::string source = {});

// Raises "Object variable not set" (91), naming what was missing.
[[noreturn]] void raiseObjectNotSet(std::string_view what);

// For an inner operation: rethrows the exception in flight as an error record with tag appended
// to its source. Must be called inside a catch block; every operation ends in
//     catch (...) { rethrowWithTag(" cRobot.GetEvalCode() "); }
[[noreturn]] void rethrowWithTag(std::string_view tag);

// For a host-facing operation: appends a log entry whose source ends with logTag, then
// rethrows with raiseTag appended. A log that cannot be written never replaces the error.
[[noreturn]] void logAndRethrow(std::string_view logTag, std::string_view raiseTag);

// Writes the log entry for the exception in flight with logTag and absorbs it (for steps whose
// failures are only logged, such as the construction of the form engine).
void logAndAbsorb(std::string_view logTag);

} // namespace zel
