#include "platform/script/ScriptControl.h"
#include "platform/script/vbscript/VBScriptParser.h"

#include <gtest/gtest.h>

namespace zel::script {
namespace {

// A failed AddCode fills every field of the error (number, line, column, line text here); columns count
// UTF-16 units from one, and an error at the end of the text is on the last line.
TEST(ScriptControl, FailedAddCodeFillsEveryFieldOfTheError)
{
    const std::pair<const char*, std::string> cases[] = {
        {"Dim a\r\nx = \"abc\r\nDim b", "1033 2:5 x = \"abc"},
        {"If a Then\n  b = 1", "1014 2:8   b = 1"},
        {"x = \"\xC3\xA9\xF0\x9F\x98\x80\" & \"open", "1033 1:13 x = \"\xC3\xA9\xF0\x9F\x98\x80\" & \"open"},
        {"\tx = (1", "1006 1:8 \tx = (1"},
    };
    for (const auto& [source, expected] : cases) {
        ScriptControl control;
        EXPECT_FALSE(control.AddCode(source)) << source;
        const ScriptError& e = control.Error();
        EXPECT_EQ(std::to_string(e.Number) + " " + std::to_string(e.Line) + ":" + std::to_string(e.Column) + " " +
                      e.Text,
                  expected);
        EXPECT_EQ(e.Description, vbscript::description(e.Number)) << source;
        EXPECT_EQ(e.Source, "VBScript compilation error");
        EXPECT_EQ(control.UnitCount(), 0u);
    }
}

// A new control speaks VBScript; language names match ignoring case. Each unit checks its names and
// Option Explicit on its own.
TEST(ScriptControl, AddCodeKeepsUnits_SuccessClearsTheError_ClearErrorKeepsTheCode_ResetAndLanguageStartAgain)
{
    ScriptControl control;
    EXPECT_EQ(control.Language(), "VBScript");
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_EQ(control.UnitCount(), 0u);
    EXPECT_TRUE(control.SetLanguage("vbscript"));
    EXPECT_FALSE(control.SetLanguage("Perl"));
    EXPECT_EQ(control.Language(), "VBScript");
    EXPECT_FALSE(control.AddCode("x = ("));
    EXPECT_TRUE(control.AddCode("x = 1"));
    EXPECT_TRUE(control.Error().Description.empty());
    EXPECT_TRUE(control.AddCode(""));
    EXPECT_EQ(control.UnitCount(), 2u);
    EXPECT_FALSE(control.AddCode("Next"));
    control.ClearError();
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_TRUE(control.Error().Text.empty());
    EXPECT_EQ(control.UnitCount(), 2u);
    control.Reset();
    EXPECT_EQ(control.UnitCount(), 0u);
    EXPECT_TRUE(control.AddCode("x = 1"));
    EXPECT_FALSE(control.AddCode("x = ("));
    EXPECT_TRUE(control.SetLanguage("VBScript"));
    EXPECT_EQ(control.UnitCount(), 0u);
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_TRUE(control.AddCode("Function F(a) : F = a : End Function\nDim g"));
    EXPECT_TRUE(control.AddCode("Function F(a) : F = a + 1 : End Function\nDim g"));
    EXPECT_FALSE(control.AddCode("Dim h\nDim h"));
    EXPECT_EQ(control.Error().Number, 1041);
    EXPECT_EQ(control.Error().Line, 2);
    EXPECT_TRUE(control.AddCode("Option Explicit\nDim b")) << "Option Explicit may open any unit";
}

} // namespace
} // namespace zel::script
