#include "platform/xml/XmlNode.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

XmlNode parse(const std::string& text)
{
    XmlParseError error;
    XmlNode doc = XmlNode::parse(text, &error);
    EXPECT_FALSE(doc.isNone()) << error.reason << " at " << error.line << ":" << error.column;
    return doc;
}

TEST(XmlNodeNames, XPathMatchesNamesAsWrittenPrefixIncluded)
{
    const XmlNode doc = parse("<wsdl:definitions xmlns:wsdl='urn:w' xmlns:s='urn:s'><wsdl:types>"
                              "<s:schema><s:element name='Add'/></s:schema></wsdl:types></wsdl:definitions>");
    EXPECT_EQ(doc.selectNodes("//s:element").size(), 1u);
    EXPECT_TRUE(doc.selectSingleNode("//xsd:element").isNone());
    EXPECT_TRUE(doc.selectSingleNode("//element").isNone());
    const XmlNode element = doc.selectSingleNode("//s:element[@name='Add']");
    EXPECT_EQ(element.name(), "s:element");
    EXPECT_EQ(element.baseName(), "element");
    EXPECT_EQ(element.attribute("name"), "Add");
}

TEST(XmlNodeText, ReadExactlyAsStored_SetTextReplacesChildren_XmlHasNoDeclarationOrFormatting)
{
    const XmlNode declared = parse("<?xml version='1.0'?>\n<r>\n  <a x='1'>t</a>\n</r>");
    EXPECT_EQ(declared.documentElement().xml(), "<r><a x=\"1\">t</a></r>");
    EXPECT_EQ(declared.xml().find("<?xml"), std::string::npos);
    const XmlNode doc = parse("<r><a>  two  blanks  </a><b>x<![CDATA[ <y> ]]>z</b><c>&lt;&amp;&gt;</c></r>");
    EXPECT_EQ(doc.selectSingleNode("r/a").text(), "  two  blanks  ");
    EXPECT_EQ(doc.selectSingleNode("r/b").text(), "x <y> z");
    EXPECT_EQ(doc.selectSingleNode("r/c").text(), "<&>");
    EXPECT_EQ(doc.documentElement().text(), "  two  blanks  x <y> z<&>");
    XmlNode root = parse("<r><a/>old</r>").documentElement();
    root.setText("new & <text>");
    EXPECT_EQ(root.xml(), "<r>new &amp; &lt;text&gt;</r>");
    root.setText("");
    EXPECT_TRUE(root.children().empty());
}

TEST(XmlNodeParse, ErrorsCarryNumberReasonLineAndColumn_OneTopLevelElement_NoDuplicateAttributes)
{
    XmlParseError error;
    EXPECT_TRUE(XmlNode::parse("<a>\n  <b>\n  </c>\n</a>", &error).isNone());
    EXPECT_NE(error.number, 0);
    EXPECT_FALSE(error.reason.empty());
    EXPECT_EQ(error.line, 3);
    EXPECT_GT(error.column, 1);

    XmlParseError other;
    EXPECT_TRUE(XmlNode::parse("<a attr=></a>", &other).isNone());
    EXPECT_NE(other.number, error.number);

    XmlParseError missing;
    EXPECT_TRUE(XmlNode::load("/nonexistent/file.xml", &missing).isNone());
    EXPECT_NE(missing.number, 0);

    // Only one top-level element, no duplicate attributes; a declared Latin-1 text is decoded.
    for (const char* text : {"<a/><b/>", "text only", "<a/>trailing", "", "   "}) {
        XmlParseError bad;
        EXPECT_TRUE(XmlNode::parse(text, &bad).isNone()) << text;
        EXPECT_NE(bad.number, 0) << text;
        EXPECT_FALSE(bad.reason.empty()) << text;
    }
    EXPECT_FALSE(XmlNode::parse("<!-- c --><a/><?pi x?>").isNone());
    error = {};
    EXPECT_TRUE(XmlNode::parse("<r>\n<a x='1' y='2' x='3'/></r>", &error).isNone());
    EXPECT_NE(error.reason.find("Duplicate attribute"), std::string::npos) << error.reason;
    EXPECT_EQ(error.line, 2);
    EXPECT_TRUE(XmlNode::parse("<r xmlns:s='a' xmlns:s='b'/>").isNone());
    EXPECT_FALSE(XmlNode::parse("<r a='1'><a a='1' b='2'/><b a='1'/></r>").isNone());
    const std::string latin1 = "<?xml version='1.0' encoding='ISO-8859-1'?><r>caf\xE9</r>";
    EXPECT_EQ(XmlNode::parse(latin1).documentElement().text(), "caf\xC3\xA9");
}

TEST(XmlNodeParse, EntityDeclarationsAreNeverExpanded)
{
    std::string bomb = "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>";
    for (int i = 1; i < 10; ++i)
        bomb += "<!ENTITY lol" + std::to_string(i) + " '" + std::string("&lol") + (i > 1 ? std::to_string(i - 1) : "") +
                ";&lol" + (i > 1 ? std::to_string(i - 1) : "") + ";'>";
    bomb += "<!ENTITY ext SYSTEM 'file:///etc/passwd'>]><lolz>&lol9;&ext;</lolz>";
    const XmlNode doc = XmlNode::parse(bomb);
    ASSERT_FALSE(doc.isNone());
    const std::string text = doc.documentElement().text();
    EXPECT_LT(text.size(), 64u);
    EXPECT_EQ(text.find("root:"), std::string::npos);
}

TEST(XmlNodeParse, HugeValuesRoundTripUnchanged)
{
    std::string value(10 * 1024 * 1024, 'x');
    for (std::size_t i = 0; i < value.size(); i += 997)
        value[i] = static_cast<char>('a' + i % 26);
    value.front() = ' ';
    value.back() = ' ';
    XmlNode root = XmlNode::newElement("Big");
    root.appendCData(value);
    const XmlNode again = XmlNode::parse(root.xml()).documentElement();
    EXPECT_EQ(again.text(), value);
}

TEST(XmlNodeTree, AppendChildCopiesForeignNodesMovesOwnOnesRefusesNone_CloneDeepIsDetached)
{
    XmlNode target = parse("<t><first/><second/></t>").documentElement();
    const XmlNode foreign = parse("<f><g/></f>").documentElement();
    const XmlNode appended = target.appendChild(foreign);
    EXPECT_EQ(target.xml(), "<t><first/><second/><f><g/></f></t>");
    EXPECT_FALSE(appended.sameNode(foreign));
    EXPECT_EQ(foreign.parent().type(), XmlNodeType::Document);

    const XmlNode first = target.child("first");
    target.appendChild(first);
    EXPECT_EQ(target.xml(), "<t><second/><f><g/></f><first/></t>");

    const XmlNode before = target.insertBefore(XmlNode::newElement("zero"), target.child("second"));
    EXPECT_EQ(before.parent().name(), "t");
    EXPECT_EQ(target.xml(), "<t><zero/><second/><f><g/></f><first/></t>");
    EXPECT_THROW(target.appendChild(XmlNode()), ErrorRecord);

    // The document goes out of scope here; the element handle keeps it alive; a deep clone is detached.
    XmlNode original = parse("<r><a>1</a></r>").documentElement();
    EXPECT_EQ(original.child("a").parent().name(), "r");
    XmlNode copy = original.cloneDeep();
    EXPECT_TRUE(copy.parent().isNone());
    copy.child("a").setText("2");
    EXPECT_EQ(original.child("a").text(), "1");
    EXPECT_EQ(copy.xml(), "<r><a>2</a></r>");
}

TEST(XmlNodeNone, EveryQueryOnNoneAnswersEmpty)
{
    const XmlNode none;
    EXPECT_EQ(none.type(), XmlNodeType::None);
    EXPECT_EQ(none.name(), "");
    EXPECT_EQ(none.text(), "");
    EXPECT_EQ(none.xml(), "");
    EXPECT_TRUE(none.selectSingleNode("a").isNone());
    EXPECT_TRUE(none.selectNodes("a").empty());
    EXPECT_TRUE(none.cloneDeep().isNone());
}

} // namespace
} // namespace zel
