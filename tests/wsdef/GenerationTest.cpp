#include "WsdefTestSupport.h"

#include "common/XmlFncs.h"
#include "common/modFnc.h"
#include "wsdef/ZelConfig.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <vector>

namespace zel {
namespace {

using wsdeftest::ComponentFolderTest;
using wsdeftest::raisedBy;

class Generation : public ComponentFolderTest
{
protected:
    void SetUp() override
    {
        ComponentFolderTest::SetUp();
        useMarkerTemplates();
    }

    // The fragment ParamAdd stored for a parameter named "p".
    static std::string fragment(std::string_view type, std::string_view defValue, std::string_view atrId = {})
    {
        ZelScriptXml script;
        script.ParamAdd("p", type, atrId, defValue);
        return XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/EvalCode");
    }
};

// The default-value literal and the choice between the simple and the mapped template.
TEST_F(Generation, ParameterFragment_LiteralTableAndTemplateChoice)
{
    const std::string none3 = "\xC3\xBF\xC3\xBF\xC3\xBF";
    struct Case
    {
        std::string type;
        std::string defValue;
        std::string atrId;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // string, any case: quoted, inner quotes doubled; empty gives ""
        {"string", "hello", "", R"(S p="hello")"},
        {"String", " two  blanks ", "", R"(S p=" two  blanks ")"},
        {"STRING", "", "", R"(S p="")"},
        {"string", R"(say "hi")", "", R"(S p="say ""hi""")"},
        {"string", R"(" & CreateObject("x") & ")", "", R"(S p=""" & CreateObject(""x"") & """)"},
        {"string", "12", "", R"(S p="12")"},
        {"string", "two\r\nlines\n", "", R"(S p="two" & vbCrLf & "lines" & vbLf & "")"},
        // int: the number at the start, however the text goes on
        {"int", "12abc", "", "S p=12"},
        {"int", "007", "", "S p=7"},
        {"int", "3.5", "", "S p=3.5"},
        {"Int", "abc", "", "S p=0"},
        {"int", "", "", "S p=0"},
        {"int", " -4 2", "", "S p=-42"},
        {"int", "1e3x", "", "S p=1000"},
        {"int", "2.50", "", "S p=2.5"},
        // other types: numbers for number types and unknown ones, True/False for Booleans,
        // anything else a string literal
        {"double", "2", "", "S p=2"},
        {"double", " 2.5E+1 ", "", "S p=25"},
        {"double", "", "", R"(S p="")"},
        {"boolean", "TRUE", "", "S p=True"},
        {"s:boolean", " 0 ", "", "S p=False"},
        {"Boolean", "false", "", "S p=False"},
        {"date", "2024-05-01", "", R"(S p="2024-05-01")"},
        {"dateTime", "2024-05-01T10:30:00Z", "", R"(S p="2024-05-01T10:30:00Z")"},
        {"time", "23:59:59.5+01:00", "", R"(S p="23:59:59.5+01:00")"},
        {"anyURI", "http://x/", "", R"(S p="http://x/")"},
        {"OrderKind", "7", "", "S p=7"},
        // the attribute decides the template
        {"int", "1", "   ", "S p=1"},
        {"int", "1", "[none]", "S p=1"},
        {"int", "1", "[NONE]", "S p=1"},
        {"int", "1", none3, "S p=1"},
        {"int", "1", "  " + none3 + " ", "S p=1"},
        {"int", "1", "OrderId", "E p=1 from OrderId"},
        {"int", "1", " [none]", "E p=1 from  [none]"},
        {"string", "", "Total", R"(E p="" from Total)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fragment(c.type, c.defValue, c.atrId), c.expected)
            << c.type << " / [" << c.defValue << "] / [" << c.atrId << "]";

    // A fixed value that cannot be read as its type is refused, not sent as something else.
    const std::vector<std::pair<std::string, std::string>> unreadable = {
        {"boolean", "yes"},         {"boolean", "-.5"},     {"double", "letters"},
        {"float", "12abc"},         {"date", "01/05/2024"}, {"date", "2024-13-01"},
        {"dateTime", "2024-05-01"}, {"time", "25:00:00"},   {"long", "1,5"},
    };
    for (const auto& [type, value] : unreadable) {
        ZelScriptXml script;
        const ErrorRecord error = raisedBy([&] { script.ParamAdd("p", type, "", value); });
        EXPECT_EQ(error.Number, ErrorNumber::TypeMismatch) << type << " / " << value;
        EXPECT_NE(error.Description.find(value), std::string::npos) << error.Description;
        EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/Name"), "");
    }
}

// Every parameter's function gets a script identifier: the name when it is one, else a safe
// variant; unique in any letter case, even after a parameter moves to the end. Texts from the
// WSDL in the fragment stay inside their comment or string.
TEST_F(Generation, ParameterIdentifiers_ValidUniqueAndFollowedByEveryFunction)
{
    writeTemplates(R"(<C><Sections><Section><SecId>SOAPCallSub</SecId><EvalCode>SUB (&lt;Params&gt;)</EvalCode>)"
                   R"(</Section><Section><SecId>ParamSimpleGet</SecId><EvalCode>)"
                   R"(&lt;ParIdent&gt;|&lt;ParName&gt;|&lt;ParType&gt;</EvalCode></Section></Sections></C>)");
    ZelScriptXml script;
    for (const char* name :
         {"first-name", "_a", "1st", "pr\xC3\xA9nom", "B", "b", "b_2", "Order", "\xE6\x97\xA5\xE6\x9C\xAC"})
        script.ParamAdd(name, "string");
    EXPECT_EQ(script.WebServiceCallEvalCodeMake(), "SUB (first_nameGet(), p_aGet(), p1stGet(), pr_nomGet(), BGet(), "
                                                   "b_2Get(), b_2_2Get(), OrderGet(), p__Get())");
    // "B" moves to the end: "b" now comes first among them and takes the plain name, and its
    // function is made again under it.
    script.ParamAdd("B", "int\r\nMsgBox 1");
    EXPECT_EQ(script.WebServiceCallEvalCodeMake(), "SUB (first_nameGet(), p_aGet(), p1stGet(), pr_nomGet(), bGet(), "
                                                   "b_2Get(), OrderGet(), p__Get(), B_3Get())");
    const auto fragmentOf = [&](int i) {
        return XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter[" + std::to_string(i) + "]/EvalCode");
    };
    EXPECT_EQ(fragmentOf(5), "b|b|string");
    EXPECT_EQ(fragmentOf(9), "B_3|B|int\" & vbCrLf & \"MsgBox 1");
}

TEST_F(Generation, ParameterFragment_DefaultTooLargeForANumberFailsWithTags)
{
    ZelScriptXml script;
    const ErrorRecord error = raisedBy([&] { script.ParamAdd("p", "int", "", "1e999"); });
    EXPECT_EQ(error.Number, ErrorNumber::Overflow);
    EXPECT_NE(error.Source.find(" ZelScriptXml.ParamEvalCodeMake()  WebServiceParams.ParamAdd() "), std::string::npos)
        << error.Source;
    EXPECT_EQ(raisedBy([&] { script.ParamAdd("p", "int", "", "1" + std::string(400, '0') + "e-5"); }).Number,
              ErrorNumber::Overflow);

    // Too small to hold reads as 0, whether the exponent or the zeros make it small.
    for (const std::string& tiny :
         {std::string("1e-999"), "0." + std::string(400, '0') + "1", std::string("-0.1e-400")})
        EXPECT_EQ(fragment("int", tiny, ""), "S p=0") << tiny;
}

// Placeholders are replaced in table order, each on the text the one before produced.
TEST_F(Generation, Placeholders_ReplacedInTableOrder)
{
    writeTemplates(R"(<C><Sections><Section><SecId>ParamSimpleGet</SecId><EvalCode><![CDATA[)"
                   R"(<ParName>|<ParName>|<ParType>|<ParDefValue>|<UsrId>|<Date>]]></EvalCode></Section>)"
                   R"(<Section><SecId>ParamExtendedGet</SecId><EvalCode>[&lt;ParAtrId&gt;]</EvalCode></Section>)"
                   R"(</Sections></C>)");
    ZelScriptXml script;
    // The name holds a later placeholder (replaced too); the type an earlier one (left).
    script.ParamAdd("n<ParType>", "t<UsrId>", "", "");
    const std::string code = XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/EvalCode");
    const std::string user = modFnc::UserName();
    const std::regex expected("nt<UsrId>\\|nt<UsrId>\\|t<UsrId>\\|\"\"\\|" + user +
                              "\\|\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
    EXPECT_TRUE(std::regex_match(code, expected)) << code;

    // The value of the last replacement is left as it is.
    script.ParamAdd("q", "int", "<ParName>", "");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter[2]/EvalCode"), "[<ParName>]");
}

// A value holding a later placeholder gets its value too, except the call and the hand-over: code
// goes only where the template has its place, never into a name.
TEST_F(Generation, Main_ReplacesEveryPlaceholderInOrderAndLaysOutFragments)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("http://h/<PROXYServer>", "", false, true, "Svc", "C<SOAPCall>", "Add");
    script.WebServiceMethodReturnSet("int", "<WSDLUrl>");
    script.WebServiceProxySettingsSet(true, false, "proxy", "3128", "me", "secret", 30);
    script.ParamAdd("a", "int", "", "1");
    script.ParamAdd("b", "string", "Name", "x");

    const std::string text = script.MainEvalCodeMake();
    EXPECT_EQ(text,
              "MAIN url=http://h/proxy svc=Svc cls=C<SOAPCall> proxy=1 ssl=0 server=proxy port=3128 user=me pwd=secret "
              "timeout=30 call=[FNC Add(aGet(), bGet())] ace=[ACE <WSDLUrl>];"
              "S a=1\r\nE b=\"x\" from Name\r\nEND");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeRoot, "Language"), "VBSCript");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeRoot, "EvalCode"), text);

    // Without parameters the end follows directly.
    ZelScriptXml bare;
    bare.WebServicePropertiesSet("u", "", false, false, "s", "c", "Ping");
    EXPECT_EQ(bare.MainEvalCodeMake(), "MAIN url=u svc=s cls=c proxy=0 ssl=0 server= port= user= pwd= timeout=0 "
                                       "call=[SUB Ping()] ace=[];END");
}

// The template follows the return type. "<Params>" goes in before "<MethodName>": a parameter name
// holding the later placeholder is replaced too, an operation name holding the earlier one is left.
TEST_F(Generation, Call_TemplateFollowsTheReturnType_ParamsReplacedBeforeMethodName)
{
    struct Case
    {
        const char* returnType;
        const char* operation;
        const char* parameter;
        const char* expected;
    };
    const Case cases[] = {{"", "M", "x", "SUB M(xGet())"},
                          {"[none]", "M", "x", "FNC M(xGet())"},
                          {"string", "M", "x", "FNC M(xGet())"},
                          {"", "Op<Params>", "x<MethodName>", "SUB Op<Params>(x_MethodName_Get())"}};
    for (const Case& c : cases) {
        ZelScriptXml script;
        script.WebServicePropertiesSet("u", "", false, false, "s", "c", c.operation);
        script.WebServiceMethodReturnSet(c.returnType, "");
        script.ParamAdd(c.parameter, "int");
        EXPECT_EQ(script.WebServiceCallEvalCodeMake(), c.expected) << c.returnType << " / " << c.operation;
    }
}

// Only the elements under Parameters are parameters: a comment or stray text in a stored
// definition adds neither an argument nor a fragment.
TEST_F(Generation, Parameters_OnlyElementsCount)
{
    ZelScriptXml script;
    script.NodeRootValidate("<Definition><WebService><ACE>0</ACE></WebService><Method><Name>M</Name><Parameters>"
                            "<!-- mapped by hand --><Parameter><Name>a</Name><EvalCode>A</EvalCode></Parameter>"
                            "stray<Parameter><Name>b</Name><EvalCode>B</EvalCode></Parameter></Parameters></Method>"
                            "<Proxy><Timeout>0</Timeout></Proxy></Definition>");
    EXPECT_EQ(script.WebServiceCallEvalCodeMake(), "SUB M(aGet(), bGet())");
    EXPECT_TRUE(script.MainEvalCodeMake().ends_with("ace=[];A\r\nB\r\nEND"));
}

// End Activity hands the result over only when there are a result and an attribute for it.
TEST_F(Generation, Main_AceOnlyForARealResultAndAttribute)
{
    const char* cases[][3] = {{"int", "Total", "ace=[ACE Total]"},
                              {"int", "[none]", "ace=[]"},
                              {"int", "", "ace=[]"},
                              {"", "Total", "ace=[]"},
                              {"[None]", "Total", "ace=[]"},
                              {"int", "\xC3\xBF\xC3\xBF\xC3\xBF", "ace=[]"}};
    for (const auto& c : cases) {
        ZelScriptXml script;
        script.WebServicePropertiesSet("u", "", false, true, "s", "c", "M");
        script.MethodDataSet("M", c[0], c[1], "");
        const std::string text = script.MainEvalCodeMake();
        EXPECT_NE(text.find(c[2]), std::string::npos) << c[0] << " / " << c[1] << ": " << text;
    }
}

TEST_F(Generation, PlaceholderTwiceInATemplate_IsReplacedAtBothPlaces)
{
    writeTemplates("<C><Sections><Section><SecId>SOAPAce</SecId><EvalCode>&lt;AtrId&gt;=&lt;AtrId&gt;</EvalCode>"
                   "</Section></Sections></C>");
    ZelScriptXml script;
    script.WebServiceMethodReturnSet("int", "Total");
    EXPECT_EQ(script.WebServiceAceEvalCodeMake(), "Total=Total");
}

// The time-out is read before the call is made and the ACE flag after it, so each failure shows
// which step stopped; a failure leaves the script and its language as they were.
TEST_F(Generation, Main_TimeoutAndAceTexts_BadOnesFailInStepOrder)
{
    struct Case
    {
        const char* ace;
        const char* timeout;
        int32_t number;       // 0: the script is made
        const char* expected; // the part of the made script that shows both values
        const char* method = "<Method><Parameters/></Method>";
    };
    const Case cases[] = {
        {"1", "", ErrorNumber::TypeMismatch, ""},
        {"1", "abc", ErrorNumber::TypeMismatch, ""},
        {"1", "12abc", ErrorNumber::TypeMismatch, ""},
        {"", "0", ErrorNumber::TypeMismatch, ""},
        {"yes", "0", ErrorNumber::TypeMismatch, ""},
        {"1x", "0", ErrorNumber::TypeMismatch, ""},
        {"1", "x", ErrorNumber::TypeMismatch, "", "<Method/>"},
        {"x", "1", ErrorNumber::ObjectNotSet, "", "<Method/>"},
        {"-1", " 30 ", 0, "timeout=30 call=[SUB ()] ace=[]"},
        {"True", "2.50", 0, "timeout=2.5 call=[SUB ()] ace=[]"},
        {"false", "1e1", 0, "timeout=10 call=[SUB ()] ace=[]"},
        {"0", "-0", 0, "timeout=0 call=[SUB ()] ace=[]"},
    };
    for (const Case& c : cases) {
        ZelScriptXml script;
        script.NodeRootValidate("<Definition><WebService><ACE>" + std::string(c.ace) + "</ACE></WebService>" +
                                c.method + "<Proxy><Timeout>" + c.timeout + "</Timeout></Proxy></Definition>");
        XmlNode language = script.pubNodeRoot.child("Language");
        XmlNode evalCode = script.pubNodeRoot.child("EvalCode");
        XmlFncs::xmlAddCDATA(language, "JScript");
        XmlFncs::xmlAddCDATA(evalCode, "old");
        const std::string row = std::string(c.ace) + " / " + c.timeout;
        if (c.number == 0) {
            const std::string text = script.MainEvalCodeMake();
            EXPECT_NE(text.find(c.expected), std::string::npos) << row << ": " << text;
            continue;
        }
        const ErrorRecord error = raisedBy([&] { script.MainEvalCodeMake(); });
        EXPECT_EQ(error.Number, c.number) << row;
        EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.MainEvalCodeMake() ")) << row << ": " << error.Source;
        EXPECT_EQ(language.text(), "JScript") << row;
        EXPECT_EQ(evalCode.text(), "old") << row;
    }
}

TEST_F(Generation, Main_MissingPartsReadEmptyButMissingParametersFails)
{
    ZelScriptXml script;
    script.NodeRootValidate("<Definition><Method><Parameters/></Method><Proxy><Timeout>5</Timeout></Proxy>"
                            "</Definition>");
    // No WebService element: its values and the ACE flag read as empty, and an empty ACE is no Boolean.
    EXPECT_EQ(raisedBy([&] { script.MainEvalCodeMake(); }).Number, ErrorNumber::TypeMismatch);

    ZelScriptXml withAce;
    withAce.NodeRootValidate("<Definition><WebService><ACE>1</ACE></WebService><Method><Parameters/></Method>"
                             "<Proxy><Timeout>5</Timeout></Proxy></Definition>");
    EXPECT_EQ(withAce.MainEvalCodeMake(), "MAIN url= svc= cls= proxy= ssl= server= port= user= pwd= timeout=5 "
                                          "call=[SUB ()] ace=[];END");

    ZelScriptXml noParameters;
    noParameters.NodeRootValidate("<Definition><WebService><ACE>0</ACE></WebService><Method/>"
                                  "<Proxy><Timeout>5</Timeout></Proxy></Definition>");
    const ErrorRecord error = raisedBy([&] { noParameters.MainEvalCodeMake(); });
    EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet);
    EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.WebServiceCallEvalCodeMake()  ZelScriptXml.MainEvalCodeMake() "))
        << error.Source;
}

TEST_F(Generation, MissingTemplates_AreEmptyText)
{
    writeTemplates("<C><Sections><Section><SecId>SOAPObjectGetOne</SecId><EvalCode>END</EvalCode></Section>"
                   "<Section><SecId>ParamSimpleGet</SecId><EvalCode>P</EvalCode></Section></Sections></C>");
    ZelScriptXml script;
    script.ParamAdd("a", "int");
    script.ParamAdd("b", "int", "Mapped");
    EXPECT_EQ(script.MainEvalCodeMake(), "P\r\n\r\nEND");
}

TEST_F(Generation, TemplatesFileReplacedBetweenGenerations_SecondUsesNewTemplates)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("u", "", false, false, "s", "c", "M");
    const std::string first = script.MainEvalCodeMake();
    EXPECT_TRUE(first.starts_with("MAIN ")) << first;

    writeTemplates("<C><Sections><Section><SecId>Main</SecId><EvalCode>NEW &lt;SOAPCall&gt;</EvalCode></Section>"
                   "<Section><SecId>SOAPCallSub</SecId><EvalCode>call &lt;MethodName&gt;</EvalCode></Section>"
                   "</Sections></C>");
    EXPECT_EQ(script.MainEvalCodeMake(), "NEW call M");
}

TEST_F(Generation, TemplatesFileMissing_FailsWithTheChainOfTags)
{
    ZelScriptXml script;
    script.ParamAdd("a", "int");
    std::filesystem::remove(m_folder / ZelConfig::kFileName);

    struct Case
    {
        std::function<void()> call;
        const char* chain;
    };
    const std::vector<Case> cases = {
        {[&] { script.MainEvalCodeMake(); }, " ZelConfig.ScriptGetOne()  ZelScriptXml.MainEvalCodeMake() "},
        {[&] { script.WebServiceCallEvalCodeMake(); },
         " ZelConfig.ScriptGetOne()  ZelScriptXml.WebServiceCallEvalCodeMake() "},
        {[&] { script.WebServiceAceEvalCodeMake(); },
         " ZelConfig.ScriptGetOne()  ZelScriptXml.WebServiceAceEvalCodeMake() "},
        {[&] { script.ParamAdd("a", "string"); },
         " ZelConfig.ScriptGetOne()  ZelScriptXml.ParamEvalCodeMake()  WebServiceParams.ParamAdd() "},
    };
    for (const Case& c : cases) {
        const ErrorRecord error = raisedBy(c.call);
        EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet) << c.chain;
        EXPECT_TRUE(error.Source.ends_with(c.chain)) << error.Source;
    }
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/Type"), "int");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeRoot, "EvalCode"), "");
}

class Templates : public ComponentFolderTest
{
};

TEST_F(Templates, ScriptGetOne_FirstExactMatchWins)
{
    writeTemplates("<Root><Sections>"
                   "<Section><SecId>main</SecId><EvalCode>lower</EvalCode></Section>"
                   "<Section><SecId>Main</SecId><EvalCode><![CDATA[a < \"b\" & c]]></EvalCode></Section>"
                   "<Section><SecId>Main</SecId><EvalCode>second</EvalCode></Section>"
                   "<Section><SecId>Plain</SecId><EvalCode>a &lt; \"b\" &amp; c</EvalCode></Section>"
                   "<Section><SecId>it's</SecId><EvalCode>apostrophe</EvalCode></Section>"
                   "<Section><SecId>Empty</SecId></Section>"
                   "</Sections></Root>");
    ZelConfig config;
    EXPECT_EQ(config.ScriptGetOne("Main"), "a < \"b\" & c");
    EXPECT_EQ(config.ScriptGetOne("Plain"), "a < \"b\" & c");
    EXPECT_EQ(config.ScriptGetOne("main"), "lower");
    EXPECT_EQ(config.ScriptGetOne("MAIN"), "");
    EXPECT_EQ(config.ScriptGetOne("it's"), "apostrophe");
    EXPECT_EQ(config.ScriptGetOne("Empty"), "");
    EXPECT_EQ(config.ScriptGetOne(""), "");
}

TEST_F(Templates, ObjectReadsTheFileOnceAndMalformedFileIsMissing)
{
    writeTemplates("<R><Sections><Section><SecId>A</SecId><EvalCode>one</EvalCode></Section></Sections></R>");
    ZelConfig config;
    EXPECT_EQ(config.ScriptGetOne("A"), "one");
    writeTemplates("<R><Sections><Section><SecId>A</SecId><EvalCode>two</EvalCode></Section></Sections></R>");
    EXPECT_EQ(config.ScriptGetOne("A"), "one");
    EXPECT_EQ(ZelConfig().ScriptGetOne("A"), "two");

    writeTemplates("<R><Sections>");
    ZelConfig late;
    const ErrorRecord error = raisedBy([&] { late.ScriptGetOne("A"); });
    EXPECT_EQ(error.Number, ErrorNumber::ObjectNotSet);
    EXPECT_TRUE(error.Source.ends_with(" ZelConfig.ScriptGetOne() "));

    // An object that found no file tries again on its next request.
    writeTemplates("<R><Sections><Section><SecId>A</SecId><EvalCode>three</EvalCode></Section></Sections></R>");
    EXPECT_EQ(late.ScriptGetOne("A"), "three");
}

} // namespace
} // namespace zel
