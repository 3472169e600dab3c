#include "platform/script/EditorSyntaxCheck.h"

#include <gtest/gtest.h>

namespace zel::script {
namespace {

TEST(EditorSyntaxCheck, PassingScriptsLeaveTheMessage_SevenLineMessage_RepeatedChecksGiveTheSameAnswer)
{
    // An empty script, one calling DataRiver inside a function and one defining its own DataRiver pass
    // and leave the message as it was.
    ScriptControl control;
    std::string message = "untouched";
    for (const char* script :
         {"",
          "Option Explicit\r\nFunction Amount()\r\n    Amount = CDbl(DataRiver(\"Amount\")) * 1.21\r\n"
          "End Function\r\nDim total : total = Amount()\r\n",
          "Function DataRiver(id) : DataRiver = id : End Function"})
        EXPECT_TRUE(checkScriptSyntax(control, script, message)) << script;
    EXPECT_EQ(message, "untouched");
    EXPECT_FALSE(checkScriptSyntax(control, "Dim s\r\ns = \"Hello\r\nMsgBox s", message));
    EXPECT_EQ(message, "Error.\r\n"
                       "Number: 1033\r\n"
                       "Desc: Unterminated string constant\r\n"
                       "Column: 5\r\n"
                       "Line: 2\r\n"
                       "Text: s = \"Hello\r\n"
                       "Source: VBScript compilation error");
    EXPECT_EQ(control.Error().Line, 2);
    // Every check adds the placeholder again and nothing is ever reset: repeated checks give the same
    // answer.
    const std::string good = "Function Twice(x) : Twice = 2 * DataRiver(x) : End Function";
    const std::string bad = "For i = 1 To 3\r\n";
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(checkScriptSyntax(control, good, message));
        EXPECT_FALSE(checkScriptSyntax(control, bad, message));
        EXPECT_NE(message.find("Number: 1020\r\n"), std::string::npos) << message;
        EXPECT_NE(message.find("Line: 2\r\n"), std::string::npos) << message;
    }
    // Lines count from the script, not from the placeholder added before it.
    EXPECT_FALSE(checkScriptSyntax(control, "Next", message));
    EXPECT_NE(message.find("\r\nLine: 1\r\nText: Next\r\nSource: "), std::string::npos) << message;
}

// Language names match ignoring case; JScript scripts get a JScript placeholder and their errors name
// their own source.
TEST(EditorSyntaxCheck, JScriptScriptsGetAJScriptPlaceholder)
{
    ScriptControl control;
    ASSERT_TRUE(control.SetLanguage("javascript"));
    EXPECT_EQ(control.Language(), "JScript");
    std::string message;
    EXPECT_TRUE(
        checkScriptSyntax(control, "var v = DataRiver(\"Amount\");\nfunction f() { return DataRiver(1); }", message));
    EXPECT_TRUE(checkScriptSyntax(control, "", message));
    EXPECT_FALSE(checkScriptSyntax(control, "var a = 1;\nvar s = 'open;", message));
    EXPECT_NE(message.find("Number: 1015\r\n"), std::string::npos) << message;
    EXPECT_NE(message.find("\r\nLine: 2\r\n"), std::string::npos) << message;
    EXPECT_NE(message.find("Source: JScript compilation error"), std::string::npos) << message;
    EXPECT_EQ(message.find("\r\n", message.size() - 2), std::string::npos);
}

} // namespace
} // namespace zel::script
