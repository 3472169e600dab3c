#include "platform/script/jscript/JScriptParser.h"
#include "platform/script/jscript/JScriptTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace zel::script::jscript {
namespace {

using namespace std::string_view_literals;

using zel::test::repeat;

struct Nesting
{
    const char* open;
    const char* middle;
    const char* close;
};

const Nesting kNestings[] = {
    {"(", "1", ")"},
    {"[", "1", "]"},
    {"{", "", "}"},
    {"x = {a:", "1", "}"},
    {"if (x) ", ";", ""},
    {"while (x) {", "", "}"},
    {"function f() {", "", "}"},
    {"x = function () {", "", "}"},
    {"!", "x", ""},
    {"new ", "X", ""},
    {"a = ", "1", ""},
    {"x ? ", "1", " : 2"},
    {"lbl", ": x", ""},
    {"f(", "1", ")"},
    {"@if (1) ", "", " @end"},
};

TEST(JScriptRobustness, DeepNestingGivesAnErrorNotACrash_ModerateNestingAndLongElseIfChainsCompile)
{
    for (const Nesting& n : kNestings) {
        SCOPED_TRACE(n.open);
        std::string deep = repeat(n.open, 10000) + n.middle + repeat(n.close, 10000);
        if (std::string_view(n.open) == "lbl") {
            deep.clear();
            for (int i = 0; i < 10000; ++i)
                deep += "l" + std::to_string(i) + ": ";
            deep += "x;";
        }
        const Diagnostic d = check(deep);
        if (std::string_view(n.open) == "@if (1) ") {
            EXPECT_EQ(d.number, 0); // directives nest without recursion
        } else {
            EXPECT_EQ(d.number, 28);
        }
        EXPECT_LE(d.offset, deep.size());
    }
    EXPECT_EQ(check("@if " + repeat("(", 10000) + "1" + repeat(")", 10000) + " @end").number, 28);
    EXPECT_EQ(check(repeat("(", 200) + "1" + repeat(")", 200)).number, 0);
    EXPECT_EQ(check(repeat("function f() {", 100) + repeat("}", 100)).number, 0);
    // A long else-if chain is not nesting.
    std::string chain = "switchCode = 0;\n";
    for (int i = 0; i < 20000; ++i)
        chain +=
            (i ? "else if (code == " : "if (code == ") + std::to_string(i) + ") name = 'c" + std::to_string(i) + "';\n";
    chain += "else name = '';\n";
    EXPECT_EQ(check(chain).number, 0);
}

TEST(JScriptRobustness, EverySingleByteGetsAVerdict)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const Diagnostic d = check(one);
        EXPECT_LE(d.offset, one.size());
        const std::string inside = "x = 1; " + one + " y = 2;";
        EXPECT_LE(check(inside).offset, inside.size());
        const std::string inString = "x = '" + one + "';";
        const Diagnostic s = check(inString);
        if (b != '\n' && b != '\r' && b != '\'' && b != '\\') {
            EXPECT_EQ(s.number, 0) << b; // any other byte may stand in a string
        }
    }
}

// NUL and invalid UTF-8 are invalid characters outside literals and comments; Unicode spaces and
// line terminators are white space.
const test::Row kOddCharacters[] = {
    {"x = 1;§\0y = 2;"sv, 1014},
    {"// comment \0 here\nx = 1;"sv, 0},
    {"s = '\0\xFF\xC3';"sv, 0},
    {"x = \xC3;", 1014},
    {"x = \xE2\x80;", 1014},
    {"/* \xFF\xFE */ x = 1;", 0},
    {"\xEF\xBB\xBFvar a = 1;", 0}, // byte-order mark
    {"var\xC2\xA0"
     "a = 1;",
     0}, // no-break space
    {"var\xE3\x80\x80"
     "a = 1;",
     0}, // ideographic space
    {"a = 1\xE2\x80\xA8"
     "b = 2",
     0},                                          // line separator
    {"function f() { return\xE2\x80\xA9 1 }", 0}, // paragraph separator
    {"throw\xE2\x80\xA8 e", 1035},
};

TEST(JScriptRobustness, OddCharactersOutsideAndInsideLiterals)
{
    test::expectRows(kOddCharacters);
}

TEST(JScriptRobustness, LargeScriptIsCheckedWhole)
{
    const std::string unit =
        "function f(a, b) {\r\n    var s = 'text' + a;\r\n    return s.replace(/x/g, b) / 2;\r\n}\r\n";
    std::string big = repeat(unit, 100000);
    EXPECT_EQ(check(big).number, 0);
    big += "x = (";
    const Diagnostic d = check(big);
    EXPECT_EQ(d.number, 1002);
    EXPECT_EQ(d.offset, big.size());
}

} // namespace
} // namespace zel::script::jscript
