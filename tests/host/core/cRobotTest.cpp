#include "host/cRobot.h"
#include "support/TestSupport.h"

#include <functional>

namespace zel {
namespace {

XmlNode scriptNode(const std::string& inner)
{
    return XmlNode::parse("<ScriptData>" + inner + "</ScriptData>").documentElement();
}

TEST(cRobot, WritesTheCallersNode_BlankEvalCodeLeavesTheElementEmpty_OneDefinitionAfterTheOthers_FoundByBaseName)
{
    XmlNode node = scriptNode("<RobotScript><Script><Language><![CDATA[JScript]]></Language>"
                              "<EvalCode><![CDATA[var x = 1;]]></EvalCode></Script></RobotScript>");
    cRobot robot;
    robot.SetFreeDefinition(node);
    robot.SetEvalCode("    ");
    robot.SetLanguage("VBScript");
    EXPECT_EQ(robot.GetEvalCode(), "");
    EXPECT_EQ(robot.GetAdditionalDefinition(), "");
    robot.SetAdditionalDefinition("<Definition><WebService>one</WebService></Definition>");
    robot.SetAdditionalDefinition("<Definition><WebService>two</WebService></Definition>");
    EXPECT_EQ(robot.GetAdditionalDefinition(), "<Definition><WebService>two</WebService></Definition>");
    EXPECT_EQ(node.selectSingleNode("RobotScript/Script").xml(),
              "<Script><Language><![CDATA[VBScript]]></Language><EvalCode/>"
              "<Definition><WebService>two</WebService></Definition></Script>");

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

TEST(cRobot, WritersNeverCreateMissingPartsNorFailForThem_ReadersRaise_WithoutADocumentEveryAccessRaises)
{
    cRobot robot;
    // The writers first, so that a reader after them finds whatever they created.
    const std::pair<std::function<void()>, std::string> calls[] = {
        {[&] { robot.SetEvalCode("code"); }, " cRobot.SetEvalCode() "},
        {[&] { robot.SetLanguage("VBScript"); }, " cRobot.SetLanguage() "},
        {[&] { robot.SetAdditionalDefinition("<Definition/>"); }, " cRobot.SetAdditionalDefinition() "},
        {[&] { robot.GetEvalCode(); }, " cRobot.GetEvalCode() "},
        {[&] { robot.GetLanguage(); }, " cRobot.GetLanguage() "},
        {[&] { robot.GetAdditionalDefinition(); }, " cRobot.GetAdditionalDefinition() "},
    };
    // The document ("": none) and which of the calls above raise, in their order.
    const std::pair<std::string, std::string> rows[] = {
        {"", "111111"},
        {"<RobotScript><Script><Language/></Script></RobotScript>", "000100"},
        {"<RobotScript><Script><EvalCode/></Script></RobotScript>", "000010"},
        {"<RobotScript/>", "000110"},
    };
    for (const auto& [document, raises] : rows) {
        robot.SetFreeDefinition(document.empty() ? XmlNode() : scriptNode(document));
        for (std::size_t i = 0; i < std::size(calls); ++i) {
            if (raises[i] == '1')
                test::expectRaises(calls[i].first, ErrorNumber::ObjectNotSet, calls[i].second);
            else
                EXPECT_NO_THROW(calls[i].first()) << document << calls[i].second;
        }
        if (!document.empty())
            EXPECT_EQ(robot.GetAdditionalDefinition().empty(), document.find("<Script>") == std::string::npos);
    }
}

} // namespace
} // namespace zel
