// The VBScript front end on hostile and large input, on truncated scripts and on the fixture corpus.
#include "VBScriptTestSupport.h"

#include <random>
#include <vector>

namespace zel::script::test {
namespace {

using namespace std::string_view_literals;

// A verdict is well formed when it is a pass, or an error with a published text inside the text.
void expectWellFormed(const Diagnostic& verdict, std::size_t size)
{
    if (verdict.ok())
        return;
    EXPECT_FALSE(vbscript::description(verdict.number).empty()) << verdict.number;
    EXPECT_LE(verdict.offset, size);
}

// NUL bytes and invalid UTF-8 are invalid characters outside strings and comments; lone CRs end lines.
const SyntaxRow kHostileText[] = {
    {"x = 1\0"sv, 1032, 1, 6},
    {"\0"sv, 1032, 1, 1},
    {"x = \"a\0b\" ' c\0d\nRem \0\n"sv, 0},
    {"x = \"\xC3\x28 \xE2\x82 \xF8\x88\x80\x80\x80 \xED\xA0\x80\" ' \xFF\xFE\n", 0},
    {"x\xC3\x28 = 1", 1032, 1, 2},
    {"x = \xED\xA0\x80", 1032, 1, 5},
    {"x = \xC0\xAF", 1032, 1, 5},
    {"\xEF\xBB\xBFx = 1", 0},
    {"x = 1 \xEF\xBB\xBF", 1032, 1, 7},
    {"If a Then\rb = 1\rEnd If\r", 0},
    {"If a Then\rb = 1\rEnd Sub\r", 1012, 3, 5},
    {"a = 1\r\n\rb = (\r", 1023, 3, 6},
};

TEST(VBScriptInput, HostileBytesAndLineEnds)
{
    for (const SyntaxRow& row : kHostileText)
        checkSyntax(row);
}

TEST(VBScriptInput, DeepNestingGivesAnErrorNotACrash_ModerateNestingCompiles)
{
    const int depth = 10000;
    for (const std::string& deep :
         {"x = " + repeat("(", depth) + "1" + repeat(")", depth),
          repeat("If a Then\n", depth) + repeat("End If\n", depth), "x = " + repeat("f(", depth),
          "x = " + repeat("-", depth) + "1", "x = " + repeat("Not ", depth) + "1"})
        EXPECT_EQ(vbscript::check(deep).number, 1001) << deep.substr(0, 20);
    std::string blocks;
    for (int i = 0; i < 200; ++i)
        blocks += i % 3 == 0 ? "If a Then\n" : i % 3 == 1 ? "For i = 1 To 2\n" : "Do While b\n";
    for (int i = 199; i >= 0; --i)
        blocks += i % 3 == 0 ? "End If\n" : i % 3 == 1 ? "Next\n" : "Loop\n";
    EXPECT_TRUE(vbscript::check(blocks).ok());
}

TEST(VBScriptInput, FiftyMegabytesGetAVerdict)
{
    std::string line = "total = total + Len(\"some text\") * 2 ' running sum\r\n";
    std::string big;
    big.reserve(50u * 1024 * 1024 + line.size());
    while (big.size() < 50u * 1024 * 1024)
        big += line;
    EXPECT_TRUE(vbscript::check(big).ok());
    big += "x = \"open";
    Diagnostic verdict = vbscript::check(big);
    EXPECT_EQ(verdict.number, 1033);
    EXPECT_EQ(verdict.offset, big.size() - 5);
}

TEST(VBScriptInput, RandomBytesGetAVerdict)
{
    std::mt19937 random(20240601);
    const std::string alphabet =
        "If Then Else End Sub Function Class For Next Do Loop ()\"'_:.,=&#[]\r\n\t \x00\xC3\xFF";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        expectWellFormed(vbscript::check(text), text.size());
    }
}

TEST(VBScriptInput, ValidFixturesCompileAndEveryPrefixGetsAVerdict)
{
    const auto files = dataFiles("script/vbscript", "ok_", ".vbs");
    ASSERT_GE(files.size(), 5u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::string text = readFile(file);
        ASSERT_FALSE(text.empty());
        Diagnostic whole = vbscript::check(text);
        EXPECT_TRUE(whole.ok()) << whole.number << " " << vbscript::description(whole.number) << " at line "
                                << locate(text, whole.offset).line;
        std::size_t passes = 0;
        for (std::size_t n = 0; n <= text.size(); ++n) {
            Diagnostic verdict = vbscript::check(std::string_view(text).substr(0, n));
            expectWellFormed(verdict, n);
            passes += verdict.ok() ? 1 : 0;
        }
        // The whole script and the empty prefix compile; a cut inside a block never does.
        EXPECT_GE(passes, 2u);
    }
}

// Each error fixture names its expected error in its first line: "' expect NUMBER LINE COLUMN".
TEST(VBScriptInput, ErrorFixturesReportTheExpectedError_ABlockCutShortMissesItsEnd)
{
    const auto files = dataFiles("script/vbscript", "err_", ".vbs");
    ASSERT_GE(files.size(), 5u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::string text = readFile(file);
        int number = 0, line = 0, column = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "' expect %d %d %d", &number, &line, &column), 3);
        checkSyntax({text, number, line, column});
    }
    // Cutting a block short reports the missing end at the end of the text.
    std::string text = zel::test::fixture("script/vbscript/ok_classes.vbs");
    std::size_t classEnd = text.find("End Class");
    ASSERT_NE(classEnd, std::string::npos);
    Diagnostic verdict = vbscript::check(std::string_view(text).substr(0, classEnd));
    EXPECT_EQ(verdict.number, 1014);
    EXPECT_EQ(verdict.offset, classEnd);
}

} // namespace
} // namespace zel::script::test
