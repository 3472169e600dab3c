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
    {"@_jscript", true},
    {"@_win32", true},
    {"@_x86", true},
    {"@_win16", false},
    {"@_mac", false},
    {"@_alpha", false},
    {"@_PowerPC", false},
    {"@_mc680x0", false},
    {"@_jscript_version >= 5", true},
    {"@_jscript_version >= 5.5", true},
    {"@_jscript_version == 5.8", true},
    {"@_jscript_version < 5", false},
    {"@_jscript_build > 0", true},
    {"@undefinedName", false},
    {"@undefinedName != @undefinedName", true},
    {"@undefinedName == @undefinedName", false},
    {"!@_win16", true},
    {"!@_win32", false},
    {"1", true},
    {"0", false},
    {"true", true},
    {"false", false},
    {"0x10 == 16", true},
    {"1 + 2 * 3 == 7", true},
    {"(1 + 2) * 3 == 9", true},
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
    {"-(-2) == 2", true},
    {"true == 1", true},
    {"true === 1", false},
    {"true !== 1", true},
    {"@_win32 === true", true},
    {"@_win16 || @_win32", true},
    {"@_win16 && @_win32", false},
    {"@_win32 && @_jscript_version", true},
    {"0 || 0", false},
    {"2 > 1 == true", true},
};

TEST(JScriptConditional, EvaluatesConditionsAsTheEngineDoes)
{
    for (const Condition& c : kConditions) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(selects(c.expression), c.compiled ? 1002 : 0);
    }
}

TEST(JScriptConditional, CompilesOnlyTheSelectedBranch)
{
    const char* script = "/*@cc_on\n"
                         "@if (@_win16)\n"
                         "  x = ;\n"
                         "@elif (@_jscript_version >= 5)\n"
                         "  var version = @_jscript_version;\n"
                         "@elif (@_win32)\n"
                         "  y = ;\n"
                         "@else\n"
                         "  z = ;\n"
                         "@end\n"
                         "@*/\n";
    EXPECT_EQ(check(script).number, 0);

    const std::string elseTaken = "@if (@_win16) a = ; @elif (@_mac) b = ; @else c = 1; @end";
    EXPECT_EQ(check(elseTaken).number, 0);
    const std::string elseBroken = "@if (@_win16) a = 1; @else c = §; @end";
    const test::Marked m = test::unmark(elseBroken);
    EXPECT_EQ(check(m.source).number, 1002);
    EXPECT_EQ(check(m.source).offset, m.offset);
}

TEST(JScriptConditional, SkipsNestedIfsInsideASkippedBranch)
{
    EXPECT_EQ(check("@if (0) @if (1) a = ; @else b = ; @end c = ; @else d = 1; @end").number, 0);
    EXPECT_EQ(check("@if (1) @if (0) a = ; @else b = 1; @end @else d = ; @end").number, 0);
    EXPECT_EQ(check("@if (1) @if (1) @if (1) a = 1; @end @end @end").number, 0);
}

TEST(JScriptConditional, SetDefinesVariablesForLaterConditionsAndCode)
{
    EXPECT_EQ(check("@set @debug = 1\n@if (@debug) trace(); @end").number, 0);
    EXPECT_EQ(check("@set @a = 12\n@set @b = (@a * 20)\n@if (@b == 240) x = ; @end").number, 1002);
    EXPECT_EQ(check("@set @v = @_jscript_version\n@if (@v == 5.8) x = ; @end").number, 1002);
    EXPECT_EQ(check("@set @n = -!0\n@if (@n == -1) x = ; @end").number, 1002);
    EXPECT_EQ(check("@set @a = 1\n@set @a = 0\n@if (@a) x = ; @end").number, 0);
    // A variable is an ordinary value in code once conditional compilation is on.
    EXPECT_EQ(check("@set @limit = 10\nfor (var i = 0; i < @limit; i++) ;").number, 0);
    // The term ends after its constant: what follows is code again.
    EXPECT_EQ(check("@set @a = 1 var b = 2;").number, 0);
}

TEST(JScriptConditional, CommentFormsHideCodeUntilTurnedOn)
{
    // Conditional compilation off: /*@ ... @*/ and //@ are plain comments.
    EXPECT_EQ(check("/*@ x = ; @*/").number, 0);
    EXPECT_EQ(check("//@ x = ;\ny = 1;").number, 0);
    // Turned on: their contents are code.
    EXPECT_EQ(check("/*@cc_on @*/ /*@ x = ; @*/").number, 1002);
    EXPECT_EQ(check("//@cc_on\n//@ x = ;").number, 1002);
    EXPECT_EQ(check("//@cc_on x = ;").number, 1002);
    // Only up to the line end for //@.
    EXPECT_EQ(check("//@cc_on var a = 1\nb = 2;").number, 0);
    // The classic browser test: !false with the engine, false without.
    EXPECT_EQ(check("var isJScript = /*@cc_on!@*/false;").number, 0);
    EXPECT_EQ(check("/*@cc_on*/ var v = @_jscript_version;").number, 0);
    EXPECT_EQ(check("/*@cc_on @if (@_jscript_version >= 5) @*/ var modern = 1; /*@ @end @*/").number, 0);
}

TEST(JScriptConditional, IfAndSetTurnItOnOutsideComments)
{
    EXPECT_EQ(check("@if (@_win32) var a = 1; @end\nx = @_jscript;").number, 0);
    EXPECT_EQ(check("@set @a = 1\nx = @a;").number, 0);
    EXPECT_EQ(check("@cc_on\nx = @_jscript_build;").number, 0);
}

TEST(JScriptConditional, LineEndsInsideDirectivesStillSeparateStatements)
{
    // The line end before @end (in the skipped branch) lets the statement before @if end.
    EXPECT_EQ(check("@cc_on\na = 1\n@if (@_win16)\nb = 2\n@end\nc = 3").number, 0);
    EXPECT_EQ(check("@cc_on\na = 1\n@if (@_win32)\nb = 2\n@end\nc = 3").number, 0);
}

TEST(JScriptConditional, SkippedCodeIsStillReadAsTokens)
{
    // A string holding "@end" does not end the skipped branch.
    EXPECT_EQ(check("@if (0) s = '@end'; x = ; @end").number, 0);
    // A regular expression in skipped code is read as one.
    EXPECT_EQ(check("@if (0) r = /'/; @end").number, 0);
    // An unterminated string in skipped code is still an error.
    EXPECT_EQ(check("@if (0) s = 'open\n@end").number, 1015);
}

} // namespace
} // namespace zel::script::jscript
