#include "wsdef/ZelScriptXml.h"

#include "common/Clock.h"
#include "common/ErrorRecord.h"
#include "common/XmlFncs.h"
#include "common/modFnc.h"
#include "wsdef/ZelConfig.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zel {
namespace {

// Three U+00FF characters: what the attribute lists hand over for "no attribute".
constexpr std::string_view kNoAttribute = "\xC3\xBF\xC3\xBF\xC3\xBF";

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Every occurrence, scanning left to right; text put in is not scanned again.
void replaceAll(std::string& text, std::string_view placeholder, std::string_view value)
{
    std::size_t at = 0;
    while ((at = text.find(placeholder, at)) != std::string::npos) {
        text.replace(at, placeholder.size(), value);
        at += value.size();
    }
}

// text as the content of a VBScript string literal: quotes doubled, line breaks spelled with
// the line-break constants. The templates put names, addresses and proxy credentials between
// quotes (and in comments, where this is harmless), so a quote or line break typed by the user
// can neither break the script nor inject code into it.
std::string vbStringContent(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\" & vbCrLf & \"";
            ++i;
        } else if (c == '\r') {
            out += "\" & vbCr & \"";
        } else if (c == '\n') {
            out += "\" & vbLf & \"";
        } else {
            out += c;
        }
    }
    return out;
}

// Decimal text without superfluous zeros and without exponent: 30 -> "30", 2.5 -> "2.5".
std::string decimalText(double value)
{
    if (value == 0)
        value = 0; // no "-0"
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// The power of ten of the first significant digit of a number written as sign, digits, point,
// digits and exponent ("123" -> 2, "0.05" -> -2, "1e-3" -> -3); 0 for a number without one.
// Only its sign matters, so a long exponent is cut short.
long decimalExponent(std::string_view number)
{
    const std::size_t exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        const bool negative = exponentAt + 1 < number.size() && number[exponentAt + 1] == '-';
        for (char c : number.substr(exponentAt + 1)) {
            if (isDigit(c) && exponent < 1'000'000)
                exponent = exponent * 10 + (c - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t significant = mantissa.find_first_of("123456789");
    if (significant == std::string_view::npos)
        return 0;
    const long position =
        significant < point ? static_cast<long>(point - significant) - 1 : -static_cast<long>(significant - point);
    return position + exponent;
}

// The number at the start of text, the way a typed default is read: blanks are skipped
// wherever they are, reading stops at the first character that cannot continue the number, and
// no number at all reads as 0 ("12abc" -> 12, "007" -> 7, "abc" -> 0).
double leadingNumber(std::string_view text)
{
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            compact.push_back(c);
    }
    std::size_t i = 0;
    std::string number;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        number.push_back(compact[i++]);
    bool digits = false;
    while (i < compact.size() && isDigit(compact[i])) {
        number.push_back(compact[i++]);
        digits = true;
    }
    if (i < compact.size() && compact[i] == '.') {
        number.push_back(compact[i++]);
        while (i < compact.size() && isDigit(compact[i])) {
            number.push_back(compact[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < compact.size() && (compact[i] == 'e' || compact[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            exponent.push_back(compact[j++]);
        if (j < compact.size() && isDigit(compact[j])) {
            while (j < compact.size() && isDigit(compact[j]))
                exponent.push_back(compact[j++]);
            number += exponent;
        }
    }
    // from_chars takes no leading '+'.
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as 0; too large is the overflow error a typed value gives.
        if (decimalExponent(number) < 0)
            return 0;
        raise(ErrorNumber::Overflow, "Overflow");
    }
    return value;
}

// True when the whole text, blanks around it allowed, is one number: optional sign, digits with an
// optional decimal point, an optional exponent.
bool isNumeric(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string_view t = text.substr(first, last - first + 1);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool digits = false;
    while (i < t.size() && isDigit(t[i])) {
        ++i;
        digits = true;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (i == t.size() || !isDigit(t[i]))
            return false;
        while (i < t.size() && isDigit(t[i]))
            ++i;
    }
    return i == t.size();
}

// The script literal of a parameter's default value. A string default is written as string
// content like every other typed text: an undoubled quote would end the literal early and let a
// typed value become script code, and a line break inside a literal is a syntax error.
std::string defaultLiteral(std::string_view type, std::string_view value)
{
    const std::string lowerType = lowerAscii(type);
    if (value.empty())
        return lowerType == "int" ? "0" : "\"\"";
    if (lowerType == "string")
        return "\"" + vbStringContent(value) + "\"";
    if (lowerType == "int" || isNumeric(value))
        return decimalText(leadingNumber(value));
    return "\"\"";
}

// A text of the document read as a number for generation; anything else is a type mismatch.
double numberOf(std::string_view text, std::string_view what)
{
    if (!isNumeric(text))
        raise(ErrorNumber::TypeMismatch, "Type mismatch: " + std::string(what) + " \"" + std::string(text) + "\"");
    return leadingNumber(text);
}

// A text of the document read as a Boolean: numbers (0 false, others true) or True/False.
bool booleanOf(std::string_view text, std::string_view what)
{
    const std::string word = lowerAscii(XmlFncs::trimSpaces(text));
    if (word == "true")
        return true;
    if (word == "false")
        return false;
    return numberOf(text, what) != 0;
}

// The child element that a setter writes; its parent must exist, the child itself may be
// missing in a loaded definition (and is then left alone, as xmlAddCDATA does with none).
XmlNode childToWrite(const XmlNode& parent, std::string_view parentName, std::string_view childName)
{
    if (parent.isNone())
        raiseObjectNotSet(std::string(parentName) + " of the web-service definition");
    return parent.selectSingleNode(childName);
}

void writeValue(const XmlNode& parent, std::string_view parentName, std::string_view childName, std::string_view value)
{
    XmlNode child = childToWrite(parent, parentName, childName);
    XmlFncs::xmlAddCDATA(child, value);
}

std::string flag(bool value)
{
    return value ? "1" : "0";
}

} // namespace

void ZelScriptXml::NodeRootValidate(std::string_view pstrDefinition)
{
    try {
        if (pubNodeRoot)
            return;
        XmlNode document = XmlNode::newDocument();
        pubNodeRoot = document.appendElement("Script");
        XmlFncs::xmlMakeAndAddElement(pubNodeRoot, "Language", "");
        XmlFncs::xmlMakeAndAddElement(pubNodeRoot, "EvalCode", "");

        if (!pstrDefinition.empty()) {
            const XmlNode stored = XmlFncs::xmlMakeNode(pstrDefinition);
            if (stored.isNone())
                raiseObjectNotSet("the stored definition, which is not well-formed XML");
            pubNodeDefinition = pubNodeRoot.appendChild(stored);
            pubNodeDefWebSrv = pubNodeDefinition.selectSingleNode("WebService");
            pubNodeDefMethod = pubNodeDefinition.selectSingleNode("Method");
            if (pubNodeDefMethod) {
                pubNodeDefMetParams = pubNodeDefMethod.selectSingleNode("Parameters");
                pubNodeDefMetReturn = pubNodeDefMethod.selectSingleNode("Return");
            }
            pubNodeDefProxy = pubNodeDefinition.selectSingleNode("Proxy");
            return;
        }

        pubNodeDefinition = XmlFncs::xmlMakeAndAddElement(pubNodeRoot, "Definition", "");
        XmlNode webService = XmlFncs::xmlMakeAndAddElement(pubNodeDefinition, "WebService", "");
        for (const char* name : {"Path", "Wsdl", "LoadFromPath", "ClassName", "ServiceName"})
            XmlFncs::xmlMakeAndAddElement(webService, name, "");
        XmlFncs::xmlMakeAndAddElement(webService, "ACE", "0");

        XmlNode method = XmlFncs::xmlMakeAndAddElement(pubNodeDefinition, "Method", "");
        XmlFncs::xmlMakeAndAddElement(method, "Name", "");
        XmlNode parameters = XmlFncs::xmlMakeAndAddElement(method, "Parameters", "");
        XmlNode result = XmlFncs::xmlMakeAndAddElement(method, "Return", "");
        for (const char* name : {"Type", "AtrId", "DefValue"})
            XmlFncs::xmlMakeAndAddElement(result, name, "");

        XmlNode proxy = XmlFncs::xmlMakeAndAddElement(pubNodeDefinition, "Proxy", "");
        XmlFncs::xmlMakeAndAddElement(proxy, "UseProxy", "0");
        XmlFncs::xmlMakeAndAddElement(proxy, "UseSSL", "0");
        for (const char* name : {"Server", "Port", "User", "Password"})
            XmlFncs::xmlMakeAndAddElement(proxy, name, "");
        XmlFncs::xmlMakeAndAddElement(proxy, "Timeout", "0");

        pubNodeDefWebSrv = webService;
        pubNodeDefMethod = method;
        pubNodeDefMetParams = parameters;
        pubNodeDefMetReturn = result;
        pubNodeDefProxy = proxy;
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.NodeRootValidate() ");
    }
}

void ZelScriptXml::ParamAdd(std::string_view pstrParName, std::string_view pstrParType, std::string_view pstrParAtrId,
                            std::string_view pstrParDefValue)
{
    try {
        NodeRootValidate();
        const std::string code = ParamEvalCodeMake(pstrParName, pstrParType, pstrParAtrId, pstrParDefValue);
        if (pubNodeDefMetParams.isNone())
            raiseObjectNotSet("Method/Parameters of the web-service definition");

        // The name is compared as text: pasted into an XPath, an apostrophe in it would break the
        // expression and the parameter could be neither stored nor replaced.
        for (const XmlNode& parameter : pubNodeDefMetParams.selectNodes("Parameter")) {
            bool same = false;
            for (const XmlNode& name : parameter.selectNodes("Name"))
                same = same || name.text() == pstrParName;
            if (same) {
                pubNodeDefMetParams.removeChild(parameter);
                break;
            }
        }
        if (pstrParName.empty())
            return;

        XmlNode parameter = XmlFncs::xmlMakeAndAddElement(pubNodeDefMetParams, "Parameter", "");
        XmlFncs::xmlMakeAndAddElement(parameter, "Name", pstrParName);
        XmlFncs::xmlMakeAndAddElement(parameter, "Type", pstrParType);
        XmlFncs::xmlMakeAndAddElement(parameter, "AtrId", pstrParAtrId);
        XmlFncs::xmlMakeAndAddElement(parameter, "DefValue", pstrParDefValue);
        XmlFncs::xmlMakeAndAddElement(parameter, "EvalCode", code);
    } catch (...) {
        rethrowWithTag(" WebServiceParams.ParamAdd() ");
    }
}

void ZelScriptXml::WebServiceMethodReturnSet(std::string_view pstrType, std::string_view pstrAtrId)
{
    try {
        NodeRootValidate();
        const bool none = lowerAscii(pstrAtrId) == "[none]" || pstrAtrId == kNoAttribute;
        writeValue(pubNodeDefMetReturn, "Method/Return", "Type", pstrType);
        writeValue(pubNodeDefMetReturn, "Method/Return", "AtrId", none ? std::string_view() : pstrAtrId);
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.WebServiceMethodReturnSet() ");
    }
}

void ZelScriptXml::WebServicePropertiesSet(std::string_view pstrWsdlPath, std::string_view pstrWsdlDef,
                                           bool pblnWsdlLoadFromPath, bool pblnWsdlACE,
                                           std::string_view pstrServiceName, std::string_view pstrClassName,
                                           std::string_view pstrMethodName)
{
    try {
        NodeRootValidate();
        writeValue(pubNodeDefWebSrv, "WebService", "Path", pstrWsdlPath);
        XmlNode wsdl = childToWrite(pubNodeDefWebSrv, "WebService", "Wsdl");
        XmlFncs::xmlAddCDATA(wsdl, "");
        XmlFncs::xmlAddDataToNode(wsdl, pstrWsdlDef);
        writeValue(pubNodeDefWebSrv, "WebService", "LoadFromPath", flag(pblnWsdlLoadFromPath));
        writeValue(pubNodeDefWebSrv, "WebService", "ACE", flag(pblnWsdlACE));
        writeValue(pubNodeDefWebSrv, "WebService", "ClassName", pstrClassName);
        writeValue(pubNodeDefWebSrv, "WebService", "ServiceName", pstrServiceName);
        writeValue(pubNodeDefMethod, "Method", "Name", pstrMethodName);
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.WebServicePropertiesSet() ");
    }
}

void ZelScriptXml::MethodDataSet(std::string_view pstrMethodName, std::string_view pstrReturnType,
                                 std::string_view pstrAtrId, std::string_view pstrDefValue)
{
    try {
        writeValue(pubNodeDefMethod, "Method", "Name", pstrMethodName);
        writeValue(pubNodeDefMetReturn, "Method/Return", "Type", pstrReturnType);
        writeValue(pubNodeDefMetReturn, "Method/Return", "AtrId", pstrAtrId);
        writeValue(pubNodeDefMetReturn, "Method/Return", "DefValue", pstrDefValue);
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.MethodDataSet() ");
    }
}

void ZelScriptXml::WebServiceProxySettingsSet(bool pblnUseProxy, bool pblnUseSSL, std::string_view pstrProxyServer,
                                              std::string_view pstrProxyPort, std::string_view pstrProxyUser,
                                              std::string_view pstrProxyPassword, double pdblTimeOut)
{
    try {
        NodeRootValidate();
        writeValue(pubNodeDefProxy, "Proxy", "UseProxy", flag(pblnUseProxy));
        writeValue(pubNodeDefProxy, "Proxy", "UseSSL", flag(pblnUseSSL));
        writeValue(pubNodeDefProxy, "Proxy", "Server", pstrProxyServer);
        writeValue(pubNodeDefProxy, "Proxy", "Port", pstrProxyPort);
        writeValue(pubNodeDefProxy, "Proxy", "User", pstrProxyUser);
        writeValue(pubNodeDefProxy, "Proxy", "Password", pstrProxyPassword);
        writeValue(pubNodeDefProxy, "Proxy", "Timeout", decimalText(pdblTimeOut));
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.WebServiceProxySettingsSet() ");
    }
}

std::string ZelScriptXml::ParamEvalCodeMake(std::string_view pstrParName, std::string_view pstrParType,
                                            std::string_view pstrParAtrId, std::string_view pstrParDefValue)
{
    try {
        const std::string literal = defaultLiteral(pstrParType, pstrParDefValue);
        const std::string trimmedId = XmlFncs::trimSpaces(pstrParAtrId);
        const bool simple = trimmedId.empty() || trimmedId == kNoAttribute || lowerAscii(pstrParAtrId) == "[none]";

        ZelConfig config;
        std::string code = config.ScriptGetOne(simple ? "ParamSimpleGet" : "ParamExtendedGet");
        replaceAll(code, "<Date>", Clock::generalDateNow());
        replaceAll(code, "<UsrId>", modFnc::UserName());
        replaceAll(code, "<ParName>", pstrParName);
        replaceAll(code, "<ParType>", pstrParType);
        replaceAll(code, "<ParDefValue>", literal);
        replaceAll(code, "<ParAtrId>", vbStringContent(pstrParAtrId));
        return code;
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.ParamEvalCodeMake() ");
    }
}

std::string ZelScriptXml::WebServiceCallEvalCodeMake()
{
    try {
        const std::string methodName = XmlFncs::xmlNodeValueGet(pubNodeDefMethod, "Name");
        const std::string returnType = XmlFncs::xmlNodeValueGet(pubNodeDefMetReturn, "Type");

        ZelConfig config;
        std::string code = config.ScriptGetOne(returnType.empty() ? "SOAPCallSub" : "SOAPCallFnc");

        if (pubNodeDefMetParams.isNone())
            raiseObjectNotSet("Method/Parameters of the web-service definition");
        std::string arguments;
        for (const XmlNode& parameter : pubNodeDefMetParams.children()) {
            if (parameter.type() == XmlNodeType::Element)
                arguments += XmlFncs::xmlNodeValueGet(parameter, "Name") + "Get(), ";
        }
        if (!arguments.empty())
            arguments.resize(arguments.size() - 2);

        replaceAll(code, "<Params>", arguments);
        replaceAll(code, "<MethodName>", vbStringContent(methodName));
        return code;
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.WebServiceCallEvalCodeMake() ");
    }
}

std::string ZelScriptXml::WebServiceAceEvalCodeMake()
{
    try {
        ZelConfig config;
        std::string code = config.ScriptGetOne("SOAPAce");
        replaceAll(code, "<AtrId>", vbStringContent(XmlFncs::xmlNodeValueGet(pubNodeDefMetReturn, "AtrId")));
        return code;
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.WebServiceAceEvalCodeMake() ");
    }
}

std::string ZelScriptXml::MainEvalCodeMake()
{
    try {
        ZelConfig config;
        std::string script = config.ScriptGetOne("Main");

        const auto webService = [this](std::string_view name) {
            return XmlFncs::xmlNodeValueGet(pubNodeDefWebSrv, name);
        };
        const auto proxy = [this](std::string_view name) { return XmlFncs::xmlNodeValueGet(pubNodeDefProxy, name); };
        const std::string path = webService("Path");
        const std::string serviceName = webService("ServiceName");
        const std::string className = webService("ClassName");
        const std::string useProxy = proxy("UseProxy");
        const std::string useSsl = proxy("UseSSL");
        const std::string server = proxy("Server");
        const std::string port = proxy("Port");
        const std::string user = proxy("User");
        const std::string password = proxy("Password");
        const double timeout = numberOf(proxy("Timeout"), "the time-out");

        const std::string call = WebServiceCallEvalCodeMake();
        const std::string ace =
            booleanOf(webService("ACE"), "the End Activity flag") ? WebServiceAceEvalCodeMake() : std::string();

        replaceAll(script, "<WSDLUrl>", vbStringContent(path));
        replaceAll(script, "<WSDLServiceName>", vbStringContent(serviceName));
        replaceAll(script, "<WSDLClassName>", vbStringContent(className));
        replaceAll(script, "<PROXYUseProxy>", vbStringContent(useProxy));
        replaceAll(script, "<PROXYUseSSL>", vbStringContent(useSsl));
        replaceAll(script, "<PROXYServer>", vbStringContent(server));
        replaceAll(script, "<PROXYPort>", vbStringContent(port));
        replaceAll(script, "<PROXYUser>", vbStringContent(user));
        replaceAll(script, "<PROXYPassword>", vbStringContent(password));
        replaceAll(script, "<PROXYTimeout>", decimalText(timeout));
        replaceAll(script, "<SOAPCall>", call);
        replaceAll(script, "<ACE>", ace);

        for (const XmlNode& parameter : pubNodeDefMetParams.children()) {
            if (parameter.type() == XmlNodeType::Element)
                script += XmlFncs::xmlNodeValueGet(parameter, "EvalCode") + "\r\n";
        }
        script += config.ScriptGetOne("SOAPObjectGetOne");

        XmlNode language = pubNodeRoot.isNone() ? XmlNode() : pubNodeRoot.selectSingleNode("Language");
        XmlNode evalCode = pubNodeRoot.isNone() ? XmlNode() : pubNodeRoot.selectSingleNode("EvalCode");
        XmlFncs::xmlAddCDATA(language, "VBSCript");
        XmlFncs::xmlAddCDATA(evalCode, script);
        return script;
    } catch (...) {
        rethrowWithTag(" ZelScriptXml.MainEvalCodeMake() ");
    }
}

} // namespace zel
