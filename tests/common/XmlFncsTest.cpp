#include "common/XmlFncs.h"
#include "common/General.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "hostparts/defaults/SmallComponents.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

using namespace XmlFncs;
using test::raisedBy;

XmlNode element(const std::string& xml)
{
    return XmlNode::parse(xml).documentElement();
}

// The three ways of putting a value into an element agree: empty or blank gives an empty element,
// one well-formed element goes in as XML, anything else as CDATA.
TEST(XmlFncsEmbedding, ValueRules_AddingKeepsContent_MadeElementsAreDetached)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "<v/>"},
        {"    ", "<v/>"},
        {"plain", "<v><![CDATA[plain]]></v>"},
        {"<root><child>1</child></root>", "<v><root><child>1</child></root></v>"},
        {"<?xml version=\"1.0\"?><r a=\"1\"/>", "<v><r a=\"1\"/></v>"},
        {"<unclosed>", "<v><![CDATA[<unclosed>]]></v>"},
        {"<a/><b/>", "<v><![CDATA[<a/><b/>]]></v>"},
    };
    for (const auto& [value, expected] : cases) {
        XmlNode parent = element("<p/>");
        XmlNode v = element("<v/>");
        EXPECT_EQ(xmlMakeAndAddElement(parent, "v", value).xml(), expected) << "[" << value << "]";
        EXPECT_EQ(xmlMakeElement("v", value).xml(), expected) << "[" << value << "]";
        EXPECT_EQ(xmlAddDataToNode(v, value).xml(), expected) << "[" << value << "]";
    }
    XmlNode v = element("<v><old/></v>");
    xmlAddDataToNode(v, "text");
    xmlAddDataToNode(v, "<new/>");
    EXPECT_EQ(v.xml(), "<v><old/><![CDATA[text]]><new/></v>");
    EXPECT_TRUE(xmlMakeElement("Empty", "").parent().isNone());
}

// A CDATA terminator inside the value survives a round trip.
TEST(XmlFncsAddCData, ReplacesTheWholeContent_KeepsATerminatorInTheValue)
{
    XmlNode v = element("<v>text<child/><![CDATA[old]]></v>");
    xmlAddCDATA(v, "a ]]> b");
    EXPECT_EQ(element(v.xml()).text(), "a ]]> b");
    XmlNode none;
    EXPECT_TRUE(xmlAddCDATA(none, "x").isNone());
}

TEST(XmlFncsValueGet, ReadsByPathAndAnswersEmptyForMissing_SmtpPasswordIsDecrypted)
{
    EXPECT_TRUE(xmlMakeNode("<a>").isNone());
    EXPECT_TRUE(xmlMakeNode("").isNone());
    const XmlNode root = element("<r><a id=\" 7 \">  one  </a><b><c><![CDATA[two]]></c></b></r>");
    const std::vector<std::pair<std::string, std::string>> reads = {
        {"a", "  one  "}, {"b/c", "two"}, {"missing", ""}, {"a/@id", " 7 "}, {"a/@other", ""}, {"", "  one  two"},
    };
    for (const auto& [path, value] : reads)
        EXPECT_EQ(xmlNodeValueGet(root, path), value) << path;
    EXPECT_EQ(xmlNodeValueGet(XmlNode(), "a"), "");

    registerDefaultComponents();
    const XmlNode mail = element("<Mail SmtpPassword=\"" + DataEncode::Encode("by attribute") + "\"><SmtpPassword>" +
                                 DataEncode::Encode("s3cret pass") + "</SmtpPassword><User>ZEL1:x</User></Mail>");
    EXPECT_EQ(xmlNodeValueGet(mail, "SmtpPassword"), "s3cret pass");
    EXPECT_EQ(xmlNodeValueGet(mail, "User"), "ZEL1:x");
    EXPECT_EQ(xmlNodeValueGet(mail, "@SmtpPassword"), "by attribute");
}

TEST(XmlFncsTags, FailuresCarryTheFunctionsTag)
{
    XmlNode none;
    std::string path = "a/b", bad = "a[[";
    const std::vector<std::pair<std::function<void()>, std::string>> calls = {
        {[] { xmlAddDataToNode(XmlNode(), "x"); }, " XmlFncs.xmlAddDataToNode() "},
        {[] { xmlNodeValueGet(element("<r/>"), "a[["); }, " XmlFncs.xmlNodeValueGet() "},
        {[&] { xmlMakeAndAddElement(none, "a", "x"); }, " XmlFncs.xmlMakeAndAddElement() "},
        {[&] { xmlNodeXPathSubNodesCreate(XmlNode(), path); }, " XmlFncs.xmlNodeXPathSubNodesCreate() "},
        {[&] { xmlNodeXPathSubNodesCreate(element("<r/>"), bad); }, " XmlFncs.xmlNodeXPathSubNodesCreate() "},
    };
    for (const auto& [call, tag] : calls)
        EXPECT_TRUE(raisedBy(call).Source.ends_with(tag)) << tag;
}

TEST(GeneralPaths, GetValidPath)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:/data\\lang/x.lng", "C:\\data\\lang\\x.lng"},
        {"\\\\server/share\\file", "\\\\server\\share\\file"},
        {"data\\lang/en.lng", "data/lang/en.lng"},
        {"weird:name/with/slash", "weird:name\\with\\slash"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(General::GetValidPath(in), out) << in;
}

TEST(GeneralNodes, GetNewNodeTrimsTheCallersName)
{
    std::string name = "  Languages ", none, other = "x";
    const XmlNode node = General::GetNewNode(General::kNodeElement, name);
    EXPECT_EQ(name, "Languages");
    EXPECT_EQ(node.name(), "Languages");
    EXPECT_TRUE(node.parent().isNone());
    EXPECT_EQ(General::GetNewNode(General::kNodeCData, none).type(), XmlNodeType::CData);
    const ErrorRecord e = raisedBy([&] { General::GetNewNode(8, other); });
    EXPECT_EQ(e.Number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(e.Source, " General.GetNewNode() ");
}

// Loading a pattern and a missing one are driven by the form-engine tests; a malformed one raises the
// parser's own number and reason.
TEST(GeneralPattern, AMalformedPatternRaisesTheParsersNumberAndReason)
{
    test::TempDir dir;
    std::string folder = dir.path().string();
    test::writeFile(dir / "Broken.xml", "<a>\n  <b>\n</a>");
    const ErrorRecord broken = raisedBy([&] { General::GetPattern("Broken", folder); });
    XmlParseError parser;
    ASSERT_TRUE(XmlNode::parse("<a>\n  <b>\n</a>", &parser).isNone());
    // The description is the parser's reason and nothing else: the place stays with the parser.
    EXPECT_EQ(broken.Description, "DOM : " + parser.reason);
    EXPECT_EQ(broken.Number, parser.number);
    EXPECT_EQ(broken.Source, " General.GetPattern() ");
}

TEST(XmlFncsDomLoad, EmptyPathMeansTheFileBesideTheComponent)
{
    test::ModuleInTempDir module;
    EXPECT_TRUE(xmlDomLoad("").isNone());
    test::writeFile(module.folder() / "zeltest.xml", "<Settings><A>1</A></Settings>");
    EXPECT_EQ(xmlDomLoad("").name(), "Settings");
    EXPECT_TRUE(xmlDomLoad((module.folder() / "missing.xml").string()).isNone());
}

} // namespace
} // namespace zel
