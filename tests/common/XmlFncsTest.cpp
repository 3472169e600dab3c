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

TEST(XmlFncsEmbedding, ValueRules_AddingKeepsContent_MadeElementsAreDetached)
{
    struct Case
    {
        std::string value;
        std::string expectedXml;
    };
    const std::vector<Case> cases = {
        {"", "<v/>"},
        {"    ", "<v/>"},
        {"plain", "<v><![CDATA[plain]]></v>"},
        {"<root><child>1</child></root>", "<v><root><child>1</child></root></v>"},
        {"<?xml version=\"1.0\"?><r a=\"1\"/>", "<v><r a=\"1\"/></v>"},
        {"<unclosed>", "<v><![CDATA[<unclosed>]]></v>"},
        {"<a/><b/>", "<v><![CDATA[<a/><b/>]]></v>"},
    };
    for (const Case& c : cases) {
        XmlNode parent = element("<p/>");
        const XmlNode made = xmlMakeAndAddElement(parent, "v", c.value);
        EXPECT_EQ(made.xml(), c.expectedXml) << "value: [" << c.value << "]";
        EXPECT_EQ(xmlMakeElement("v", c.value).xml(), c.expectedXml) << "value: [" << c.value << "]";
        XmlNode v = element("<v/>");
        EXPECT_EQ(xmlAddDataToNode(v, c.value).xml(), c.expectedXml) << "value: [" << c.value << "]";
    }
    // Adding keeps what the node holds; a made element is detached.
    XmlNode v = element("<v><old/></v>");
    xmlAddDataToNode(v, "text");
    xmlAddDataToNode(v, "<new/>");
    EXPECT_EQ(v.xml(), "<v><old/><![CDATA[text]]><new/></v>");
    const XmlNode made = xmlMakeElement("Empty", "");
    EXPECT_EQ(made.name(), "Empty");
    EXPECT_TRUE(made.children().empty());
    EXPECT_TRUE(made.parent().isNone());
}

TEST(XmlFncsAddCData, ReplacesTheWholeContent)
{
    XmlNode v = element("<v>text<child/><![CDATA[old]]></v>");
    xmlAddCDATA(v, "  new value ");
    EXPECT_EQ(v.xml(), "<v><![CDATA[  new value ]]></v>");
    EXPECT_EQ(v.text(), "  new value ");
    xmlAddCDATA(v, "   ");
    EXPECT_EQ(v.xml(), "<v/>");
    EXPECT_EQ(v.text(), "");
    // A CDATA terminator inside the value survives a round trip.
    xmlAddCDATA(v, "a ]]> b");
    EXPECT_EQ(element(v.xml()).text(), "a ]]> b");
    XmlNode none;
    EXPECT_TRUE(xmlAddCDATA(none, "x").isNone());
}

TEST(XmlFncsValueGet, ReadsByPathAndAnswersEmptyForMissing_MakeNodeGivesNoneForNotWellFormed)
{
    EXPECT_TRUE(xmlMakeNode("<a>").isNone());
    EXPECT_TRUE(xmlMakeNode("").isNone());
    const XmlNode root = element("<r><a>  one  </a><b><c><![CDATA[two]]></c></b></r>");
    EXPECT_EQ(xmlNodeValueGet(root, "a"), "  one  ");
    EXPECT_EQ(xmlNodeValueGet(root, "b/c"), "two");
    EXPECT_EQ(xmlNodeValueGet(root, "missing"), "");
    EXPECT_EQ(xmlNodeValueGet(element("<r><a id=\" 7 \"/></r>"), "a/@id"), " 7 ");
    EXPECT_EQ(xmlNodeValueGet(element("<r><a id=\"7\"/></r>"), "a/@other"), "");
    EXPECT_EQ(xmlNodeValueGet(root, ""), "  one  two");
    EXPECT_EQ(xmlNodeValueGet(XmlNode(), "a"), "");
}

TEST(XmlFncsValueGet, SmtpPasswordIsDecrypted)
{
    registerDefaultComponents();
    const XmlNode root = element("<Mail><SmtpPassword>" + DataEncode::Encode("s3cret pass") +
                                 "</SmtpPassword><User>ZEL1:x</User></Mail>");
    EXPECT_EQ(xmlNodeValueGet(root, "SmtpPassword"), "s3cret pass");
    EXPECT_EQ(xmlNodeValueGet(root, "User"), "ZEL1:x");
    const XmlNode attributes = element("<Mail SmtpPassword=\"" + DataEncode::Encode("by attribute") + "\"/>");
    EXPECT_EQ(xmlNodeValueGet(attributes, "@SmtpPassword"), "by attribute");
}

TEST(XmlFncsSubNodes, CreatesOnlyTheMissingTail)
{
    const XmlNode root = element("<r><a><b/></a><z/></r>");
    std::string path = "a/b/c/d";
    xmlNodeXPathSubNodesCreate(root, path);
    EXPECT_EQ(root.xml(), "<r><a><b><c><d/></c></b></a><z/></r>");
    std::string existing = "a/b";
    EXPECT_TRUE(xmlNodeXPathSubNodesCreate(root, existing).sameNode(root));

    std::string fresh = "x/y";
    xmlNodeXPathSubNodesCreate(root, fresh);
    EXPECT_EQ(root.xml(), "<r><a><b><c><d/></c></b></a><z/><x><y/></x></r>");
}

TEST(XmlFncsTags, FailuresCarryTheFunctionsTag)
{
    const std::vector<std::pair<std::function<void()>, std::string>> calls = {
        {[] { xmlAddDataToNode(XmlNode(), "x"); }, " XmlFncs.xmlAddDataToNode() "},
        {[] { xmlNodeValueGet(element("<r/>"), "a[["); }, " XmlFncs.xmlNodeValueGet() "},
        {[] {
             XmlNode none;
             xmlMakeAndAddElement(none, "a", "x");
         },
         " XmlFncs.xmlMakeAndAddElement() "},
        {[] {
             std::string path = "a/b";
             xmlNodeXPathSubNodesCreate(XmlNode(), path);
         },
         " XmlFncs.xmlNodeXPathSubNodesCreate() "},
        {[] {
             std::string path = "a[[";
             xmlNodeXPathSubNodesCreate(element("<r/>"), path);
         },
         " XmlFncs.xmlNodeXPathSubNodesCreate() "},
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
    std::string name = "  Languages ";
    const XmlNode node = General::GetNewNode(General::kNodeElement, name);
    EXPECT_EQ(name, "Languages");
    EXPECT_EQ(node.name(), "Languages");
    EXPECT_TRUE(node.parent().isNone());

    std::string none;
    EXPECT_EQ(General::GetNewNode(General::kNodeCData, none).type(), XmlNodeType::CData);

    std::string other = "x";
    const ErrorRecord e = raisedBy([&] { General::GetNewNode(8, other); });
    EXPECT_EQ(e.Number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(e.Source, " General.GetNewNode() ");
}

TEST(GeneralPattern, LoadsTheRootElement_MissingOrMalformedRaisesTheParsersError)
{
    test::TempDir dir;
    std::string folder = dir.path().string();
    test::writeFile(dir / "DefaultScript.xml", "<?xml version=\"1.0\"?>\n<Script><RobotScript/></Script>");
    EXPECT_EQ(General::GetPattern("DefaultScript", folder).xml(), "<Script><RobotScript/></Script>");
    const ErrorRecord missing = raisedBy([&] { General::GetPattern("Nope", folder); });
    EXPECT_NE(missing.Number, 0);
    EXPECT_TRUE(missing.Description.starts_with("DOM : ")) << missing.Description;
    EXPECT_EQ(missing.Source, " General.GetPattern() ");

    test::writeFile(dir / "Broken.xml", "<a>\n  <b>\n</a>");
    const ErrorRecord broken = raisedBy([&] { General::GetPattern("Broken", folder); });
    XmlParseError parser;
    ASSERT_TRUE(XmlNode::parse("<a>\n  <b>\n</a>", &parser).isNone());
    // The description is the parser's reason and nothing else: the place stays with the parser.
    EXPECT_EQ(broken.Description, "DOM : " + parser.reason);
    EXPECT_EQ(broken.Number, parser.number);
    EXPECT_NE(broken.Number, missing.Number);
}

TEST(XmlFncsDomLoad, EmptyPathMeansTheFileBesideTheComponent)
{
    test::ModuleInTempDir module;
    EXPECT_TRUE(xmlDomLoad("").isNone());
    test::writeFile(module.folder() / "zeltest.xml", "<Settings><A>1</A></Settings>");
    EXPECT_EQ(xmlDomLoad("").name(), "Settings");
    EXPECT_TRUE(xmlDomLoad((module.folder() / "missing.xml").string()).isNone());
}

TEST(GeneralLanguage, CheckLangInDiskAsksForFolderSeparatorIdAndExtension)
{
    test::TempDir dir;
    const std::string folder = dir.path().string();
    test::writeFile(dir / "en.lng", "[frmMain]\n");
    std::filesystem::create_directories(dir / "sub");
    test::writeFile(dir / "sub" / "es.lng", "[frmMain]\n");
    std::filesystem::create_directories(dir / "folder.lng");
    EXPECT_TRUE(General::CheckLangInDisk("en", folder));
    EXPECT_TRUE(General::CheckLangInDisk("en", folder + "/"));
    EXPECT_TRUE(General::CheckLangInDisk("es", folder + "\\sub"));
    EXPECT_FALSE(General::CheckLangInDisk("fr", folder));
    EXPECT_FALSE(General::CheckLangInDisk("folder", folder));
    // An empty id names the file ".lng" of the folder, like any other id.
    EXPECT_FALSE(General::CheckLangInDisk("", folder));
    test::writeFile(dir / ".lng", "[frmMain]\n");
    EXPECT_TRUE(General::CheckLangInDisk("", folder));
}

} // namespace
} // namespace zel
