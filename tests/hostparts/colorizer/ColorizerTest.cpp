#include "hostparts/colorizer/Colorizer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using zel::hostparts::Colorizer;

namespace {

// The RTF after the fixed header and without the closing brace.
std::string body(const std::string& rtf)
{
    static const std::string empty = Colorizer().Colorize("");
    const std::size_t headerLength = empty.size() - 1;
    EXPECT_EQ(rtf.compare(0, headerLength, empty, 0, headerLength), 0) << "header differs";
    EXPECT_EQ(rtf.back(), '}');
    return rtf.substr(headerLength, rtf.size() - headerLength - 1);
}

TEST(Colorizer, EscapesEverySpecialCharacter)
{
    const std::vector<std::tuple<const char*, std::string, std::string>> rows = {
        {"backslash", "a\\b", "a\\\\b"},
        {"braces", "{x}", "\\{x\\}"},
        {"tab", "a\tb", "a\\tab b"},
        {"tab before blank", "\t x", "\\tab  x"},
        {"CR LF", "a\r\nb", "a\\par\nb"},
        {"LF", "a\nb", "a\\par\nb"},
        {"lone CR", "a\rb", "a\\par\nb"},
        {"LF CR is two line ends", "a\n\rb", "a\\par\n\\par\nb"},
        {"trailing CR", "a\r", "a\\par\n"},
        {"two-byte UTF-8", "\xC3\xA9", "\\u233?"},
        {"three-byte UTF-8", "\xE2\x82\xAC", "\\u8364?"},
        {"top of the BMP is negative", "\xEF\xBF\xBF", "\\u-1?"},
        {"emoji is a surrogate pair", "\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},
        {"last code point", "\xF4\x8F\xBF\xBF", "\\u-9217?\\u-8193?"},
        {"stray continuation byte", "\x80", "\\u-3?"},
        {"truncated sequence is one replacement", "\xE2\x82x", "\\u-3?x"},
        {"encoded surrogate", "\xED\xA0\x80", "\\u-3?\\u-3?\\u-3?"},
        {"overlong", "\xC0\xAF", "\\u-3?\\u-3?"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\\u-3?\\u-3?\\u-3?\\u-3?"},
        {"NUL", std::string("a\0b", 3), "a\\u0?b"},
        {"control character", "\x01\x7F", "\\u1?\\u127?"},
        {"plain ASCII untouched", "x = y + 1;", "x = y + \\cf5 1\\cf1 ;"},
    };
    for (const auto& [name, input, expected] : rows)
        EXPECT_EQ(body(Colorizer().Colorize(input)), expected) << name;
}

// Each row colours one construct; the RTF switches colour (\cf2 keyword, \cf3 comment, \cf4 string,
// \cf5 number, \cf1 plain) and italics (comments only) where the style changes, and blanks keep the
// style they follow.
TEST(Colorizer, ColoursTokensOfBothLanguages)
{
    const std::vector<std::pair<std::string, std::string>> rows = {
        // VBScript keywords regardless of case, JScript keywords exactly; a member is never a keyword.
        {"DIM x", "\\cf2 DIM \\cf1 x"},
        {"End Sub", "\\cf2 End Sub"},
        {"var x = 1;", "\\cf2 var \\cf1 x = \\cf5 1\\cf1 ;"},
        {"Return x", "Return x"},
        {"x = obj.End", "x = obj.End"},
        {"Dimension = 1", "Dimension = \\cf5 1"},
        {"x1 = 2", "x1 = \\cf5 2"},
        {"Dim\xC3\xA9 = 1", "Dim\\u233? = \\cf5 1"},
        // Comments, italic to the line end or the block's end.
        {"x = 1 ' trailing", "x = \\cf5 1 \\cf3\\i ' trailing"},
        {"  REM note", "  \\cf3\\i REM note"},
        {"x = 1 : Rem note", "x = \\cf5 1 \\cf1 : \\cf3\\i Rem note"},
        {"If a Then Rem note", "\\cf2 If \\cf1 a \\cf2 Then \\cf3\\i Rem note"},
        {"Remark = 1", "Remark = \\cf5 1"},
        {"Dim x ' note\nx = \"s\" // c",
         "\\cf2 Dim \\cf1 x \\cf3\\i ' note\\par\n\\cf1\\i0 x = \\cf4 \"s\" \\cf3\\i // c"},
        {"/* a\nb */ x", "\\cf3\\i /* a\\par\nb */ \\cf1\\i0 x"},
        {"/* open\nto the end", "\\cf3\\i /* open\\par\nto the end"},
        // Strings: doubled quotes, and backslash escapes only in text that reads as JScript.
        {"s = \"a\"\"b\" & x", "s = \\cf4 \"a\"\"b\" \\cf1 & x"},
        {"p = \"C:\\\" & x", "p = \\cf4 \"C:\\\\\" \\cf1 & x"},
        {"var s = \"a\\\"b\";", "\\cf2 var \\cf1 s = \\cf4 \"a\\\\\"b\"\\cf1 ;"},
        {"var s = 'it\\'s';", "\\cf2 var \\cf1 s = \\cf4 'it\\\\'s'\\cf1 ;"},
        {"var s = 'a' + x;", "\\cf2 var \\cf1 s = \\cf4 'a' \\cf1 + x;"},
        {"s = \"open\nx", "s = \\cf4 \"open\\par\n\\cf1 x"},
        {"s = \"http://host/\" & x", "s = \\cf4 \"http://host/\" \\cf1 & x"},
        // Numbers.
        {"x = 3.14e-2", "x = \\cf5 3.14e-2"},
        {"x = .5", "x = \\cf5 .5"},
        {"x = &hff&", "x = \\cf5 &hff&"},
        {"x = &O17", "x = \\cf5 &O17"},
        {"var n = 0x1F;", "\\cf2 var \\cf1 n = \\cf5 0x1F\\cf1 ;"},
        {"x = a & b", "x = a & b"},
        {"d = #2024-03-05#", "d = \\cf5 #2024-03-05#"},
        {"d = #3/5/2024 10:30 AM# + 1", "d = \\cf5 #3/5/2024 10:30 AM# \\cf1 + \\cf5 1"},
        {"d = #abc def", "d = #abc def"},
        // Conditional compilation markers of JScript.
        {"/*@cc_on @*/", "\\cf2 /*@cc_on @*/"},
        {"@if (@_jscript_version >= 5)", "\\cf2 @if \\cf1 (\\cf2 @_jscript_version \\cf1 >= \\cf5 5\\cf1 )"},
        // The whole text decides the dialect: the same line is a comment in VBScript, a string in JScript.
        {"Dim s\ns = 'x' & y\nEnd Sub\n",
         "\\cf2 Dim \\cf1 s\\par\ns = \\cf3\\i 'x' & y\\par\n\\cf2\\i0 End Sub\\par\n"},
        {"var s;\ns = 'x' & y\nfunction f() {\n}\n",
         "\\cf2 var \\cf1 s;\\par\ns = \\cf4 'x' \\cf1 & y\\par\n\\cf2 function \\cf1 f() \\{\\par\n\\}\\par\n"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(body(Colorizer().Colorize(text)), expected) << text;
    // Real scripts: each reads in its own dialect.
    const std::string vbs = zel::test::fixture("colorizer/InvoiceReminder.vbs");
    const std::string js = zel::test::fixture("colorizer/OrderSync.js");
    EXPECT_NE(Colorizer().Colorize(vbs).find("Explicit\\par\n\\cf3\\i ' ----"), std::string::npos);
    EXPECT_NE(Colorizer().Colorize(js).find("return \\cf4 'SKU \\\\''"), std::string::npos);
}

TEST(Colorizer, ShownTextNormalisesLineEndsAndInvalidBytes)
{
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"", ""},
        {"a\r\nb\rc\nd", "a\nb\nc\nd"},
        {"\r\r\n\n", "\n\n\n"},
        {"x\xE2\x80\xA8y\xE2\x80\xA9z", "x\ny\nz"},
        {"a\xC2\xA0"
         "b",
         "a b"},
        {"\xEF\xB7\x90\xEF\xB7\x91", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xFF\xC3(", "\xEF\xBF\xBD\xEF\xBF\xBD("},
        {std::string("\0\t\xF0\x9F\x98\x80", 6), std::string("\0\t\xF0\x9F\x98\x80", 6)},
    };
    for (const auto& [input, expected] : rows)
        EXPECT_EQ(Colorizer::shownText(input), expected);
}

} // namespace
