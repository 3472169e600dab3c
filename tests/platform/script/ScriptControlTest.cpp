#include "platform/script/ScriptControl.h"

#include <gtest/gtest.h>

namespace zel::script {
namespace {

TEST(ScriptControl, StartsAsVBScriptWithNoErrorAndNoCode)
{
    ScriptControl control;
    EXPECT_EQ(control.Language(), "VBScript");
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_EQ(control.UnitCount(), 0u);
}

TEST(ScriptControl, LanguageNamesAreMatchedIgnoringCase)
{
    ScriptControl control;
    EXPECT_TRUE(control.SetLanguage("vbscript"));
    EXPECT_EQ(control.Language(), "VBScript");
    EXPECT_FALSE(control.SetLanguage("Perl"));
    EXPECT_FALSE(control.SetLanguage(""));
    EXPECT_EQ(control.Language(), "VBScript");
}

TEST(ScriptControl, FailedAddCodeFillsEveryFieldOfTheError)
{
    ScriptControl control;
    EXPECT_FALSE(control.AddCode("Dim a\r\nx = \"abc\r\nDim b"));
    const ScriptError& error = control.Error();
    EXPECT_EQ(error.Number, 1033);
    EXPECT_EQ(error.Description, "Unterminated string constant");
    EXPECT_EQ(error.Line, 2);
    EXPECT_EQ(error.Column, 5);
    EXPECT_EQ(error.Text, "x = \"abc");
    EXPECT_EQ(error.Source, "VBScript compilation error");
    EXPECT_EQ(control.UnitCount(), 0u);
}

TEST(ScriptControl, ErrorAtTheEndOfTextIsOnTheLastLine)
{
    ScriptControl control;
    EXPECT_FALSE(control.AddCode("If a Then\n  b = 1"));
    EXPECT_EQ(control.Error().Number, 1014);
    EXPECT_EQ(control.Error().Line, 2);
    EXPECT_EQ(control.Error().Column, 8);
    EXPECT_EQ(control.Error().Text, "  b = 1");
}

TEST(ScriptControl, ColumnsCountUtf16UnitsFromOne)
{
    ScriptControl control;
    // "é" is one unit, the emoji two; the error is at the second quote.
    EXPECT_FALSE(control.AddCode("x = \"\xC3\xA9\xF0\x9F\x98\x80\" & \"open"));
    EXPECT_EQ(control.Error().Column, 13);
    EXPECT_FALSE(control.AddCode("\tx = (1"));
    EXPECT_EQ(control.Error().Column, 8);
}

TEST(ScriptControl, SuccessfulAddCodeClearsTheLastErrorAndKeepsTheUnit)
{
    ScriptControl control;
    EXPECT_FALSE(control.AddCode("x = ("));
    EXPECT_TRUE(control.AddCode("x = 1"));
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_TRUE(control.Error().Description.empty());
    EXPECT_TRUE(control.AddCode(""));
    EXPECT_EQ(control.UnitCount(), 2u);
}

TEST(ScriptControl, ClearErrorForgetsTheErrorButNotTheCode)
{
    ScriptControl control;
    EXPECT_TRUE(control.AddCode("Sub A : End Sub"));
    EXPECT_FALSE(control.AddCode("Next"));
    control.ClearError();
    EXPECT_EQ(control.Error().Number, 0);
    EXPECT_TRUE(control.Error().Text.empty());
    EXPECT_EQ(control.UnitCount(), 1u);
    control.Reset();
    EXPECT_EQ(control.UnitCount(), 0u);
}

TEST(ScriptControl, EachUnitChecksNamesOnItsOwn)
{
    ScriptControl control;
    EXPECT_TRUE(control.AddCode("Function F(a) : F = a : End Function\nDim g"));
    EXPECT_TRUE(control.AddCode("Function F(a) : F = a + 1 : End Function\nDim g"));
    EXPECT_FALSE(control.AddCode("Dim h\nDim h"));
    EXPECT_EQ(control.Error().Number, 1041);
    EXPECT_EQ(control.Error().Line, 2);
}

TEST(ScriptControl, OptionExplicitMayOpenAnyUnit)
{
    ScriptControl control;
    EXPECT_TRUE(control.AddCode("Dim a"));
    EXPECT_TRUE(control.AddCode("Option Explicit\nDim b"));
}

TEST(ScriptControl, SettingTheLanguageStartsAgain)
{
    ScriptControl control;
    EXPECT_TRUE(control.AddCode("x = 1"));
    EXPECT_FALSE(control.AddCode("x = ("));
    EXPECT_TRUE(control.SetLanguage("VBScript"));
    EXPECT_EQ(control.UnitCount(), 0u);
    EXPECT_EQ(control.Error().Number, 0);
}

#ifdef ZEL_HAVE_JSCRIPT_TESTS
TEST(ScriptControl, JScriptErrorsNameTheirSource)
{
    ScriptControl control;
    ASSERT_TRUE(control.SetLanguage("JScript"));
    EXPECT_EQ(control.Language(), "JScript");
    EXPECT_TRUE(control.AddCode("var a = 1;\nfunction f(x) { return x * 2; }"));
    EXPECT_FALSE(control.AddCode("var a = 1;\nvar s = \"open;\n"));
    EXPECT_EQ(control.Error().Number, 1015);
    EXPECT_EQ(control.Error().Line, 2);
    EXPECT_EQ(control.Error().Source, "JScript compilation error");
    EXPECT_FALSE(control.Error().Description.empty());
    EXPECT_TRUE(control.SetLanguage("javascript"));
    EXPECT_EQ(control.Language(), "JScript");
}
#endif

} // namespace
} // namespace zel::script
