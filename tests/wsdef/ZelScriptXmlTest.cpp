#include "WsdefTestSupport.h"

#include "common/XmlFncs.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zel {
namespace {

using wsdeftest::ComponentFolderTest;
using wsdeftest::dataFile;
using wsdeftest::raisedBy;
using wsdeftest::readFile;

std::string childNames(const XmlNode& node)
{
    std::string names;
    for (const XmlNode& child : node.children())
        names += (names.empty() ? "" : ",") + child.name();
    return names;
}

std::string value(const XmlNode& node, std::string_view path)
{
    return XmlFncs::xmlNodeValueGet(node, path);
}

std::vector<std::string> parameterNames(const ZelScriptXml& script)
{
    std::vector<std::string> names;
    for (const XmlNode& parameter : script.pubNodeDefMetParams.children())
        names.push_back(value(parameter, "Name"));
    return names;
}

const char* const kStoredDefinition =
    "<Definition><WebService><Path>http://host/svc</Path><Wsdl/><LoadFromPath>0</LoadFromPath>"
    "<ClassName>Calc</ClassName><ServiceName>Calc</ServiceName><ACE>1</ACE></WebService>"
    "<Method><Name>Add</Name><Parameters><Parameter><Name>a</Name><Type>int</Type><AtrId/><DefValue>1</DefValue>"
    "<EvalCode>old</EvalCode></Parameter></Parameters><Return><Type>int</Type><AtrId>Total</AtrId><DefValue/>"
    "</Return></Method><Proxy><UseProxy>0</UseProxy><UseSSL>0</UseSSL><Server/><Port/><User/><Password/>"
    "<Timeout>30</Timeout></Proxy></Definition>";

TEST(ZelScriptXml, Skeleton_HasEveryElementInOrderWithCreationDefaults_SecondCallChangesNothing)
{
    ZelScriptXml script;
    EXPECT_TRUE(script.pubNodeRoot.isNone());
    script.NodeRootValidate();

    EXPECT_EQ(script.pubNodeRoot.name(), "Script");
    EXPECT_EQ(childNames(script.pubNodeRoot), "Language,EvalCode,Definition");
    EXPECT_EQ(childNames(script.pubNodeDefinition), "WebService,Method,Proxy");
    EXPECT_EQ(childNames(script.pubNodeDefWebSrv), "Path,Wsdl,LoadFromPath,ClassName,ServiceName,ACE");
    EXPECT_EQ(childNames(script.pubNodeDefMethod), "Name,Parameters,Return");
    EXPECT_EQ(childNames(script.pubNodeDefMetReturn), "Type,AtrId,DefValue");
    EXPECT_EQ(childNames(script.pubNodeDefProxy), "UseProxy,UseSSL,Server,Port,User,Password,Timeout");
    EXPECT_TRUE(script.pubNodeDefMetParams.children().empty());
    EXPECT_TRUE(script.pubNodeDefMetParams.parent().sameNode(script.pubNodeDefMethod));

    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ACE"), "0");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "LoadFromPath"), "");
    EXPECT_EQ(value(script.pubNodeDefProxy, "UseProxy"), "0");
    EXPECT_EQ(value(script.pubNodeDefProxy, "UseSSL"), "0");
    EXPECT_EQ(value(script.pubNodeDefProxy, "Timeout"), "0");

    // A second call changes nothing, whatever it is given.
    for (const char* first : {"", kStoredDefinition}) {
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
    EXPECT_FALSE(script.pubNodeDefinition.isNone());
    EXPECT_FALSE(script.pubNodeDefMethod.isNone());
    EXPECT_TRUE(script.pubNodeDefWebSrv.isNone());
    EXPECT_TRUE(script.pubNodeDefMetParams.isNone());
    EXPECT_TRUE(script.pubNodeDefMetReturn.isNone());
    EXPECT_TRUE(script.pubNodeDefProxy.isNone());

    struct Case
    {
        const char* tag;
        std::function<void()> call;
    };
    const std::vector<Case> cases = {
        {" ZelScriptXml.WebServicePropertiesSet() ",
         [&] { script.WebServicePropertiesSet("p", "", false, false, "s", "c", "m"); }},
        {" ZelScriptXml.WebServiceMethodReturnSet() ", [&] { script.WebServiceMethodReturnSet("int", "x"); }},
        {" ZelScriptXml.WebServiceProxySettingsSet() ", [&] { script.WebServiceProxySettingsSet(true); }},
        {" ZelScriptXml.MethodDataSet() ", [&] { script.MethodDataSet("Sub", "int", "x", "1"); }},
    };
    for (const Case& c : cases) {
        const ErrorRecord error = raisedBy(c.call);
        EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet) << c.tag;
        EXPECT_TRUE(error.Source.ends_with(c.tag)) << error.Source;
    }
    // MethodDataSet wrote the operation name before it failed on the missing Return.
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Sub");
}

// Any text but "" is taken as a stored definition, untrimmed: blanks and plain text do not parse.
TEST(ZelScriptXml, StoredDefinitionNotWellFormed_FailsAndLeavesOnlyScript)
{
    for (const char* stored : {"<Definition><WebService>", "   ", "plain text"}) {
        ZelScriptXml script;
        const ErrorRecord error = raisedBy([&] { script.NodeRootValidate(stored); });
        EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet) << "[" << stored << "]";
        EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.NodeRootValidate() ")) << error.Source;
        EXPECT_EQ(childNames(script.pubNodeRoot), "Language,EvalCode");
        EXPECT_TRUE(script.pubNodeDefinition.isNone());

        script.NodeRootValidate(); // the document is fixed: nothing more is made
        EXPECT_TRUE(script.pubNodeDefinition.isNone());
        EXPECT_EQ(raisedBy([&] { script.WebServiceProxySettingsSet(); }).Number, ErrorNumber::ObjectNotSet);
    }
}

// The properties of a loaded definition are the elements inside Script, so what the setters
// write is what the editor stores; Parameters and Return are only looked for under Method.
TEST(ZelScriptXml, StoredDefinition_IsAppendedAfterEvalCode_PropertiesAreTheElementsUnderScript)
{
    ZelScriptXml script;
    script.NodeRootValidate(kStoredDefinition);
    EXPECT_EQ(childNames(script.pubNodeRoot), "Language,EvalCode,Definition");
    EXPECT_EQ(script.pubNodeDefinition.xml(), XmlFncs::xmlMakeNode(kStoredDefinition).xml());
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ClassName"), "Calc");
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Add");
    EXPECT_EQ(parameterNames(script), std::vector<std::string>{"a"});
    EXPECT_EQ(value(script.pubNodeDefMetReturn, "AtrId"), "Total");
    EXPECT_EQ(value(script.pubNodeDefProxy, "Timeout"), "30");
    EXPECT_TRUE(script.pubNodeDefinition.parent().sameNode(script.pubNodeRoot));
    EXPECT_TRUE(script.pubNodeDefMetParams.parent().sameNode(script.pubNodeDefMethod));

    script.WebServiceProxySettingsSet(true, false, "proxy.local");
    script.WebServiceMethodReturnSet("string", "Result");
    const XmlNode stored = XmlFncs::xmlMakeNode(script.pubNodeDefinition.xml());
    EXPECT_EQ(value(stored, "Proxy/Server"), "proxy.local");
    EXPECT_EQ(value(stored, "Proxy/UseProxy"), "1");
    EXPECT_EQ(value(stored, "Method/Return/AtrId"), "Result");

    ZelScriptXml misplaced;
    misplaced.NodeRootValidate("<Definition><Parameters/><Return/><Method><Name/></Method></Definition>");
    EXPECT_FALSE(misplaced.pubNodeDefMethod.isNone());
    EXPECT_TRUE(misplaced.pubNodeDefMetParams.isNone());
    EXPECT_TRUE(misplaced.pubNodeDefMetReturn.isNone());
}

// Nothing is rolled back: a setter that fails on a missing part keeps what it wrote before. A
// missing value element inside a part that exists is passed over.
TEST(ZelScriptXml, SetterFailingOnAMissingPart_KeepsWhatItWroteBefore)
{
    ZelScriptXml script;
    script.NodeRootValidate("<Definition><WebService><Wsdl/><LoadFromPath/><ClassName/><ServiceName/><ACE/>"
                            "</WebService></Definition>");
    const ErrorRecord error =
        raisedBy([&] { script.WebServicePropertiesSet("http://h/s", "not xml", false, true, "Svc", "Cls", "Op"); });
    EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet);
    EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.WebServicePropertiesSet() ")) << error.Source;
    EXPECT_EQ(childNames(script.pubNodeDefWebSrv), "Wsdl,LoadFromPath,ClassName,ServiceName,ACE");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "Wsdl"), "not xml");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "LoadFromPath"), "0");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ACE"), "1");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ClassName"), "Cls");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ServiceName"), "Svc");
}

// How a value is stored, the same for every setter: blank gives an empty element, other text one
// CDATA section with its blanks kept (set again, it replaces the first).
TEST(ZelScriptXml, Setters_StoreValuesByTheValueRules)
{
    struct Case
    {
        std::string given;
        std::string stored; // the element serialised
    };
    const std::vector<Case> cases = {
        {"", "<Server/>"},
        {"   ", "<Server/>"},
        {" proxy.local ", "<Server><![CDATA[ proxy.local ]]></Server>"},
        {"<host/>", "<Server><![CDATA[<host/>]]></Server>"}, // setters never embed XML
        {"a]]>b", "<Server><![CDATA[a]]]]><![CDATA[>b]]></Server>"},
    };
    for (const Case& c : cases) {
        ZelScriptXml script;
        script.WebServiceProxySettingsSet(false, false, "first");
        script.WebServiceProxySettingsSet(false, false, c.given);
        const XmlNode server = script.pubNodeDefProxy.selectSingleNode("Server");
        EXPECT_EQ(server.xml(), c.stored) << "[" << c.given << "]";
        EXPECT_EQ(server.text(), XmlFncs::isBlank(c.given) ? "" : c.given);
    }
}

TEST(ZelScriptXml, ProxySettings_WriteFlagsAndTimeoutAsText)
{
    struct Case
    {
        bool useProxy;
        bool useSsl;
        double timeout;
        const char* proxy;
        const char* ssl;
        const char* timeoutText;
    };
    const Case cases[] = {
        {true, false, 30, "1", "0", "30"},
        {true, true, 2.5, "1", "1", "2.5"},
        {false, false, 1e20, "0", "0", "100000000000000000000"},
    };
    for (const Case& c : cases) {
        ZelScriptXml script;
        script.WebServiceProxySettingsSet(c.useProxy, c.useSsl, "srv", "8080", "usr", "pw", c.timeout);
        EXPECT_EQ(value(script.pubNodeDefProxy, "UseProxy"), c.proxy);
        EXPECT_EQ(value(script.pubNodeDefProxy, "UseSSL"), c.ssl);
        EXPECT_EQ(value(script.pubNodeDefProxy, "Timeout"), c.timeoutText);
        EXPECT_EQ(value(script.pubNodeDefProxy, "Port"), "8080");
        EXPECT_EQ(value(script.pubNodeDefProxy, "Password"), "pw");
    }
}

TEST(ZelScriptXml, PropertiesSet_WritesEveryValueAndFlags)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("http://h/calc", "", false, true, "Service", "Class", "Add");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "Path"), "http://h/calc");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "LoadFromPath"), "0");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ACE"), "1");
    EXPECT_EQ(value(script.pubNodeDefMethod, "Name"), "Add");
    script.WebServicePropertiesSet("p", "", true, false, "s", "c", "m");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "LoadFromPath"), "1");
    EXPECT_EQ(value(script.pubNodeDefWebSrv, "ACE"), "0");
}

TEST(ZelScriptXml, Wsdl_EmbeddedAsXmlOrKeptWholeInCData_NewestCopyOnly)
{
    const std::string wsdl = readFile(dataFile("CalculatorService.wsdl"));
    const std::string broken = "<definitions><unclosed> & more";

    ZelScriptXml script;
    script.WebServicePropertiesSet("p", wsdl, false, false, "s", "c", "m");
    XmlNode node = script.pubNodeDefWebSrv.selectSingleNode("Wsdl");
    ASSERT_EQ(node.children().size(), 1u);
    EXPECT_EQ(node.firstChild().name(), "wsdl:definitions");
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

TEST(ZelScriptXml, MethodReturnSet_NoneInAnyCaseStoresEmptyAttribute)
{
    struct Case
    {
        const char* type;
        const char* atrId;
        const char* storedId;
    };
    const Case cases[] = {
        {"int", "[NONE]", ""},
        {"int", "\xC3\xBF\xC3\xBF\xC3\xBF", ""},
        {"string", "Total", "Total"},
        {"int", " [none]", " [none]"},
    };
    for (const Case& c : cases) {
        ZelScriptXml script;
        script.NodeRootValidate();
        script.MethodDataSet("m", "t", "a", "default");
        script.WebServiceMethodReturnSet(c.type, c.atrId);
        EXPECT_EQ(value(script.pubNodeDefMetReturn, "Type"), c.type);
        EXPECT_EQ(value(script.pubNodeDefMetReturn, "AtrId"), c.storedId) << c.atrId;
        EXPECT_EQ(value(script.pubNodeDefMetReturn, "DefValue"), "default");
    }
    // MethodDataSet makes no "[none]" conversion.
    ZelScriptXml script;
    script.NodeRootValidate();
    script.MethodDataSet("m", "[none]", "[none]", "");
    EXPECT_EQ(value(script.pubNodeDefMetReturn, "AtrId"), "[none]");
}

class ZelScriptXmlParams : public ComponentFolderTest
{
protected:
    void SetUp() override
    {
        ComponentFolderTest::SetUp();
        useMarkerTemplates();
    }
};

TEST_F(ZelScriptXmlParams, ParamAdd_StoresChildrenInOrder_XmlValuesAsElements)
{
    ZelScriptXml script;
    script.ParamAdd("a", "int", "OrderId", " 7 ");
    ASSERT_EQ(script.pubNodeDefMetParams.children().size(), 1u);
    const XmlNode parameter = script.pubNodeDefMetParams.firstChild();
    EXPECT_EQ(childNames(parameter), "Name,Type,AtrId,DefValue,EvalCode");
    EXPECT_EQ(value(parameter, "Type"), "int");
    EXPECT_EQ(value(parameter, "AtrId"), "OrderId");
    EXPECT_EQ(value(parameter, "DefValue"), " 7 ");
    EXPECT_EQ(value(parameter, "EvalCode"), "E a=7 from OrderId");

    // A value that is XML becomes a child element; a blank attribute an empty element.
    script.ParamAdd("p", "string", "", "<tag>x</tag>");
    const XmlNode defValue = script.pubNodeDefMetParams.selectSingleNode("Parameter[2]/DefValue");
    ASSERT_EQ(defValue.children().size(), 1u);
    EXPECT_EQ(defValue.firstChild().xml(), "<tag>x</tag>");
    script.ParamAdd("q", "string", "   ", "plain");
    EXPECT_EQ(script.pubNodeDefMetParams.selectSingleNode("Parameter[3]/AtrId").xml(), "<AtrId/>");
    script.ParamAdd("<n>x</n>", "string");
    EXPECT_EQ(script.pubNodeDefMetParams.selectSingleNode("Parameter[4]/Name").xml(), "<Name><n>x</n></Name>");
}

// The fragment is made before anything is removed, so a parameter whose fragment cannot be made
// leaves every stored parameter as it was.
TEST_F(ZelScriptXmlParams, ParamAdd_FailingGeneration_LeavesParametersUntouched)
{
    ZelScriptXml script;
    script.ParamAdd("a", "int", "", "1");
    script.ParamAdd("b", "int");
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
    EXPECT_EQ(value(script.pubNodeDefMetParams, "Parameter[3]/Type"), "string");
    EXPECT_EQ(value(script.pubNodeDefMetParams, "Parameter[3]/EvalCode"), "S a=\"new\"");

    // Names are case-sensitive: "A" is another parameter.
    script.ParamAdd("A", "int");
    EXPECT_EQ(parameterNames(script), (std::vector<std::string>{"b", "c", "a", "A"}));

    // A name with an apostrophe is found and replaced like any other.
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
    ErrorRecord error = raisedBy([&] { script.MethodDataSet("m", "t", "a", "d"); });
    EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet);
    EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.MethodDataSet() ")) << error.Source;
    EXPECT_TRUE(script.pubNodeRoot.isNone());

    script.NodeRootValidate("<Definition><Method/></Definition>");
    error = raisedBy([&] { script.ParamAdd("a", "int"); });
    EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet);
    EXPECT_TRUE(error.Source.ends_with(" WebServiceParams.ParamAdd() ")) << error.Source;
}

} // namespace
} // namespace zel
