#pragma once

#include <cstddef>
#include <cstdint>

namespace zel::script {

// The verdict of a syntax check: the first error found, as the engine's error number and the
// byte offset in the checked text where it was found. A number of 0 means the text compiles.
// Line, column and the offending line's text are computed from the offset once, at the
// script-engine host control.
struct Diagnostic
{
    int32_t number = 0;
    std::size_t offset = 0;

    bool ok() const { return number == 0; }
};

} // namespace zel::script
