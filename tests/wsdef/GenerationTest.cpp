#include "WsdefTestSupport.h"

#include "common/XmlFncs.h"
#include "common/modFnc.h"
#include "wsdef/ZelConfig.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <regex>
#include <tuple>
#include <vector>

namespace zel {
namespace {

using wsdeftest::ComponentFolderTest;
using wsdeftest::raisedBy;

using Generation = wsdeftest::MarkerTemplatesTest;
using Templates = ComponentFolderTest;

// The fragment ParamAdd stored for a parameter named "p".
std::string fragment(std::string_view type, std::string_view defValue, std::string_view atrId = {})
{
    ZelScriptXml script;
    script.ParamAdd("p", type, atrId, defValue);
    return XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/EvalCode");
}

// The default-value literal and the choice between the simple and the mapped template.
TEST_F(Generation, ParameterFragment_LiteralTableAndTemplateChoice)
{
    const std::string none3 = "\xC3\xBF\xC3\xBF\xC3\xBF", zeros(400, '0');
    // type, default value, attribute, fragment
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
        // string, any case: quoted, inner quotes doubled; empty gives ""
        {"string", "hello", "", R"(S p="hello")"},
        {"String", " two  blanks ", "", R"(S p=" two  blanks ")"},
        {"STRING", "", "", R"(S p="")"},
        {"string", R"(say "hi")", "", R"(S p="say ""hi""")"},
        {"string", R"(" & CreateObject("x") & ")", "", R"(S p=""" & CreateObject(""x"") & """)"},
        {"string", "12", "", R"(S p="12")"},
        {"string", "two\r\nlines\n", "", R"(S p="two" & vbCrLf & "lines" & vbLf & "")"},
        // int: the number at the start, however the text goes on; too small to hold reads as 0,
        // whether the exponent or the zeros make it small
        {"int", "12abc", "", "S p=12"},
        {"int", "007", "", "S p=7"},
        {"int", "3.5", "", "S p=3.5"},
        {"Int", "abc", "", "S p=0"},
        {"int", "", "", "S p=0"},
        {"int", " -4 2", "", "S p=-42"},
        {"int", "1e3x", "", "S p=1000"},
        {"int", "2.50", "", "S p=2.5"},
        {"int", "1e-999", "", "S p=0"},
        {"int", "0." + zeros + "1", "", "S p=0"},
        {"int", "-0.1e-400", "", "S p=0"},
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
    for (const auto& [type, defValue, atrId, expected] : cases)
        EXPECT_EQ(fragment(type, defValue, atrId), expected) << type << " / [" << defValue << "] / [" << atrId << "]";

    // A fixed value that cannot be read as its type is refused, not sent as something else; one too
    // large for a number overflows. Either way no parameter is stored.
    const std::vector<std::tuple<std::string, std::string, int32_t>> refused = {
        {"boolean", "yes", ErrorNumber::TypeMismatch},
        {"boolean", "-.5", ErrorNumber::TypeMismatch},
        {"double", "letters", ErrorNumber::TypeMismatch},
        {"float", "12abc", ErrorNumber::TypeMismatch},
        {"date", "01/05/2024", ErrorNumber::TypeMismatch},
        {"date", "2024-13-01", ErrorNumber::TypeMismatch},
        {"dateTime", "2024-05-01", ErrorNumber::TypeMismatch},
        {"time", "25:00:00", ErrorNumber::TypeMismatch},
        {"long", "1,5", ErrorNumber::TypeMismatch},
        {"int", "1e999", ErrorNumber::Overflow},
        {"int", "1" + zeros + "e-5", ErrorNumber::Overflow},
    };
    for (const auto& [type, value, number] : refused) {
        ZelScriptXml script;
        const ErrorRecord error = raisedBy([&] { script.ParamAdd("p", type, "", value); });
        EXPECT_EQ(error.Number, number) << type << " / " << value;
        EXPECT_TRUE(error.Source.ends_with(" ZelScriptXml.ParamEvalCodeMake()  WebServiceParams.ParamAdd() "))
            << error.Source;
        EXPECT_TRUE(number != ErrorNumber::TypeMismatch || error.Description.find(value) != std::string::npos)
            << error.Description;
        EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/Name"), "");
    }
}

// Placeholders are replaced in table order, each on the text the one before produced. Every
// parameter's function gets a script identifier: the name when it is one, else a safe variant;
// unique in any letter case, even after a parameter moves to the end. Texts from the WSDL in the
// fragment stay inside their comment or string.
TEST_F(Generation, Placeholders_ReplacedInTableOrder_ParameterIdentifiersValidUniqueAndFollowedByEveryFunction)
{
    writeTemplates(R"(<C><Sections><Section><SecId>SOAPCallSub</SecId><EvalCode>SUB (&lt;Params&gt;)</EvalCode>)"
                   R"(</Section><Section><SecId>ParamSimpleGet</SecId><EvalCode><![CDATA[)"
                   R"(<ParIdent>|<ParName>|<ParType>|<ParDefValue>|<UsrId>|<Date>]]></EvalCode></Section>)"
                   R"(<Section><SecId>ParamExtendedGet</SecId><EvalCode>[&lt;ParAtrId&gt;]</EvalCode></Section>)"
                   R"(</Sections></C>)");
    ZelScriptXml script;
    // The name holds a later placeholder (replaced too); the type an earlier one (left).
    script.ParamAdd("n<ParType>", "t<UsrId>", "", "");
    const std::string code = XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/EvalCode");
    const std::regex expected("n_ParType_\\|nt<UsrId>\\|t<UsrId>\\|\"\"\\|" + modFnc::UserName() +
                              "\\|\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
    EXPECT_TRUE(std::regex_match(code, expected)) << code;
    // The value of the last replacement is left as it is.
    script.ParamAdd("q", "int", "<ParName>", "");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter[2]/EvalCode"), "[<ParName>]");

    script = ZelScriptXml();
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
    EXPECT_TRUE(fragmentOf(5).starts_with("b|b|string|")) << fragmentOf(5);
    EXPECT_TRUE(fragmentOf(9).starts_with("B_3|B|int\" & vbCrLf & \"MsgBox 1|")) << fragmentOf(9);
}

// A value holding a later placeholder gets its value too, except the call and the hand-over: code
// goes only where the template has its place, never into a name.
TEST_F(Generation, Main_ReplacesEveryPlaceholderInOrderAndLaysOutFragments_CallAndHandOverFollowTheReturnType)
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

    // The call's template follows the return type; End Activity hands the result over only when
    // there are a result and an attribute for it. "<Params>" goes in before "<MethodName>": a
    // parameter name holding the later placeholder is replaced too, an operation name holding the
    // earlier one is left.
    const char* const none3 = "\xC3\xBF\xC3\xBF\xC3\xBF";
    // return type, its attribute, operation, parameter, the script from the call to the hand-over
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"", "", "M", "x", "SUB M(xGet())] ace=[]"},
        {"[none]", "", "M", "x", "FNC M(xGet())] ace=[]"},
        {"string", "", "M", "x", "FNC M(xGet())] ace=[]"},
        {"", "", "Op<Params>", "x<MethodName>", "SUB Op<Params>(x_MethodName_Get())] ace=[]"},
        {"int", "Total", "M", "x", "FNC M(xGet())] ace=[ACE Total]"},
        {"int", "[none]", "M", "x", "FNC M(xGet())] ace=[]"},
        {"", "Total", "M", "x", "SUB M(xGet())] ace=[]"},
        {"[None]", "Total", "M", "x", "FNC M(xGet())] ace=[]"},
        {"int", none3, "M", "x", "FNC M(xGet())] ace=[]"},
    };
    for (const auto& [returnType, atrId, operation, parameter, expected] : cases) {
        script = ZelScriptXml();
        script.WebServicePropertiesSet("u", "", false, true, "s", "c", operation);
        script.MethodDataSet(operation, returnType, atrId, "");
        script.ParamAdd(parameter, "int");
        const std::string made = script.MainEvalCodeMake();
        EXPECT_NE(made.find("call=[" + std::string(expected) + ";"), std::string::npos) << made;
    }
}

// A stored definition is read as it is: missing parts read empty, only the elements under
// Parameters are parameters (a comment or stray text adds neither an argument nor a fragment). The
// time-out is read before the call is made and the ACE flag after it, so each failure shows which
// step stopped; a failure leaves the script and its language as they were.
TEST_F(Generation, Main_StoredDefinitions_MissingPartsEmpty_BadTextsFailInStepOrder)
{
    const std::string main = "MAIN url= svc= cls= proxy= ssl= server= port= user= pwd= timeout=";
    const char* const tag = " ZelScriptXml.MainEvalCodeMake() ";
    const char* const typed = "<Method><Parameters/><Return><Type>int</Type><AtrId>T</AtrId></Return></Method>";
    // ACE (nullptr: no WebService element), time-out, Method element, error (0: none), and the
    // script after "timeout=" or the end of the error's source
    const std::tuple<const char*, const char*, const char*, int32_t, const char*> cases[] = {
        {"1", "", typed, ErrorNumber::TypeMismatch, tag},
        {"1", "abc", typed, ErrorNumber::TypeMismatch, tag},
        {"1", "12abc", typed, ErrorNumber::TypeMismatch, tag},
        {"", "0", typed, ErrorNumber::TypeMismatch, tag},
        {nullptr, "5", typed, ErrorNumber::TypeMismatch, tag}, // an ACE that is not there is no Boolean
        {"yes", "0", typed, ErrorNumber::TypeMismatch, tag},
        {"1x", "0", typed, ErrorNumber::TypeMismatch, tag},
        {"1", "x", "<Method/>", ErrorNumber::TypeMismatch, tag},
        {"x", "1", "<Method/>", ErrorNumber::ObjectNotSet,
         " ZelScriptXml.WebServiceCallEvalCodeMake()  ZelScriptXml.MainEvalCodeMake() "},
        {"-1", " 30 ", typed, 0, "30 call=[FNC ()] ace=[ACE T];END"},
        {"True", "2.50", typed, 0, "2.5 call=[FNC ()] ace=[ACE T];END"},
        {"false", "1e1", typed, 0, "10 call=[FNC ()] ace=[];END"},
        {"0", "-0", typed, 0, "0 call=[FNC ()] ace=[];END"},
        {"0", "0",
         "<Method><Name>M</Name><Parameters><!-- mapped by hand --><Parameter><Name>a</Name><EvalCode>A</EvalCode>"
         "</Parameter>stray<Parameter><Name>b</Name><EvalCode>B</EvalCode></Parameter></Parameters></Method>",
         0, "0 call=[SUB M(aGet(), bGet())] ace=[];A\r\nB\r\nEND"},
    };
    for (const auto& [ace, timeout, method, number, expected] : cases) {
        ZelScriptXml script;
        script.NodeRootValidate("<Definition>" +
                                (ace ? "<WebService><ACE>" + std::string(ace) + "</ACE></WebService>" : "") + method +
                                "<Proxy><Timeout>" + timeout + "</Timeout></Proxy></Definition>");
        XmlNode language = script.pubNodeRoot.child("Language");
        XmlNode evalCode = script.pubNodeRoot.child("EvalCode");
        XmlFncs::xmlAddCDATA(language, "JScript");
        XmlFncs::xmlAddCDATA(evalCode, "old");
        const std::string row = std::string(ace ? ace : "no ACE") + " / " + timeout;
        if (number == 0) {
            EXPECT_EQ(script.MainEvalCodeMake(), main + expected) << row;
            continue;
        }
        const ErrorRecord error = raisedBy([&] { script.MainEvalCodeMake(); });
        EXPECT_EQ(error.Number, number) << row;
        EXPECT_TRUE(error.Source.ends_with(expected)) << row << ": " << error.Source;
        EXPECT_EQ(language.text(), "JScript") << row;
        EXPECT_EQ(evalCode.text(), "old") << row;
    }
}

// Every generation reads the templates file again; a template it lacks is empty text, a file
// that is gone fails every generation with the chain of tags and leaves the script as it was.
TEST_F(Generation, TemplatesFileReadByEveryGeneration_MissingTemplatesEmpty_MissingFileFails)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("u", "", false, false, "s", "c", "M");
    script.ParamAdd("a", "int");
    EXPECT_TRUE(script.MainEvalCodeMake().starts_with("MAIN "));

    writeTemplates("<C><Sections><Section><SecId>Main</SecId><EvalCode>NEW &lt;SOAPCall&gt;</EvalCode></Section>"
                   "<Section><SecId>SOAPCallSub</SecId><EvalCode>call &lt;MethodName&gt;</EvalCode></Section>"
                   "<Section><SecId>SOAPObjectGetOne</SecId><EvalCode>END</EvalCode></Section></Sections></C>");
    script.ParamAdd("b", "int", "Mapped");
    const std::string made = script.MainEvalCodeMake();
    EXPECT_EQ(made, "NEW call MS a=0\r\n\r\nEND");

    std::filesystem::remove(m_folder / ZelConfig::kFileName);
    const std::string chain = " ZelConfig.ScriptGetOne()  ZelScriptXml.";
    test::expectRaises([&] { script.MainEvalCodeMake(); }, ErrorNumber::ObjectNotSet, chain + "MainEvalCodeMake() ");
    test::expectRaises([&] { script.WebServiceCallEvalCodeMake(); }, ErrorNumber::ObjectNotSet,
                       chain + "WebServiceCallEvalCodeMake() ");
    test::expectRaises([&] { script.WebServiceAceEvalCodeMake(); }, ErrorNumber::ObjectNotSet,
                       chain + "WebServiceAceEvalCodeMake() ");
    test::expectRaises([&] { script.ParamAdd("a", "string"); }, ErrorNumber::ObjectNotSet,
                       chain + "ParamEvalCodeMake()  WebServiceParams.ParamAdd() ");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeDefMetParams, "Parameter/Type"), "int");
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(script.pubNodeRoot, "EvalCode"), made);
}

TEST_F(Templates, ScriptGetOne_FirstExactMatchWins_FileReadOncePerObject)
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

    // An object reads the file once, a new one reads it again; a malformed file is a missing one.
    writeTemplates("<R><Sections><Section><SecId>A</SecId><EvalCode>two</EvalCode></Section></Sections></R>");
    EXPECT_EQ(config.ScriptGetOne("Main"), "a < \"b\" & c");
    EXPECT_EQ(config.ScriptGetOne("A"), "");
    EXPECT_EQ(ZelConfig().ScriptGetOne("A"), "two");
    writeTemplates("<R><Sections>");
    ZelConfig late;
    test::expectRaises([&] { late.ScriptGetOne("A"); }, ErrorNumber::ObjectNotSet, " ZelConfig.ScriptGetOne() ");

    // An object that found no file tries again on its next request.
    writeTemplates("<R><Sections><Section><SecId>A</SecId><EvalCode>three</EvalCode></Section></Sections></R>");
    EXPECT_EQ(late.ScriptGetOne("A"), "three");
}

} // namespace
} // namespace zel
