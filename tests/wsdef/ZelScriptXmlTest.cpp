#include "WsdefTestSupport.h"

#include "common/XmlFncs.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zel {
namespace {

using wsdeftest::raisedBy;

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
const std::string kStoredDefinition = test::fixture("wsdef/StoredDefinition.xml");

// NodeRootValidate makes the skeleton (every element in order, with the creation defaults) or
// appends a stored definition after EvalCode and points the part properties at its elements,
// Parameters and Return only under Method; any other text but "" is taken as a stored definition,
// untrimmed, and one that does not parse fails and leaves only Script. A second call changes
// nothing, whatever it is given.
TEST(ZelScriptXml, NodeRootValidate_SkeletonOrStoredDefinition_Once)
{
    const std::string skeleton =
        "<Definition><WebService><Path/><Wsdl/><LoadFromPath/><ClassName/><ServiceName/><ACE><![CDATA[0]]></ACE>"
        "</WebService><Method><Name/><Parameters/><Return><Type/><AtrId/><DefValue/></Return></Method><Proxy>"
        "<UseProxy><![CDATA[0]]></UseProxy><UseSSL><![CDATA[0]]></UseSSL><Server/><Port/><User/><Password/>"
        "<Timeout><![CDATA[0]]></Timeout></Proxy></Definition>";
    const std::string anything = "<Anything><Method><Name>Add</Name></Method></Anything>";
    const std::string misplaced = "<Definition><Parameters/><Return/><Method><Name/></Method></Definition>";
    const char* const all = "Definition WebService Method Parameters Return Proxy";
    // stored definition, the parts found, the document after Language and EvalCode ("": the call fails)
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {"", all, skeleton},
        {kStoredDefinition, all, XmlFncs::xmlMakeNode(kStoredDefinition).xml()},
        {anything, "Anything - Method - - -", anything},
        {misplaced, "Definition - Method - - -", misplaced},
        {"<Definition><WebService>", "- - - - - -", ""},
        {"   ", "- - - - - -", ""},
        {"plain text", "- - - - - -", ""},
    };
    for (const auto& [stored, found, definition] : cases) {
        ZelScriptXml script;
        EXPECT_TRUE(script.pubNodeRoot.isNone());
        if (definition.empty())
            test::expectRaises([&] { script.NodeRootValidate(stored); }, ErrorNumber::ObjectNotSet,
                               " ZelScriptXml.NodeRootValidate() ");
        else
            script.NodeRootValidate(stored);
        const XmlNode root = script.pubNodeRoot;
        const std::string before = root.xml();
        EXPECT_EQ(before, "<Script><Language/><EvalCode/>" + definition + "</Script>") << stored;
        EXPECT_EQ(parts(script), found) << stored;
        for (const std::string& again : {std::string(), kStoredDefinition, std::string("<Other/>")})
            script.NodeRootValidate(again);
        EXPECT_TRUE(script.pubNodeRoot.sameNode(root)) << stored;
        EXPECT_EQ(script.pubNodeRoot.xml(), before) << stored;
    }
}

// The properties of a loaded definition are its elements inside Script, so what the setters write
// is what the editor stores. A loaded definition may lack parts: the properties stay none and the
// setters that write into a missing part fail with "object not set" and their own tag.
TEST(ZelScriptXml, StoredDefinitions_SettersWriteIntoTheirElements_AMissingPartFailsWithTheSettersTag)
{
    ZelScriptXml stored;
    stored.NodeRootValidate(kStoredDefinition);
    EXPECT_EQ(parameterNames(stored), std::vector<std::string>{"a"});
    stored.WebServiceProxySettingsSet(true, false, "proxy.local");
    stored.WebServiceMethodReturnSet("string", "Result");
    const XmlNode saved = XmlFncs::xmlMakeNode(stored.pubNodeRoot.xml());
    EXPECT_EQ(value(saved, "Definition/WebService/ClassName") + " " + value(saved, "Definition/Proxy/Server") + " " +
                  value(saved, "Definition/Proxy/UseProxy") + " " + value(saved, "Definition/Method/Return/AtrId"),
              "Calc proxy.local 1 Result");

    ZelScriptXml script;
    script.NodeRootValidate("<Anything><Method><Name>Add</Name></Method></Anything>");
    test::expectRaises([&] { script.WebServicePropertiesSet("p", "", false, false, "s", "c", "m"); },
                       ErrorNumber::ObjectNotSet, " ZelScriptXml.WebServicePropertiesSet() ");
    test::expectRaises([&] { script.WebServiceMethodReturnSet("int", "x"); }, ErrorNumber::ObjectNotSet,
                       " ZelScriptXml.WebServiceMethodReturnSet() ");
    test::expectRaises([&] { script.WebServiceProxySettingsSet(true); }, ErrorNumber::ObjectNotSet,
                       " ZelScriptXml.WebServiceProxySettingsSet() ");
    test::expectRaises([&] { script.MethodDataSet("Sub", "int", "x", "1"); }, ErrorNumber::ObjectNotSet,
                       " ZelScriptXml.MethodDataSet() ");
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

// Flags are written "1"/"0", the time-out as decimal text, every other value as given, by the
// value rules (a text is kept in CDATA, never embedded as XML). The WSDL is embedded when it is
// XML, else kept whole in CDATA, newest copy only. "[none]" in any letter case and the list's "no
// attribute" store an empty return attribute; MethodDataSet stores what it is given.
TEST(ZelScriptXml, Setters_WriteEveryValue_WsdlEmbeddedOrKeptWhole_NoneStoresAnEmptyAttribute)
{
    // proxy flag, SSL flag, time-out, the Proxy element
    const std::tuple<bool, bool, double, const char*> proxies[] = {
        {true, false, 30, "UseProxy=1 UseSSL=0 Server=<host/> Port=8080 User=usr Password=pw Timeout=30"},
        {true, true, 2.5, "UseProxy=1 UseSSL=1 Server=<host/> Port=8080 User=usr Password=pw Timeout=2.5"},
        {false, false, 1e20,
         "UseProxy=0 UseSSL=0 Server=<host/> Port=8080 User=usr Password=pw Timeout=100000000000000000000"},
    };
    ZelScriptXml script;
    for (const auto& [useProxy, useSsl, timeout, proxy] : proxies) {
        script.WebServiceProxySettingsSet(useProxy, useSsl, "<host/>", "8080", "usr", "pw", timeout);
        EXPECT_EQ(values(script.pubNodeDefProxy), proxy);
    }
    EXPECT_EQ(script.pubNodeDefProxy.selectSingleNode("Server").xml(), "<Server><![CDATA[<host/>]]></Server>");

    script.WebServicePropertiesSet("http://h/calc", "", false, true, "Service", "Class", "Add");
    EXPECT_EQ(values(script.pubNodeDefWebSrv),
              "Path=http://h/calc Wsdl= LoadFromPath=0 ClassName=Class ServiceName=Service ACE=1");
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Add");
    script.WebServicePropertiesSet("p", "", true, false, "s", "c", "m");
    EXPECT_EQ(values(script.pubNodeDefWebSrv), "Path=p Wsdl= LoadFromPath=1 ClassName=c ServiceName=s ACE=0");

    const std::string wsdl = test::fixture("wsdef/CalculatorService.wsdl");
    const std::string broken = "<definitions><unclosed> & more";
    const XmlNode node = script.pubNodeDefWebSrv.selectSingleNode("Wsdl");
    // the WSDL given, and what Wsdl holds afterwards ("": nothing)
    const std::pair<std::string, std::string> wsdls[] = {
        {wsdl, XmlFncs::xmlMakeNode(wsdl).xml()},
        {broken, "<![CDATA[" + broken + "]]>"},
        {wsdl, XmlFncs::xmlMakeNode(wsdl).xml()},
        {wsdl, XmlFncs::xmlMakeNode(wsdl).xml()},
        {"  ", ""},
    };
    for (const auto& [given, held] : wsdls) {
        script.WebServicePropertiesSet("p", given, false, false, "s", "c", "m");
        EXPECT_EQ(node.children().size(), held.empty() ? 0u : 1u) << given;
        EXPECT_EQ(node.children().empty() ? "" : node.firstChild().xml(), held) << given;
    }

    // type, attribute, the Return element afterwards
    const std::tuple<const char*, const char*, const char*> returns[] = {
        {"int", "[NONE]", "Type=int AtrId= DefValue=default"},
        {"int", "\xC3\xBF\xC3\xBF\xC3\xBF", "Type=int AtrId= DefValue=default"},
        {"string", "Total", "Type=string AtrId=Total DefValue=default"},
        {"int", " [none]", "Type=int AtrId= [none] DefValue=default"},
    };
    for (const auto& [type, atrId, stored] : returns) {
        script.MethodDataSet("m", "t", "a", "default");
        script.WebServiceMethodReturnSet(type, atrId);
        EXPECT_EQ(values(script.pubNodeDefMetReturn), stored) << atrId;
    }
    script.MethodDataSet("m", "[none]", "[none]", "");
    EXPECT_EQ(values(script.pubNodeDefMetReturn), "Type=[none] AtrId=[none] DefValue=");
}

using ZelScriptXmlParams = wsdeftest::MarkerTemplatesTest;

TEST_F(ZelScriptXmlParams, ParamAdd_StoresInOrder_SameNameMovesToTheEnd_EmptyNameOnlyRemoves_NoParametersFails)
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

    // The same name replaces a parameter and moves it to the end.
    script = ZelScriptXml();
    for (const char* name : {"a", "b", "c"})
        script.ParamAdd(name, "int");
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

    // An empty name only removes a parameter with an empty name; none is stored under it.
    script = ZelScriptXml();
    script.NodeRootValidate(
        "<Definition><Method><Parameters><Parameter><Name/></Parameter><Parameter><Name>a</Name></Parameter>"
        "</Parameters></Method></Definition>");
    script.ParamAdd("", "int");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});
    script.ParamAdd("", "int");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});

    // ParamAdd fails without a Parameters element; MethodDataSet, which makes no document, without one.
    script = ZelScriptXml();
    script.NodeRootValidate("<Definition><Method/></Definition>");
    test::expectRaises([&] { script.ParamAdd("a", "int"); }, ErrorNumber::ObjectNotSet,
                       " WebServiceParams.ParamAdd() ");
    script = ZelScriptXml();
    test::expectRaises([&] { script.MethodDataSet("m", "t", "a", "d"); }, ErrorNumber::ObjectNotSet,
                       " ZelScriptXml.MethodDataSet() ");
    EXPECT_TRUE(script.pubNodeRoot.isNone());
}

} // namespace
} // namespace zel
