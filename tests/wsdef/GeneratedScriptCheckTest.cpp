#include "WsdefTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "platform/text/Text.h"
#include "wsdef/ZelScriptXml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

using wsdeftest::ComponentFolderTest;

// The installed templates, as the wizard uses them, checked by our VBScript front end.
class GeneratedScript : public ComponentFolderTest
{
protected:
    void SetUp() override
    {
        ComponentFolderTest::SetUp();
        useTemplates(std::filesystem::path(ZEL_SOURCE_DIR) / "data" / "component" / "ZelWebServiceConfig.xml");
    }

    static ::testing::AssertionResult compiles(const std::string& script)
    {
        const script::Diagnostic verdict = script::vbscript::check(script);
        if (verdict.ok())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "error " << verdict.number << " at offset " << verdict.offset
               << " before: " << script.substr(std::min(verdict.offset, script.size()), 80);
    }
};

// The script of the calculator's Add; full: with a return value handed over to an attribute, a
// proxy, and parameters mapped to attributes or given fixed values.
std::string generate(bool full)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("http://localhost:8080/Calculator.asmx",
                                   test::fixture("wsdef/CalculatorService.wsdl"), false, full, "Calculator",
                                   "Calculator", "Add");
    script.WebServiceMethodReturnSet(full ? "int" : "", full ? "Total" : "[none]");
    script.WebServiceProxySettingsSet(full, full, full ? "proxy.example" : "", "3128", "svc-user", "p@ss",
                                      full ? 45 : 0);
    if (full) {
        script.ParamAdd("a", "int", "OrderId", "");
        script.ParamAdd("label", "string", "CustomerName", R"(He said "hi" & left)");
        script.ParamAdd("b", "double", "\xC3\xBF\xC3\xBF\xC3\xBF", "2.5");
        script.ParamAdd("ratio", "double", "[none]", "");
    }
    return script.MainEvalCodeMake();
}

// What the script does at run time cannot run here (no VBScript engine), so each behaviour is
// pinned by the lines of the script that carry it, in a script that passes the check.
TEST_F(GeneratedScript, CarriesItsRunTimeBehaviours)
{
    const std::string text = generate(true);
    ASSERT_TRUE(compiles(text));
    const std::vector<std::pair<const char*, std::vector<const char*>>> behaviours = {
        {"the call passes every parameter's value and hands the result over",
         {"wsResult = WsOperationCall(\"Add\", Array(aGet(), labelGet(), bGet(), ratioGet()))",
          "DataRiver(\"Total\") = wsResult", "Function aGet()", "varValue = DataRiver(\"OrderId\")",
          "varValue = \"He said \"\"hi\"\" & left\"", "Function bGet()\n    bGet = 2.5\nEnd Function"}},
        {"the proxy and the time-out are set",
         {"wsUseProxy = \"1\"", "wsProxyServer = \"proxy.example\"", "wsTimeout = 45\n",
          "CreateObject(\"MSXML2.ServerXMLHTTP.6.0\")"}},
        {"a Date goes out as its schema type wants",
         {"WsXmlValue(arrValues(i), arrTypes(i)(1))", "Case \"date\": WsXmlValue = strDate\n",
          "Case \"time\": WsXmlValue = strTime\n", "Case Else: WsXmlValue = strDate & \"T\" & strTime\n"}},
        {"an older-style class name finds its port, else one whose binding has the operation",
         {"Set objPort = WsPortFind(objWsdl, strOperation)",
          "Len(strName) = Len(wsPortName) + 11 And Left(strName, Len(wsPortName)) = wsPortName",
          "If Not WsNamed(objBinding, \"wsdl:operation\", strOperation) Is Nothing Then"}},
        {"a failed connection names the error in hex and a plain reason",
         {"\": error \" & Hex(lngError) & \" (\" & _\n            WsHttpReason(lngError, strError) & \")\"",
          "Case \"80072EFD\": strReason = \"no connection to the server could be made\"",
          "strReason = \"the request could not be sent\""}},
        {"the encoded style names each value's type from the message parts",
         {"colTypes.Add colTypes.Count, WsQName(objPart, WsAttribute(objPart, \".\", \"type\"))",
          "If strUse = \"encoded\" And arrTypes(i)(1) <> \"\" Then", "strType = \" xsi:type=\"\"xsd:\" & ",
          "strBody = strBody & \"<\" & strChild & strType & \">\""}},
        {"a structured result is handed over as the XML of its children, and the comment says so",
         {"If objNode.selectSingleNode(\"*\") Is Nothing Then\n            strResult = objNode.text",
          "If objChild.nodeType = 1 Then strResult = strResult & objChild.xml",
          "' simple result, the XML of the child elements of a structured one.\nwsResult = WsOperationCall("}},
    };
    for (const auto& [behaviour, pieces] : behaviours)
        for (const char* piece : pieces)
            EXPECT_NE(text.find(piece), std::string::npos) << behaviour << ": " << piece;

    // Without parameters, return value, hand-over or proxy: a statement call, nothing handed over.
    const std::string plain = generate(false);
    EXPECT_TRUE(compiles(plain));
    EXPECT_NE(plain.find("WsOperationCall \"Add\", Array()"), std::string::npos);
    EXPECT_EQ(plain.find("DataRiver(\"Total\")"), std::string::npos);
    EXPECT_NE(plain.find("wsTimeout = 0\n"), std::string::npos);

    // The check is a real one: the same script with a string default left undoubled is refused.
    std::string undoubled = text;
    const std::string doubled = R"("He said ""hi"" & left")";
    ASSERT_NE(undoubled.find(doubled), std::string::npos);
    undoubled.replace(undoubled.find(doubled), doubled.size(), R"("He said "hi" & left")");
    EXPECT_FALSE(compiles(undoubled));
}

// Names, addresses and proxy credentials typed by the user go between quotes in the script: a
// quote or a line break in them must neither break the script nor smuggle code into it.
TEST_F(GeneratedScript, QuotesAndLineBreaksInUserTextStayInsideTheirLiterals)
{
    ZelScriptXml script;
    script.WebServicePropertiesSet("http://host/a\"b.asmx", test::fixture("wsdef/CalculatorService.wsdl"), false, true,
                                   "Calc\"ulator", "Calculator", "Add");
    script.WebServiceMethodReturnSet("int", "To\"tal");
    script.WebServiceProxySettingsSet(true, false, "proxy\r\nMsgBox 1", "3128", "us\"er",
                                      "pa\"ss\" : CreateObject(\"WScript.Shell\").Run \"calc", 10);
    script.ParamAdd("a", "int", "Order\"Id", "");
    script.ParamAdd("note", "string", "", "first line\r\nMsgBox \"injected\"");
    const std::string text = script.MainEvalCodeMake();
    EXPECT_TRUE(compiles(text));
    for (const char* piece :
         {"wsWsdlUrl = \"http://host/a\"\"b.asmx\"", "wsProxyServer = \"proxy\" & vbCrLf & \"MsgBox 1\"",
          "wsProxyPassword = \"pa\"\"ss\"\" : CreateObject(\"\"WScript.Shell\"\").Run \"\"calc\"",
          "DataRiver(\"To\"\"tal\") = wsResult", "varValue = DataRiver(\"Order\"\"Id\")",
          "noteGet = \"first line\" & vbCrLf & \"MsgBox \"\"injected\"\"\""})
        EXPECT_NE(text.find(piece), std::string::npos) << piece;
}

// For any definition, however hostile the names and types its WSDL gave, with or without
// parameters, return value, End Activity and proxy, the script passes the check, no text of it
// becomes a statement, it defines each function once (in any letter case) and calls the
// parameters' functions.
TEST_F(GeneratedScript, AnyDefinitionGivesACheckedScriptWithOneFunctionPerParameter)
{
    // Pieces of names and types, separated by "|": WSDL names that are no script names, names
    // equal but for letter case, line breaks, quotes, placeholders, keywords, script names.
    std::vector<std::string> pieces;
    const std::string joined =
        "a|B|b|first-name|_a|1st|pr\xC3\xA9nom|\xE6\x97\xA5|x\r\nMsgBox 1 '|\"|'|\n|\r|<ParIdent>|"
        "<ParDefValue>|<ParName>|<Params>|:| |\xE2\x80\xA8|Get|If|End Function|\t|&|Rem|_|"
        "WsRaise|(|)|2024-05-01|true|1e3|Dim x|<SOAPCall>|<ACE>|<WSDLUrl>|<PROXYServer>|<PROXYTimeout>|"
        "<ParType>|<ParAtrId>|<UsrId>|<MethodName>|<AtrId>|<SOAP|Call>";
    for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1)
        pieces.push_back(joined.substr(at, (bar = joined.find('|', at)) - at));
    const std::vector<std::string> types = {"string", "int",      "double",   "boolean",
                                            "date",   "dateTime", "s:string", "tns:Order"};
    std::mt19937 random(9);
    const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const auto word = [&] {
        std::string text;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
            text += pick(pieces);
        return text;
    };
    const std::regex function(R"(\bFunction (\w+)\()", std::regex::icase);
    const std::regex called(R"((\w+)\(\))");
    for (int round = 0; round < 200; ++round) {
        ZelScriptXml script;
        script.WebServicePropertiesSet(word(), "", false, random() % 2 == 0, word(), word(), word());
        script.WebServiceMethodReturnSet(random() % 2 ? pick(types) : word(), word());
        script.WebServiceProxySettingsSet(true, false, word(), word(), word(), word(), 5);
        for (int n = static_cast<int>(random() % 7); n > 0; --n) {
            const std::string type = random() % 3 ? pick(types) : word();
            try {
                script.ParamAdd(word(), type, random() % 2 ? word() : "", random() % 2 ? word() : "");
            } catch (const ErrorRecord& error) {
                ASSERT_EQ(error.Number, ErrorNumber::TypeMismatch) << error.Description; // an unreadable default
            }
        }
        const std::string text = script.MainEvalCodeMake();
        ASSERT_TRUE(compiles(text)) << "round " << round;
        ASSERT_EQ(text.find("\nMsgBox"), std::string::npos) << "a name or type became a statement, round " << round;

        std::set<std::string> defined;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), function); it != std::sregex_iterator(); ++it)
            ASSERT_TRUE(defined.insert(Text::lowerAscii((*it)[1].str())).second) << (*it)[1] << ", round " << round;
        const std::size_t call = text.find("WsOperationCall");
        const std::string line = text.substr(call, text.find('\n', call) - call);
        const std::string arguments = line.substr(line.rfind("Array(") + 6);
        std::size_t parameters = 0;
        for (auto it = std::sregex_iterator(arguments.begin(), arguments.end(), called); it != std::sregex_iterator();
             ++it, ++parameters)
            EXPECT_EQ(defined.count(Text::lowerAscii((*it)[1].str())), 1u) << arguments;
        EXPECT_EQ(parameters, script.pubNodeDefMetParams.selectNodes("Parameter").size()) << arguments;
    }
}

} // namespace
} // namespace zel
