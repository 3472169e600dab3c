#pragma once

#include "platform/script/Diagnostic.h"
#include "platform/script/vbscript/VBScriptErrors.h"

#include <string_view>

namespace zel::script::vbscript {

// Compiles one unit of VBScript text (what one add-code operation hands over) without running it, and
// returns the first compile error as {number, byte offset}, or number 0 when the text compiles.
// Empty text compiles. Any bytes get a verdict: invalid UTF-8 or NUL outside strings and comments is
// "Invalid character"; nesting deeper than the parser allows is "Out of memory".
// Names are checked for redefinition inside the unit only: a later unit may define a name again.
Diagnostic check(std::string_view source);

// How deeply statements and expressions may nest before check() gives up with "Out of memory".
constexpr int kMaxNesting = 1000;

} // namespace zel::script::vbscript
