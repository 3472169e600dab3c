#include "platform/script/jscript/JScriptParser.h"
#include "platform/script/jscript/JScriptTestUtil.h"

#include <gtest/gtest.h>

namespace zel::script::jscript {
namespace {

using test::expectRows;
using test::Row;

const Row kRows[] = {
    // ---- What compiles, grouped by construct ----
    // Statements
    {"   \t\r\n  ", 0},
    {"if (a) b(); else if (c) d(); else { e(); }", 0},
    {"do { i++; } while (i < 10);", 0},
    {"while (x) { if (y) break; else continue; }", 0},
    {"for ((k) in obj) ;", 0},
    {"for (var k = 0 in obj) ;", 0},
    {"for (var i = (\"x\" in o) ? 1 : 0; i < 2; i++) ;", 0},
    {"with (Math) x = cos(PI);", 0},
    {"switch (x) { case 1: case 2: a(); break; default: b(); }", 0},
    {"try { a(); } catch (e) { b(e); }", 0},
    {"try { a(); } finally { c(); }", 0},
    {"throw new Error(1, 'failed');", 0},
    {"function f() { return; }", 0},
    {"function document.body::onclick(e) { }", 0},
    {"debugger;", 0},
    {"outer: for (;;) { inner: for (;;) { break outer; continue inner; } }", 0},
    // Expressions
    {"a += 1; a -= 1; a *= 2; a /= 2; a %= 3; a <<= 1; a >>= 1; a >>>= 1; a &= 1; a |= 1; a ^= 1;", 0},
    {"x = a < b > c <= d >= e instanceof F in G;", 0},
    {"x = !a; y = ~b; z = -c; w = +d; v = typeof e; u = void 0; delete o.p;", 0},
    {"x = new Date; y = new Date(); z = new a.b.C(1)[2].d;", 0},
    {"f()()(); o.m(1)(2).p[3](4);", 0},
    {"x = [,,];", 0},
    {"x = {};", 0},
    {"x = {a: 1, 'b': 2, 3: [4], \"c d\": {e: f}};", 0},
    {"x = (1, 2, 3);", 0},
    {"x = function named(a) { return named; };", 0},
    {"x = 0x1F + 0XaB + 017 + 08 + 1.5 + .5 + 5. + 1e10 + 1E-3 + 2e+2;", 0},
    {"x = 'line \\\ncontinued';", 0},
    {"x = 'line \\\r\ncontinued';", 0},
    {"x = null; y = true; z = false; t = this;", 0},
    {"x = \"\\u0041\"; var \\u0061bc = 1;", 0},
    // Regular expressions told from division
    {"x = s.replace(/\\//g, '\\\\');", 0},
    {"x = s.match(/[/]/);", 0},
    // Semicolons inserted only where allowed
    {"a = 1 /* \n */ b = 2", 0},
    {"a\n--\nb", 0},
    {"while (x) { break\nlabel }", 0},
    {"while (x) { continue\nfoo }", 0},
    {"do x(); while (y) z()", 0},
    {"var a = 1 §b = 2", 1004},
    {"for (a\n§b;;) ;", 1004},
    {"a = 1 /* same line */ §b", 1004},
    // ---- What does not compile, grouped by error ----
    // 1002 Syntax error: a token that cannot start or continue the construct.
    {"x = 1 +§", 1002},
    {"@cc_on §@end", 1002},
    {"@cc_on §@else", 1002},
    // 1003 Expected ':'
    {"x = a ? b §;", 1003},
    {"switch (x) { case 1 §x(); }", 1003},
    // 1004 Expected ';'
    {"for (a + b §in c) ;", 1004},
    {"for (var a, b §in c) ;", 1004},
    {"x = o§.1;", 1004},
    // 1005 Expected '('
    {"if §x) y();", 1005},
    {"function a.b§(x) {}", 1005},
    {"function a§:b() {}", 1005},
    {"x = function §{};", 1005},
    // 1006 Expected ')'
    {"if (x §y();", 1006},
    // 1007 Expected ']'
    {"x = [1, 2 §;", 1007},
    // 1008 Expected '{'
    {"function f() §return;", 1008},
    // 1009 Expected '}'
    {"function f() { if (x) { y(); }§", 1009},
    {"x = {a: 1 §b: 2};", 1009},
    {"switch (x) { case 1: a();§", 1009},
    // 1010 Expected identifier
    {"var a, §;", 1010},
    {"function §if() {}", 1010},
    {"function f(a, §) {}", 1010},
    {"x = o.§class;", 1010},
    {"try {} catch (§1) {}", 1010},
    {"function a::§() {}", 1010},
    {"function a.§::b() {}", 1010},
    // 1012 Expected '/' (an unterminated regular expression literal, reported where it starts)
    {"x = §/abc\n/;", 1012},
    {"x = §/[/abc", 1012},
    {"x = §/abc\\", 1012},
    // 1013 Invalid number
    {"x = §1e;", 1013},
    // 1014 Invalid character
    {"x = a §\\ b;", 1014},
    // 1015 Unterminated string constant (reported where the string starts)
    {"x = §\"abc", 1015},
    {"x = §\"abc\r\";", 1015},
    {"x = §'abc\\", 1015},
    {"x = §'ab\xE2\x80\xA8';", 1015},
    // 1016 Unterminated comment (reported where the comment starts)
    {"x = 1; §/* never closed", 1016},
    {"x = 1; §/*@cc_on x = 2;", 1016},
    // 1018 'return' statement outside of function
    {"if (x) §return 1;", 1018},
    // 1019 Can't have 'break' outside of loop
    {"§break;", 1019},
    {"while (x) { function f() { §break; } }", 1019},
    // 1020 Can't have 'continue' outside of loop
    {"switch (x) { case 1: §continue; }", 1020},
    {"lbl: { §continue lbl; }", 1020},
    // 1023 Expected hexadecimal digit
    {"x = 0x§g;", 1023},
    {"x = '\\x4§';", 1023},
    {"var \\u006§ = 1;", 1023},
    // 1024 Expected 'while'
    {"do { x(); } §", 1024},
    // 1025 Label redefined
    {"a: while (x) { §a: y(); }", 1025},
    // 1026 Label not found
    {"while (x) { continue §nowhere; }", 1026},
    {"a: { while (x) { continue §a; } }", 1026},
    {"a: while (x) { function f() { while (y) break §a; } }", 1026},
    // 1027 'default' can only appear once in a 'switch' statement
    {"switch (x) { default: a(); case 1: b(); §default: c(); }", 1027},
    // 1028 Expected identifier, string or number
    {"x = {a: 1, §};", 1028},
    {"x = {§class: 1};", 1028},
    // 1029 Expected '@end'
    {"/*@cc_on @if (@_win32) x(); @*/§", 1029},
    {"@if (@_win16) x();§", 1029},
    // 1030 Conditional compilation is turned off
    {"x = §@_jscript_version;", 1030},
    {"§@end", 1030},
    // 1031 Expected constant
    {"@if (§x) y(); @end", 1031},
    {"@if (@a + §) y(); @end", 1031},
    {"@set @a = §'text'", 1031},
    // 1032 Expected '@'
    {"@set §a = 1", 1032},
    // 1011 Expected '='
    {"@set @a §1", 1011},
    // 1033 Expected 'catch'
    {"try { x(); }§", 1033},
    // 1035 Throw must be followed by an expression on the same source line
    {"throw§\nnew Error();", 1035},
    {"if (bad) throw§  \r\n  e;", 1035},
    {"throw§", 1035},
    // Only the first error is reported; restricted productions end at a line break.
    {"x = 1;\ny = (2§;\nz = \"open", 1006}, // only the first error is reported
    // "return\nvalue" returns nothing, so an object literal on the next line is a block holding a label.
    {"function f() { return\n{ a: 1 } }", 0},
    // "a\n++b": the ++ belongs to b, so "a ++" on its own line would still be an error here.
    {"var a, b; a\n++b", 0},
    {"x = a\n++\n;", 1002},
};

// Every row also checks that the number it expects has a description.
TEST(JScriptParser, AcceptsEachFormAndReportsEachErrorAtItsPlace)
{
    expectRows(kRows);
}

TEST(JScriptParser, DescriptionsMatchThePublishedTexts)
{
    EXPECT_EQ(description(1002), "Syntax error");
    EXPECT_EQ(description(1004), "Expected ';'");
    EXPECT_EQ(description(1006), "Expected ')'");
    EXPECT_EQ(description(1009), "Expected '}'");
    EXPECT_EQ(description(1010), "Expected identifier");
    EXPECT_EQ(description(1015), "Unterminated string constant");
    EXPECT_EQ(description(1016), "Unterminated comment");
    EXPECT_EQ(description(1018), "'return' statement outside of function");
    EXPECT_EQ(description(1019), "Can't have 'break' outside of loop");
    EXPECT_EQ(description(1027), "'default' can only appear once in a 'switch' statement");
    EXPECT_EQ(description(1028), "Expected identifier, string or number");
    EXPECT_EQ(description(1035), "Throw must be followed by an expression on the same source line");
    EXPECT_EQ(description(0), "");
    EXPECT_EQ(description(1017), "");
    EXPECT_EQ(description(5009), "");
    EXPECT_EQ(description(-1), "");
}

} // namespace
} // namespace zel::script::jscript
