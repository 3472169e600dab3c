#include "host/cRobot.h"
#include "support/TestSupport.h"

#include <tuple>

namespace zel {
namespace {

using test::raisedBy;

XmlNode scriptNode(const std::string& inner)
{
    return XmlNode::parse("<ScriptData>" + inner + "</ScriptData>").documentElement();
}

const std::string kComplete = "<RobotScript><Script><Language><![CDATA[JScript]]></Language>"
                              "<EvalCode><![CDATA[var x = 1;]]></EvalCode></Script></RobotScript>";

TEST(cRobot, ReadsAndWritesTheCallersNode_BlankEvalCodeLeavesTheElementEmpty_OneDefinitionFoundByBaseName)
{
    XmlNode node = scriptNode(kComplete);
    cRobot robot;
    robot.SetFreeDefinition(node);
    EXPECT_EQ(robot.GetLanguage(), "JScript");
    EXPECT_EQ(robot.GetEvalCode(), "var x = 1;");
    robot.SetEvalCode("  x = 2  ");
    robot.SetLanguage("VBScript");
    EXPECT_TRUE(robot.GetFreeDefinition().sameNode(node));
    EXPECT_EQ(node.selectSingleNode("RobotScript/Script/EvalCode").xml(), "<EvalCode><![CDATA[  x = 2  ]]></EvalCode>");
    EXPECT_EQ(node.selectSingleNode("RobotScript/Script/Language").text(), "VBScript");
    robot.SetEvalCode("    ");
    EXPECT_EQ(robot.GetEvalCode(), "");
    EXPECT_EQ(node.selectSingleNode("RobotScript/Script/EvalCode").xml(), "<EvalCode/>");

    // The definition is stored once, after the language and the eval code.
    EXPECT_EQ(robot.GetAdditionalDefinition(), "");
    robot.SetAdditionalDefinition("<Definition><WebService>one</WebService></Definition>");
    robot.SetAdditionalDefinition("<Definition><WebService>two</WebService></Definition>");
    EXPECT_EQ(robot.GetAdditionalDefinition(), "<Definition><WebService>two</WebService></Definition>");
    std::vector<std::string> names;
    for (const XmlNode& child : node.selectSingleNode("RobotScript/Script").children())
        names.push_back(child.name());
    EXPECT_EQ(names, (std::vector<std::string>{"Language", "EvalCode", "Definition"}));

    robot.SetAdditionalDefinition("<not well formed");
    EXPECT_EQ(robot.GetAdditionalDefinition(), "");

    // Definitions are found by base name, prefixed ones included.
    node = scriptNode("<RobotScript><Script><Language/><ws:Definition xmlns:ws=\"urn:ws\"/><EvalCode/>"
                      "<Definition/><Definitions/></Script></RobotScript>");
    robot.SetFreeDefinition(node);
    robot.SetAdditionalDefinition("<Definition><Method>Add</Method></Definition>");
    EXPECT_EQ(node.selectSingleNode("RobotScript/Script").xml(),
              "<Script><Language/><EvalCode/><Definitions/><Definition><Method>Add</Method></Definition></Script>");
}

TEST(cRobot, MissingPartsTable)
{
    // The document; whether reading its eval code, and its language, raises.
    const std::tuple<std::string, bool, bool> cases[] = {
        {"<RobotScript><Script><Language/></Script></RobotScript>", true, false},
        {"<RobotScript><Script><EvalCode/></Script></RobotScript>", false, true},
        {"<RobotScript/>", true, true},
    };
    for (const auto& [document, evalRaises, languageRaises] : cases) {
        XmlNode node = scriptNode(document);
        cRobot robot;
        robot.SetFreeDefinition(node);
        // Writers never create the missing parts and never fail for them.
        EXPECT_NO_THROW(robot.SetEvalCode("code")) << document;
        EXPECT_NO_THROW(robot.SetLanguage("VBScript")) << document;
        EXPECT_NO_THROW(robot.SetAdditionalDefinition("<Definition/>")) << document;
        EXPECT_EQ(robot.GetAdditionalDefinition().empty(), node.selectSingleNode("RobotScript/Script").isNone());
        if (evalRaises)
            test::expectRaises([&] { robot.GetEvalCode(); }, ErrorNumber::ObjectNotSet, " cRobot.GetEvalCode() ");
        else
            EXPECT_NO_THROW(robot.GetEvalCode());
        if (languageRaises)
            test::expectRaises([&] { robot.GetLanguage(); }, ErrorNumber::ObjectNotSet, " cRobot.GetLanguage() ");
        else
            EXPECT_NO_THROW(robot.GetLanguage());
    }
}

TEST(cRobot, NoScriptNodeRaisesOnEveryAccess)
{
    cRobot robot;
    EXPECT_TRUE(robot.GetFreeDefinition().isNone());
    const std::vector<std::pair<std::function<void()>, std::string>> calls = {
        {[&] { robot.GetEvalCode(); }, " cRobot.GetEvalCode() "},
        {[&] { robot.GetLanguage(); }, " cRobot.GetLanguage() "},
        {[&] { robot.SetEvalCode("x"); }, " cRobot.SetEvalCode() "},
        {[&] { robot.SetLanguage("x"); }, " cRobot.SetLanguage() "},
        {[&] { robot.GetAdditionalDefinition(); }, " cRobot.GetAdditionalDefinition() "},
        {[&] { robot.SetAdditionalDefinition("<Definition/>"); }, " cRobot.SetAdditionalDefinition() "},
    };
    for (const auto& [call, tag] : calls)
        test::expectRaises(call, ErrorNumber::ObjectNotSet, tag);
}

} // namespace
} // namespace zel
