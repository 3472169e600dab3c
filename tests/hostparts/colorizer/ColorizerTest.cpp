#include "hostparts/colorizer/Colorizer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
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

// What the colouring says about each character shown: `\uN?` shows as '?', `\par` as LF.
struct Styled
{
    std::string text;
    std::vector<int> colour;
    std::vector<bool> italic;
};

Styled walk(const std::string& rtf)
{
    // An escaped character, a Unicode escape, a control word with its parameter, a line break of
    // the RTF source, or a character shown as it is.
    static const std::regex token(R"(\\([\\{}])|\\u(-?\d+)\?|\\([a-z]+)(-?\d*) ?|(\n)|([^\\\n]))");
    const std::string b = body(rtf);
    Styled out;
    int colour = Colorizer::kPlainColour;
    bool italic = false;
    std::size_t consumed = 0;
    for (std::sregex_iterator it(b.begin(), b.end(), token), end; it != end; ++it) {
        const std::smatch& m = *it;
        EXPECT_EQ(static_cast<std::size_t>(m.position()), consumed) << "unreadable RTF at " << consumed;
        consumed = static_cast<std::size_t>(m.position() + m.length());
        std::string shown = m[1].matched ? m.str(1) : m[6].matched ? m.str(6) : m[2].matched ? "?" : "";
        if (m.str(3) == "cf")
            colour = std::stoi(m.str(4));
        else if (m.str(3) == "i")
            italic = m.str(4) != "0";
        else if (m.str(3) == "par" || m.str(3) == "tab")
            shown = m.str(3) == "par" ? "\n" : "\t";
        else if (m[3].matched)
            ADD_FAILURE() << "unexpected control word \\" << m.str(3);
        for (const char c : shown) {
            out.text += c;
            out.colour.push_back(colour);
            out.italic.push_back(italic);
        }
    }
    EXPECT_EQ(consumed, b.size()) << "unreadable RTF at the end";
    return out;
}

// The colour of `token` where it first occurs in `text`, or -1 when it is missing or mixed.
int colourOf(const std::string& text, const std::string& token)
{
    const Styled s = walk(Colorizer().Colorize(text));
    const std::size_t at = s.text.find(token);
    if (at == std::string::npos)
        return -1;
    for (std::size_t k = at; k < at + token.size(); ++k) {
        if (s.colour[k] != s.colour[at])
            return -1;
    }
    return s.colour[at];
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

TEST(Colorizer, HeaderHasFixedPitchFontAndColourTable)
{
    const std::string rtf = Colorizer().Colorize("x");
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fmodern\\fprq1"), std::string::npos);
    const std::size_t table = rtf.find("{\\colortbl ;");
    ASSERT_NE(table, std::string::npos);
    const std::string colours = rtf.substr(table, rtf.find('}', table) - table);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), ';'), Colorizer::kNumberColour + 1);
}

TEST(Colorizer, ColoursTokensOfBothLanguages)
{
    const int kw = Colorizer::kKeywordColour;
    const int cm = Colorizer::kCommentColour;
    const int st = Colorizer::kStringColour;
    const int nu = Colorizer::kNumberColour;
    const int pl = Colorizer::kPlainColour;
    const std::vector<std::tuple<std::string, std::string, int>> rows = {
        // VBScript keywords regardless of case, JScript keywords exactly.
        {"DIM x", "DIM", kw},
        {"End Sub", "End Sub", kw},
        {"var x = 1;", "var", kw},
        {"Return x", "Return", pl},
        {"x = obj.End", "End", pl},
        {"Dimension = 1", "Dimension", pl},
        {"x1 = 2", "x1", pl},
        {"Dim\xC3\xA9 = 1", "Dim", pl},
        // Comments.
        {"x = 1 ' trailing", "' trailing", cm},
        {"  REM note", "REM note", cm},
        {"x = 1 : Rem note", "Rem note", cm},
        {"If a Then Rem note", "Rem note", cm},
        {"Remark = 1", "Remark", pl},
        {"x = 1 // done", "// done", cm},
        {"/* a\nb */ x", "/* a\nb */", cm},
        {"/* open\nto the end", "/* open\nto the end", cm},
        // Strings: doubled quotes, and backslash escapes only in text that reads as JScript.
        {"s = \"a\"\"b\" & x", "\"a\"\"b\"", st},
        {"p = \"C:\\\" & x", "\"C:\\\"", st},
        {"p = \"C:\\\" & x", "& x", pl},
        {"var s = \"a\\\"b\";", "\"a\\\"b\"", st},
        {"var s = 'it\\'s';", "'it\\'s'", st},
        {"var s = 'a' + x;", "+ x", pl},
        {"s = \"open\nx", "\"open", st},
        {"s = \"open\nx", "x", pl},
        {"s = \"http://host/\" & x", "\"http://host/\"", st},
        // Numbers.
        {"x = 3.14e-2", "3.14e-2", nu},
        {"x = .5", ".5", nu},
        {"x = &hff&", "&hff&", nu},
        {"x = &O17", "&O17", nu},
        {"var n = 0x1F;", "0x1F", nu},
        {"x = a & b", "&", pl},
        {"d = #2024-03-05#", "#2024-03-05#", nu},
        {"d = #3/5/2024 10:30 AM# + 1", "#3/5/2024 10:30 AM#", nu},
        {"d = #abc def", "#abc def", pl},
        // Conditional compilation markers of JScript.
        {"/*@cc_on @*/", "/*@cc_on", kw},
        {"/*@cc_on @*/", "@*/", kw},
        {"@if (@_jscript_version >= 5)", "@_jscript_version", kw},
    };
    for (const auto& [text, token, colour] : rows)
        EXPECT_EQ(colourOf(text, token), colour) << text << "  token: " << token;
}

TEST(Colorizer, CommentsAreItalicAndNothingElse)
{
    const Styled s = walk(Colorizer().Colorize("Dim x ' note\nx = \"s\" // c"));
    for (std::size_t k = 0; k < s.text.size(); ++k)
        EXPECT_EQ(s.italic[k], s.colour[k] == Colorizer::kCommentColour) << "at " << k << " in " << s.text;
}

// Every character of real scripts is shown, and each reads in its own dialect: the same line is
// a comment in VBScript and a string in JScript.
TEST(Colorizer, ShowsEveryCharacterOfRealScripts_GuessesTheDialectFromTheWholeScript)
{
    const std::string vbs = zel::test::fixture("colorizer/InvoiceReminder.vbs");
    const std::string js = zel::test::fixture("colorizer/OrderSync.js");
    for (const std::string& script : {vbs, js})
        EXPECT_EQ(walk(Colorizer().Colorize(script)).text, Colorizer::shownText(script)) << script.substr(0, 40);
    EXPECT_EQ(colourOf(vbs, "' Sends a reminder for every overdue invoice"), Colorizer::kCommentColour);
    EXPECT_EQ(colourOf(js, "'SKU \\''"), Colorizer::kStringColour);
    EXPECT_EQ(colourOf("Dim s\ns = 'x' & y\nEnd Sub\n", "'x' & y"), Colorizer::kCommentColour);
    const std::string jsLine = "var s;\ns = 'x' & y\nfunction f() {\n}\n";
    EXPECT_EQ(colourOf(jsLine, "'x'"), Colorizer::kStringColour);
    EXPECT_EQ(colourOf(jsLine, "& y"), Colorizer::kPlainColour);
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
