#pragma once

#include "platform/script/Diagnostic.h"
#include "platform/script/jscript/JScriptErrors.h"

#include <cstdint>
#include <string_view>

// The JScript front end: a syntax check of ECMAScript 3 with the JScript additions (conditional
// compilation, "function object::event()" handlers). It parses and reports; it never runs code.
namespace zel::script::jscript {

// Checks a whole script and returns the first compile error the JScript engine reports for it,
// with its number and the byte offset where it is reported (number 0: the script compiles).
// Any byte sequence gets a verdict; empty text compiles.
zel::script::Diagnostic check(std::string_view source);

} // namespace zel::script::jscript
