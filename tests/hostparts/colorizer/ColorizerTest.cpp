#include "hostparts/colorizer/Colorizer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
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
    const std::string b = body(rtf);
    Styled out;
    int colour = Colorizer::kPlainColour;
    bool italic = false;
    const auto put = [&](char c) {
        out.text += c;
        out.colour.push_back(colour);
        out.italic.push_back(italic);
    };
    std::size_t i = 0;
    while (i < b.size()) {
        const char c = b[i];
        if (c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            put(c);
            ++i;
            continue;
        }
        const char next = i + 1 < b.size() ? b[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            put(next);
            i += 2;
            continue;
        }
        std::size_t j = i + 1;
        while (j < b.size() && std::isalpha(static_cast<unsigned char>(b[j])))
            ++j;
        const std::string word = b.substr(i + 1, j - i - 1);
        const std::size_t digits = j;
        if (j < b.size() && b[j] == '-')
            ++j;
        while (j < b.size() && std::isdigit(static_cast<unsigned char>(b[j])))
            ++j;
        const bool hasParam = j > digits;
        const int param = hasParam ? std::stoi(b.substr(digits, j - digits)) : 0;
        if (word == "u") {
            EXPECT_EQ(b[j], '?');
            put('?');
            i = j + 1;
            continue;
        }
        if (j < b.size() && b[j] == ' ')
            ++j;
        if (word == "cf")
            colour = param;
        else if (word == "i")
            italic = !hasParam || param != 0;
        else if (word == "par")
            put('\n');
        else if (word == "tab")
            put('\t');
        else
            ADD_FAILURE() << "unexpected control word \\" << word;
        i = j;
    }
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
    struct Row
    {
        const char* name;
        std::string input;
        std::string expected;
    };
    const std::vector<Row> rows = {
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
        {"first negative unit", "\xE8\x80\x80", "\\u-32768?"},
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
    const Colorizer colorizer;
    for (const Row& row : rows)
        EXPECT_EQ(body(colorizer.Colorize(row.input)), row.expected) << row.name;
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
    struct Row
    {
        std::string text;
        std::string token;
        int colour;
    };
    const int kw = Colorizer::kKeywordColour;
    const int cm = Colorizer::kCommentColour;
    const int st = Colorizer::kStringColour;
    const int nu = Colorizer::kNumberColour;
    const int pl = Colorizer::kPlainColour;
    const std::vector<Row> rows = {
        // VBScript keywords regardless of case, JScript keywords exactly.
        {"Dim x", "Dim", kw},
        {"DIM x", "DIM", kw},
        {"End Sub", "End Sub", kw},
        {"x = y", "x", pl},
        {"var x = 1;", "var", kw},
        {"return x;", "return", kw},
        {"Return x", "Return", pl},
        {"instanceof", "instanceof", kw},
        {"x = obj.End", "End", pl},
        {".Next = 1", "Next", pl},
        {"Dimension = 1", "Dimension", pl},
        {"x1 = 2", "x1", pl},
        {"Dim\xC3\xA9 = 1", "Dim", pl},
        // Comments.
        {"' whole line", "' whole line", cm},
        {"x = 1 ' trailing", "' trailing", cm},
        {"Rem note", "Rem note", cm},
        {"  REM note", "REM note", cm},
        {"x = 1 : Rem note", "Rem note", cm},
        {"If a Then Rem note", "Rem note", cm},
        {"Remark = 1", "Remark", pl},
        {"x = 1 // done", "// done", cm},
        {"/* a\nb */ x", "/* a\nb */", cm},
        {"/* open\nto the end", "/* open\nto the end", cm},
        {"' it's \"not\" a string", "' it's \"not\" a string", cm},
        // Strings: doubled quotes, and backslash escapes only in text that reads as JScript.
        {"s = \"a\"\"b\" & x", "\"a\"\"b\"", st},
        {"p = \"C:\\\" & x", "\"C:\\\"", st},
        {"p = \"C:\\\" & x", "& x", pl},
        {"var s = \"a\\\"b\";", "\"a\\\"b\"", st},
        {"var s = 'it\\'s';", "'it\\'s'", st},
        {"var s = 'a' + x;", "+ x", pl},
        {"s = \"open\nx", "\"open", st},
        {"s = \"open\nx", "x", pl},
        {"s = \"' not a comment\"", "\"' not a comment\"", st},
        {"s = \"http://host/\" & x", "\"http://host/\"", st},
        // Numbers.
        {"x = 42", "42", nu},
        {"x = 3.14e-2", "3.14e-2", nu},
        {"x = .5", ".5", nu},
        {"x = &HFF", "&HFF", nu},
        {"x = &hff&", "&hff&", nu},
        {"x = &O17", "&O17", nu},
        {"var n = 0x1F;", "0x1F", nu},
        {"x = a & b", "&", pl},
        {"d = #2024-03-05#", "#2024-03-05#", nu},
        {"d = #3/5/2024 10:30 AM# + 1", "#3/5/2024 10:30 AM#", nu},
        {"d = #abc def", "#abc def", pl},
        // Conditional compilation markers of JScript.
        {"/*@cc_on @*/", "/*@cc_on", kw},
        {"/*@if (x)", "/*@if", kw},
        {"/*@cc_on @*/", "@*/", kw},
        {"@if (@_jscript_version >= 5)", "@_jscript_version", kw},
    };
    for (const Row& row : rows)
        EXPECT_EQ(colourOf(row.text, row.token), row.colour) << row.text << "  token: " << row.token;
}

TEST(Colorizer, CommentsAreItalicAndNothingElse)
{
    const Styled s = walk(Colorizer().Colorize("Dim x ' note\nx = \"s\" // c"));
    for (std::size_t k = 0; k < s.text.size(); ++k)
        EXPECT_EQ(s.italic[k], s.colour[k] == Colorizer::kCommentColour) << "at " << k << " in " << s.text;
}

TEST(Colorizer, ShowsEveryCharacterOfRealScripts)
{
    for (const char* name : {"InvoiceReminder.vbs", "OrderSync.js"}) {
        const std::string script = zel::test::fixture("colorizer/" + std::string(name));
        ASSERT_FALSE(script.empty()) << name;
        const Styled s = walk(Colorizer().Colorize(script));
        EXPECT_EQ(s.text, Colorizer::shownText(script)) << name;
    }
}

TEST(Colorizer, GuessesTheDialectFromTheWholeScript)
{
    // The same line reads as a comment in VBScript and as a string in JScript.
    const std::string vb = "Dim s\ns = 'x' & y\nEnd Sub\n";
    const std::string js = "var s;\ns = 'x' & y\nfunction f() {\n}\n";
    EXPECT_EQ(colourOf(vb, "'x' & y"), Colorizer::kCommentColour);
    EXPECT_EQ(colourOf(js, "'x'"), Colorizer::kStringColour);
    EXPECT_EQ(colourOf(js, "& y"), Colorizer::kPlainColour);
    // Real scripts: VBScript comments with apostrophes, JScript strings in single quotes.
    EXPECT_EQ(
        colourOf(zel::test::fixture("colorizer/InvoiceReminder.vbs"), "' Sends a reminder for every overdue invoice"),
        Colorizer::kCommentColour);
    EXPECT_EQ(colourOf(zel::test::fixture("colorizer/OrderSync.js"), "'SKU \\''"), Colorizer::kStringColour);
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
