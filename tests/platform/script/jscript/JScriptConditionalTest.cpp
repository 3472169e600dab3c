#include "platform/script/jscript/JScriptParser.h"
#include "platform/script/jscript/JScriptTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace zel::script::jscript {
namespace {

// A branch that is compiled holds "x = ;" (an error); a skipped one is never parsed. So the
// verdict tells which branch the conditions selected.
int32_t selects(const std::string& condition)
{
    return check("@if (" + condition + ") x = ; @end").number;
}

struct Condition
{
    const char* expression;
    bool compiled;
};

const Condition kConditions[] = {
    {"@_jscript_version >= 5.5", true},
    {"@_jscript_version < 5", false},
    {"@undefinedName != @undefinedName", true},
    {"@undefinedName == @undefinedName", false},
    {"!@_win16", true},
    {"!@_win32", false},
    {"false", false},
    {"0x10 == 16", true},
    {"1 + 2 * 3 == 7", true},
    {"10 - 2 - 3 == 5", true},
    {"7 % 4 == 3", true},
    {"1 / 0 > 1e300", true},
    {"1 << 4 == 16", true},
    {"-16 >> 2 == -4", true},
    {"-1 >>> 28 == 15", true},
    {"(5 & 3) == 1", true},
    {"(5 | 3) == 7", true},
    {"(5 ^ 3) == 6", true},
    {"~0 == -1", true},
    {"true == 1", true},
    {"true === 1", false},
    {"true !== 1", true},
    {"@_win32 === true", true},
    {"@_win16 && @_win32", false},
    {"@_win32 && @_jscript_version", true},
    {"0 || 0", false},
};

TEST(JScriptConditional, EvaluatesConditionsAsTheEngineDoes)
{
    for (const Condition& c : kConditions) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(selects(c.expression), c.compiled ? 1002 : 0);
    }
}

// Which branches are compiled, what @set defines, when the comment forms hide code, and how skipped
// code is still read.
const test::Row kDirectives[] = {
    {"/*@cc_on\n@if (@_win16)\n  x = ;\n@elif (@_jscript_version >= 5)\n  var version = @_jscript_version;\n"
     "@elif (@_win32)\n  y = ;\n@else\n  z = ;\n@end\n@*/\n",
     0},
    {"@if (@_win16) a = ; @elif (@_mac) b = ; @else c = 1; @end", 0},
    // Nested ifs inside a skipped branch are skipped.
    {"@if (0) @if (1) a = ; @else b = ; @end c = ; @else d = 1; @end", 0},
    // @set defines variables for later conditions and, once conditional compilation is on, for code.
    {"@set @a = 12\n@set @b = (@a * 20)\n@if (@b == 240) x = ; @end", 1002},
    {"@set @n = -!0\n@if (@n == -1) x = ; @end", 1002},
    {"@set @a = 1 var b = 2;", 0}, // the term ends after its constant: what follows is code again
    // Conditional compilation off: /*@ ... @*/ and //@ are plain comments; turned on, their contents are code.
    {"/*@ x = ; @*/", 0},
    {"//@ x = ;\ny = 1;", 0},
    {"/*@cc_on @*/ /*@ x = ; @*/", 1002},
    {"//@cc_on\n//@ x = ;", 1002},
    {"//@cc_on var a = 1\nb = 2;", 0}, // only up to the line end for //@
    {"//@cc_on @*/\nvar a = 1;", 0},   // a block closer at the end of a //@ line ends nothing
    {"//@cc_on var a = @_jscript_version; @*/\nb = §@*/;", 1014},
    {"/*@cc_on*/ var v = @_jscript_version;", 0},
    // @if, @set and @cc_on turn it on outside comments.
    {"@if (@_win32) var a = 1; @end\nx = @_jscript;", 0},
    {"@set @a = 1\nx = @a;", 0},
    // The line end before @end (in the skipped branch) lets the statement before @if end.
    {"@cc_on\na = 1\n@if (@_win16)\nb = 2\n@end\nc = 3", 0},
    // Skipped code is still read as tokens: a string holding "@end" does not end the branch, a
    // regular expression is read as one, an unterminated string is still an error.
    {"@if (0) s = '@end'; x = ; @end", 0},
    {"@if (0) r = /'/; @end", 0},
    {"@if (0) s = 'open\n@end", 1015},
};

TEST(JScriptConditional, DirectivesSelectSetAndHideCode)
{
    test::expectRows(kDirectives);
}

} // namespace
} // namespace zel::script::jscript
