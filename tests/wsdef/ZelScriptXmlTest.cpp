#include "WsdefTestSupport.h"

#include "common/XmlFncs.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace zel {
namespace {

using wsdeftest::dataFile;
using wsdeftest::raisedBy;
using wsdeftest::readFile;

std::string value(const XmlNode& node, std::string_view path)
{
    return XmlFncs::xmlNodeValueGet(node, path);
}

// The children of node as "name=text", blank-separated, in document order.
std::string values(const XmlNode& node)
{
    std::string text;
    for (const XmlNode& child : node.children())
        text += (text.empty() ? "" : " ") + child.name() + "=" + child.text();
    return text;
}

// The names of the elements the part properties point at, "-" for a part that is none.
std::string parts(const ZelScriptXml& s)
{
    std::string names;
    for (const XmlNode& node : {s.pubNodeDefinition, s.pubNodeDefWebSrv, s.pubNodeDefMethod, s.pubNodeDefMetParams,
                                s.pubNodeDefMetReturn, s.pubNodeDefProxy})
        names += (names.empty() ? "" : " ") + (node.isNone() ? std::string("-") : node.name());
    return names;
}

std::vector<std::string> parameterNames(const ZelScriptXml& script)
{
    std::vector<std::string> names;
    for (const XmlNode& parameter : script.pubNodeDefMetParams.children())
        names.push_back(value(parameter, "Name"));
    return names;
}

// A definition as the editor stores it.
const std::string kStoredDefinition = readFile(dataFile("StoredDefinition.xml"));

TEST(ZelScriptXml, Skeleton_HasEveryElementInOrderWithCreationDefaults_SecondCallChangesNothing)
{
    ZelScriptXml script;
    EXPECT_TRUE(script.pubNodeRoot.isNone());
    script.NodeRootValidate();
    EXPECT_EQ(script.pubNodeRoot.xml(),
              "<Script><Language/><EvalCode/><Definition><WebService><Path/><Wsdl/><LoadFromPath/><ClassName/>"
              "<ServiceName/><ACE><![CDATA[0]]></ACE></WebService><Method><Name/><Parameters/><Return><Type/><AtrId/>"
              "<DefValue/></Return></Method><Proxy><UseProxy><![CDATA[0]]></UseProxy><UseSSL><![CDATA[0]]></UseSSL>"
              "<Server/><Port/><User/><Password/><Timeout><![CDATA[0]]></Timeout></Proxy></Definition></Script>");
    EXPECT_EQ(parts(script), "Definition WebService Method Parameters Return Proxy");
    EXPECT_TRUE(script.pubNodeDefMetParams.parent().sameNode(script.pubNodeDefMethod));

    // A second call changes nothing, whatever it is given.
    for (const std::string& first : {std::string(), kStoredDefinition}) {
        ZelScriptXml again;
        again.NodeRootValidate(first);
        const XmlNode root = again.pubNodeRoot;
        const std::string before = root.xml();
        again.NodeRootValidate();
        again.NodeRootValidate(kStoredDefinition);
        again.NodeRootValidate("<Other/>");
        EXPECT_TRUE(again.pubNodeRoot.sameNode(root));
        EXPECT_EQ(again.pubNodeRoot.xml(), before);
    }
}

// A loaded definition may lack parts: the properties stay none and the setters that write
// into a missing part fail with "object not set" and their own tag.
TEST(ZelScriptXml, StoredDefinitionWithMissingParts_SettersFailWithTheirTags)
{
    ZelScriptXml script;
    script.NodeRootValidate("<Anything><Method><Name>Add</Name></Method></Anything>");
    EXPECT_EQ(parts(script), "Anything - Method - - -");
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {" ZelScriptXml.WebServicePropertiesSet() ",
         [&] { script.WebServicePropertiesSet("p", "", false, false, "s", "c", "m"); }},
        {" ZelScriptXml.WebServiceMethodReturnSet() ", [&] { script.WebServiceMethodReturnSet("int", "x"); }},
        {" ZelScriptXml.WebServiceProxySettingsSet() ", [&] { script.WebServiceProxySettingsSet(true); }},
        {" ZelScriptXml.MethodDataSet() ", [&] { script.MethodDataSet("Sub", "int", "x", "1"); }},
    };
    for (const auto& [tag, call] : cases) {
        test::expectRaises(call, ErrorNumber::ObjectNotSet, tag);
    }
    // MethodDataSet wrote the operation name before it failed on the missing Return.
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Sub");

    // Nothing is rolled back: a setter keeps what it wrote before the missing part. A missing
    // value element inside a part that exists is passed over.
    ZelScriptXml partly;
    partly.NodeRootValidate("<Definition><WebService><Wsdl/><LoadFromPath/><ClassName/><ServiceName/><ACE/>"
                            "</WebService></Definition>");
    test::expectRaises(
        [&] { partly.WebServicePropertiesSet("http://h/s", "not xml", false, true, "Svc", "Cls", "Op"); },
        ErrorNumber::ObjectNotSet, " ZelScriptXml.WebServicePropertiesSet() ");
    EXPECT_EQ(values(partly.pubNodeDefWebSrv), "Wsdl=not xml LoadFromPath=0 ClassName=Cls ServiceName=Svc ACE=1");
}

// Any text but "" is taken as a stored definition, untrimmed: blanks and plain text do not parse.
TEST(ZelScriptXml, StoredDefinitionNotWellFormed_FailsAndLeavesOnlyScript)
{
    for (const char* stored : {"<Definition><WebService>", "   ", "plain text"}) {
        ZelScriptXml script;
        test::expectRaises([&] { script.NodeRootValidate(stored); }, ErrorNumber::ObjectNotSet,
                           " ZelScriptXml.NodeRootValidate() ");
        EXPECT_EQ(values(script.pubNodeRoot), "Language= EvalCode=");
        script.NodeRootValidate(); // the document is fixed: nothing more is made
        EXPECT_EQ(parts(script), "- - - - - -");
        EXPECT_EQ(raisedBy([&] { script.WebServiceProxySettingsSet(); }).Number, ErrorNumber::ObjectNotSet);
    }
}

// The properties of a loaded definition are the elements inside Script, so what the setters
// write is what the editor stores; Parameters and Return are only looked for under Method.
TEST(ZelScriptXml, StoredDefinition_IsAppendedAfterEvalCode_PropertiesAreTheElementsUnderScript)
{
    ZelScriptXml script;
    script.NodeRootValidate(kStoredDefinition);
    EXPECT_EQ(script.pubNodeRoot.xml(),
              "<Script><Language/><EvalCode/>" + XmlFncs::xmlMakeNode(kStoredDefinition).xml() + "</Script>");
    EXPECT_EQ(parts(script), "Definition WebService Method Parameters Return Proxy");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ClassName") + value(script.pubNodeDefMethod, "Name") +
                  value(script.pubNodeDefMetReturn, "AtrId") + value(script.pubNodeDefProxy, "Timeout"),
              "CalcAddTotal30");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});

    script.WebServiceProxySettingsSet(true, false, "proxy.local");
    script.WebServiceMethodReturnSet("string", "Result");
    const XmlNode stored = XmlFncs::xmlMakeNode(script.pubNodeDefinition.xml());
    EXPECT_EQ(value(stored, "Proxy/Server"), "proxy.local");
    EXPECT_EQ(value(stored, "Proxy/UseProxy"), "1");
    EXPECT_EQ(value(stored, "Method/Return/AtrId"), "Result");

    ZelScriptXml misplaced;
    misplaced.NodeRootValidate("<Definition><Parameters/><Return/><Method><Name/></Method></Definition>");
    EXPECT_EQ(parts(misplaced), "Definition - Method - - -");
}

// Flags are written "1"/"0", the time-out as decimal text, every other value as given, by the
// value rules (a text is kept in CDATA, never embedded as XML).
TEST(ZelScriptXml, PropertiesAndProxySettings_WriteEveryValueAndFlags)
{
    // proxy flag, SSL flag, time-out, the Proxy element
    const std::tuple<bool, bool, double, const char*> cases[] = {
        {true, false, 30, "UseProxy=1 UseSSL=0 Server=<host/> Port=8080 User=usr Password=pw Timeout=30"},
        {true, true, 2.5, "UseProxy=1 UseSSL=1 Server=<host/> Port=8080 User=usr Password=pw Timeout=2.5"},
        {false, false, 1e20,
         "UseProxy=0 UseSSL=0 Server=<host/> Port=8080 User=usr Password=pw Timeout=100000000000000000000"},
    };
    for (const auto& [useProxy, useSsl, timeout, proxy] : cases) {
        ZelScriptXml script;
        script.WebServiceProxySettingsSet(useProxy, useSsl, "<host/>", "8080", "usr", "pw", timeout);
        EXPECT_EQ(values(script.pubNodeDefProxy), proxy);
        EXPECT_EQ(script.pubNodeDefProxy.selectSingleNode("Server").xml(), "<Server><![CDATA[<host/>]]></Server>");
    }

    ZelScriptXml script;
    script.WebServicePropertiesSet("http://h/calc", "", false, true, "Service", "Class", "Add");
    EXPECT_EQ(values(script.pubNodeDefWebSrv),
              "Path=http://h/calc Wsdl= LoadFromPath=0 ClassName=Class ServiceName=Service ACE=1");
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Add");
    script.WebServicePropertiesSet("p", "", true, false, "s", "c", "m");
    EXPECT_EQ(values(script.pubNodeDefWebSrv), "Path=p Wsdl= LoadFromPath=1 ClassName=c ServiceName=s ACE=0");
}

TEST(ZelScriptXml, Wsdl_EmbeddedAsXmlOrKeptWholeInCData_NewestCopyOnly)
{
    const std::string wsdl = readFile(dataFile("CalculatorService.wsdl"));
    const std::string broken = "<definitions><unclosed> & more";

    ZelScriptXml script;
    script.WebServicePropertiesSet("p", wsdl, false, false, "s", "c", "m");
    XmlNode node = script.pubNodeDefWebSrv.selectSingleNode("Wsdl");
    ASSERT_EQ(node.children().size(), 1u);
    EXPECT_EQ(node.firstChild().xml(), XmlFncs::xmlMakeNode(wsdl).xml());

    script.WebServicePropertiesSet("p", broken, false, false, "s", "c", "m");
    ASSERT_EQ(node.children().size(), 1u);
    EXPECT_EQ(node.firstChild().type(), XmlNodeType::CData);
    EXPECT_EQ(node.text(), broken);

    script.WebServicePropertiesSet("p", wsdl, false, false, "s", "c", "m");
    script.WebServicePropertiesSet("p", wsdl, false, false, "s", "c", "m");
    EXPECT_EQ(node.children().size(), 1u);
    EXPECT_EQ(node.firstChild().name(), "wsdl:definitions");

    script.WebServicePropertiesSet("p", "  ", false, false, "s", "c", "m");
    EXPECT_TRUE(node.children().empty());
}

// "[none]" in any letter case and the list's "no attribute" store an empty attribute; MethodDataSet
// stores what it is given.
TEST(ZelScriptXml, MethodReturnSet_NoneInAnyCaseStoresEmptyAttribute)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"int", "[NONE]", "Type=int AtrId= DefValue=default"},
        {"int", "\xC3\xBF\xC3\xBF\xC3\xBF", "Type=int AtrId= DefValue=default"},
        {"string", "Total", "Type=string AtrId=Total DefValue=default"},
        {"int", " [none]", "Type=int AtrId= [none] DefValue=default"},
    };
    for (const auto& [type, atrId, stored] : cases) {
        ZelScriptXml script;
        script.NodeRootValidate();
        script.MethodDataSet("m", "t", "a", "default");
        script.WebServiceMethodReturnSet(type, atrId);
        EXPECT_EQ(values(script.pubNodeDefMetReturn), stored) << atrId;
    }
    ZelScriptXml script;
    script.NodeRootValidate();
    script.MethodDataSet("m", "[none]", "[none]", "");
    EXPECT_EQ(values(script.pubNodeDefMetReturn), "Type=[none] AtrId=[none] DefValue=");
}

using ZelScriptXmlParams = wsdeftest::MarkerTemplatesTest;

TEST_F(ZelScriptXmlParams, ParamAdd_StoresChildrenInOrder_XmlValuesAsElements)
{
    ZelScriptXml script;
    script.ParamAdd("a", "int", "OrderId", " 7 ");
    ASSERT_EQ(script.pubNodeDefMetParams.children().size(), 1u);
    EXPECT_EQ(values(script.pubNodeDefMetParams.firstChild()),
              "Name=a Type=int AtrId=OrderId DefValue= 7  EvalCode=E a=7 from OrderId");

    // A value that is XML becomes a child element; a blank attribute an empty element.
    script.ParamAdd("p", "string", "", "<tag>x</tag>");
    const XmlNode defValue = script.pubNodeDefMetParams.selectSingleNode("Parameter[2]/DefValue");
    ASSERT_EQ(defValue.children().size(), 1u);
    EXPECT_EQ(defValue.firstChild().xml(), "<tag>x</tag>");
    script.ParamAdd("q", "string", "   ", "plain");
    EXPECT_EQ(script.pubNodeDefMetParams.selectSingleNode("Parameter[3]/AtrId").xml(), "<AtrId/>");
    script.ParamAdd("<n>x</n>", "string");
    EXPECT_EQ(script.pubNodeDefMetParams.selectSingleNode("Parameter[4]/Name").xml(), "<Name><n>x</n></Name>");

    // The fragment is made before anything is removed, so a parameter whose fragment cannot be
    // made leaves every stored parameter as it was.
    const std::string before = script.pubNodeDefMetParams.xml();
    EXPECT_EQ(raisedBy([&] { script.ParamAdd("a", "int", "", "1e999"); }).Number, ErrorNumber::Overflow);
    EXPECT_EQ(script.pubNodeDefMetParams.xml(), before);
}

TEST_F(ZelScriptXmlParams, ParamAdd_SameNameReplacesAndMovesToTheEnd)
{
    ZelScriptXml script;
    script.ParamAdd("a", "int");
    script.ParamAdd("b", "int");
    script.ParamAdd("c", "int");
    script.ParamAdd("a", "string", "", "new");
    EXPECT_EQ(parameterNames(script), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(values(script.pubNodeDefMetParams.selectSingleNode("Parameter[3]")),
              "Name=a Type=string AtrId= DefValue=new EvalCode=S a=\"new\"");

    // Names are case-sensitive: "A" is another parameter. A name with an apostrophe is found and
    // replaced like any other.
    script.ParamAdd("A", "int");
    script.ParamAdd("it's", "int", "", "1");
    script.ParamAdd("x", "int");
    script.ParamAdd("it's", "int", "", "2");
    EXPECT_EQ(parameterNames(script), (std::vector<std::string>{"b", "c", "a", "A", "x", "it's"}));
    EXPECT_EQ(value(script.pubNodeDefMetParams, "Parameter[6]/DefValue"), "2");
}

TEST_F(ZelScriptXmlParams, ParamAdd_EmptyNameOnlyRemovesAParameterWithEmptyName)
{
    ZelScriptXml script;
    script.NodeRootValidate(
        "<Definition><Method><Parameters><Parameter><Name/></Parameter><Parameter><Name>a</Name></Parameter>"
        "</Parameters></Method></Definition>");
    script.ParamAdd("", "int");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});
    script.ParamAdd("", "int");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});
}

TEST_F(ZelScriptXmlParams, WithoutDocumentOrParametersElement_FailsObjectNotSetWithItsTag)
{
    ZelScriptXml script;
    test::expectRaises([&] { script.MethodDataSet("m", "t", "a", "d"); }, ErrorNumber::ObjectNotSet,
                       " ZelScriptXml.MethodDataSet() ");
    EXPECT_TRUE(script.pubNodeRoot.isNone());

    script.NodeRootValidate("<Definition><Method/></Definition>");
    test::expectRaises([&] { script.ParamAdd("a", "int"); }, ErrorNumber::ObjectNotSet,
                       " WebServiceParams.ParamAdd() ");
}

} // namespace
} // namespace zel
