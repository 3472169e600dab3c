#include "wsdef/ZelScriptXml.h"

#include "common/XmlFncs.h"
#include "common/modFnc.h"
#include "platform/error/Clock.h"
#include "platform/error/ErrorRecord.h"
#include "platform/text/Text.h"
#include "wsdef/ZelConfig.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <vector>

namespace zel {
namespace {

// Three U+00FF characters: what the attribute lists hand over for "no attribute" (the grid shows
// "[none]" instead).
constexpr std::string_view kListNoAttribute = "\xC3\xBF\xC3\xBF\xC3\xBF";

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

// The key that stands for a placeholder whose value is code (the call, the hand-over, a default's
// literal) while the texts of the definition go in. Such a placeholder is replaced only where the
// template itself has it: a name holding "<SOAPCall>" would otherwise pull lines of code into its
// string or comment. The key holds NULs, which no inserted text has (vbStringContent spells them
// out), so neither one text nor two side by side can make it.
std::string codePlaceKey(std::string_view placeholder)
{
    return '\0' + std::string(placeholder.substr(1, placeholder.size() - 2)) + '\0';
}

// text as the content of a VBScript string literal: quotes doubled, line breaks spelled with
// the line-break constants. Every text taken from the definition (names and types from the WSDL,
// addresses, proxy credentials) is put in this way, between quotes or in a comment: in both
// places a quote or line break can then neither end the text early nor inject code.
std::string vbStringContent(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view rest = text.substr(i);
        if (c == '"') {
            out += "\"\"";
        } else if (rest.starts_with("\r\n")) {
            out += "\" & vbCrLf & \"";
            ++i;
        } else if (c == '\r') {
            out += "\" & vbCr & \"";
        } else if (c == '\n') {
            out += "\" & vbLf & \"";
        } else if (c == '\0') {
            out += "\" & Chr(0) & \"";
        } else if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
            // The Unicode line and paragraph separators, which some readers take for line breaks.
            out += rest[2] == '\xA8' ? "\" & ChrW(8232) & \"" : "\" & ChrW(8233) & \"";
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A script identifier for a parameter name: the name itself when it is one (ASCII letters,
// digits and underscores, beginning with a letter); otherwise every other character (a whole
// UTF-8 sequence counts as one) becomes an underscore and a name that does not begin with a
// letter gets a "p" in front. Kept well below the engine's 255 characters, leaving room for the
// "Get" the templates append and a number that makes it unique.
std::string identifierBase(std::string_view name)
{
    constexpr std::size_t kMaxLength = 200;
    std::string id;
    for (std::size_t i = 0; i < name.size() && id.size() < kMaxLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (isAsciiLetter(static_cast<char>(c)) || isDigit(static_cast<char>(c)) || c == '_') {
            id += static_cast<char>(c);
        } else {
            id += '_';
            while (c >= 0xC0 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80)
                ++i;
        }
    }
    if (id.empty() || !isAsciiLetter(id[0]))
        id.insert(0, "p");
    return id;
}

// The script identifiers of parameters named names, in their order: each one its name's base,
// with "_2", "_3", ... added when an earlier parameter already has it in any letter case (the
// engine does not tell "B" from "b"). A parameter's identifier thus depends only on the names
// before it.
std::vector<std::string> parameterIdentifiers(const std::vector<std::string>& names)
{
    std::vector<std::string> ids;
    std::set<std::string> taken;
    for (const std::string& name : names) {
        const std::string base = identifierBase(name);
        std::string id = base;
        for (int n = 2; taken.count(Text::lowerAscii(id)) != 0; ++n)
            id = base + "_" + std::to_string(n);
        taken.insert(Text::lowerAscii(id));
        ids.push_back(id);
    }
    return ids;
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

// True when text is digits only, of count characters.
bool digitsOf(std::string_view text, std::size_t count)
{
    return text.size() == count && std::all_of(text.begin(), text.end(), isDigit);
}

// The lexical forms of XML Schema's date, time and dateTime, without their optional time zone:
// "2024-05-01", "13:45:00" (with an optional fraction), and both joined by a "T".
bool isSchemaDate(std::string_view t)
{
    const bool negative = t.starts_with('-');
    t.remove_prefix(negative ? 1 : 0);
    if (t.size() != 10 || t[4] != '-' || t[7] != '-' || !digitsOf(t.substr(0, 4), 4) || !digitsOf(t.substr(5, 2), 2) ||
        !digitsOf(t.substr(8, 2), 2))
        return false;
    const int month = std::stoi(std::string(t.substr(5, 2)));
    const int day = std::stoi(std::string(t.substr(8, 2)));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool isSchemaTime(std::string_view t)
{
    if (t.size() > 8 && t[8] == '.' && t.size() > 9 && std::all_of(t.begin() + 9, t.end(), isDigit))
        t = t.substr(0, 8);
    if (t.size() != 8 || t[2] != ':' || t[5] != ':' || !digitsOf(t.substr(0, 2), 2) || !digitsOf(t.substr(3, 2), 2) ||
        !digitsOf(t.substr(6, 2), 2))
        return false;
    return std::stoi(std::string(t.substr(0, 2))) <= 24 && std::stoi(std::string(t.substr(3, 2))) <= 59 &&
           std::stoi(std::string(t.substr(6, 2))) <= 59;
}

// text without a time zone at its end ("Z", "+01:00", "-05:00").
std::string_view withoutZone(std::string_view t)
{
    if (t.ends_with('Z'))
        return t.substr(0, t.size() - 1);
    if (t.size() > 6 && (t[t.size() - 6] == '+' || t[t.size() - 6] == '-') && t[t.size() - 3] == ':' &&
        digitsOf(t.substr(t.size() - 5, 2), 2) && digitsOf(t.substr(t.size() - 2), 2))
        return t.substr(0, t.size() - 6);
    return t;
}

// True when value, blanks around it allowed, is written as the schema type date, time or
// datetime (lower case) requires.
bool readsAsSchemaType(std::string_view type, std::string_view value)
{
    const std::string trimmed = XmlFncs::trimSpaces(value);
    const std::string_view t = withoutZone(trimmed);
    if (type == "date")
        return isSchemaDate(t);
    if (type == "time")
        return isSchemaTime(t);
    const std::size_t tee = t.find('T');
    return tee != std::string_view::npos && isSchemaDate(t.substr(0, tee)) && isSchemaTime(t.substr(tee + 1));
}

// The schema types whose values are numbers (besides int, which keeps its own reading), in
// lower case.
bool isNumberType(std::string_view type)
{
    constexpr std::string_view kTypes = " double float decimal long short byte integer unsignedint unsignedlong "
                                        "unsignedshort unsignedbyte nonnegativeinteger positiveinteger "
                                        "negativeinteger nonpositiveinteger ";
    return !type.empty() && kTypes.find(" " + std::string(type) + " ") != std::string_view::npos;
}

[[noreturn]] void raiseUnreadableDefault(std::string_view name, std::string_view type, std::string_view value)
{
    raise(ErrorNumber::TypeMismatch, "Type mismatch: the fixed value \"" + std::string(value) + "\" of the parameter " +
                                         std::string(name) + " cannot be read as " + std::string(type));
}

// The script literal of a parameter's default value. A string default is written as string
// content like every other typed text: an undoubled quote would end the literal early and let a
// typed value become script code, and a line break inside a literal is a syntax error. The type
// is compared by its name without a prefix, in any letter case. Booleans become True or False
// (from true, false, 1 or 0); numbers of a number type and of an unknown type their numeric
// form; other values a string literal. A value that cannot be read as its number, Boolean or
// date type is refused rather than sent as something else.
std::string defaultLiteral(std::string_view name, std::string_view type, std::string_view value)
{
    const std::string lowerType = Text::lowerAscii(type.substr(type.rfind(':') + 1)); // npos + 1: the whole name
    if (value.empty())
        return lowerType == "int" ? "0" : "\"\"";
    const std::string quoted = "\"" + vbStringContent(value) + "\"";
    if (lowerType == "string")
        return quoted;
    if (lowerType == "int")
        return decimalText(leadingNumber(value));
    if (lowerType == "boolean") {
        const std::string word = Text::lowerAscii(XmlFncs::trimSpaces(value));
        if (word == "true" || word == "1")
            return "True";
        if (word == "false" || word == "0")
            return "False";
        raiseUnreadableDefault(name, type, value);
    }
    if (lowerType == "date" || lowerType == "time" || lowerType == "datetime") {
        if (!readsAsSchemaType(lowerType, value))
            raiseUnreadableDefault(name, type, value);
        return quoted;
    }
    if (isNumeric(value))
        return decimalText(leadingNumber(value));
    if (isNumberType(lowerType))
        raiseUnreadableDefault(name, type, value);
    return quoted;
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
    const std::string word = Text::lowerAscii(XmlFncs::trimSpaces(text));
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

// The parameters of a definition: the elements under Parameters, in document order (comments
// and stray text are none). None when there is no Parameters element.
std::vector<XmlNode> parameterElements(const XmlNode& parameters)
{
    std::vector<XmlNode> elements;
    if (parameters.isNone())
        return elements;
    for (const XmlNode& child : parameters.children()) {
        if (child.type() == XmlNodeType::Element)
            elements.push_back(child);
    }
    return elements;
}

// value as a reader gets it back after xmlMakeAndAddElement stored it (a blank value is stored
// empty, an XML document as an element): identifiers are made from the names as stored.
std::string storedText(std::string_view value)
{
    XmlNode scratch = XmlNode::newDocument().appendElement("Parameter");
    XmlFncs::xmlMakeAndAddElement(scratch, "Name", value);
    return XmlFncs::xmlNodeValueGet(scratch, "Name");
}

// True for a value that names no attribute or type: blank, "[none]" in any case or "ÿÿÿ".
bool isNone(std::string_view value)
{
    const std::string trimmed = XmlFncs::trimSpaces(value);
    return trimmed.empty() || trimmed == kListNoAttribute || Text::lowerAscii(trimmed) == "[none]";
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
        // The parameters as they are, and the one this name replaces. The name is compared as
        // text: pasted into an XPath, an apostrophe in it would break the expression and the
        // parameter could be neither stored nor replaced.
        std::vector<XmlNode> parameters = parameterElements(pubNodeDefMetParams);
        std::vector<std::string> names;
        XmlNode replaced;
        for (const XmlNode& parameter : parameters) {
            names.push_back(XmlFncs::xmlNodeValueGet(parameter, "Name"));
            bool same = false;
            for (const XmlNode& name : parameter.selectNodes("Name"))
                same = same || name.text() == pstrParName;
            if (same && replaced.isNone() && parameter.name() == "Parameter")
                replaced = parameter;
        }
        const std::vector<std::string> idsBefore = parameterIdentifiers(names);

        std::vector<XmlNode> remaining;
        std::vector<std::string> oldIds;
        names.clear();
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            if (parameters[i].sameNode(replaced))
                continue;
            remaining.push_back(parameters[i]);
            oldIds.push_back(idsBefore[i]);
            names.push_back(XmlFncs::xmlNodeValueGet(parameters[i], "Name"));
        }
        names.push_back(storedText(pstrParName));
        const std::vector<std::string> ids = parameterIdentifiers(names);
        const std::string code = ParamEvalCodeMake(pstrParName, pstrParType, pstrParAtrId, pstrParDefValue, ids.back());
        if (pubNodeDefMetParams.isNone())
            raiseObjectNotSet("Method/Parameters of the web-service definition");

        if (replaced)
            pubNodeDefMetParams.removeChild(replaced);
        if (pstrParName.empty())
            return;

        XmlNode parameter = XmlFncs::xmlMakeAndAddElement(pubNodeDefMetParams, "Parameter", "");
        XmlFncs::xmlMakeAndAddElement(parameter, "Name", pstrParName);
        XmlFncs::xmlMakeAndAddElement(parameter, "Type", pstrParType);
        XmlFncs::xmlMakeAndAddElement(parameter, "AtrId", pstrParAtrId);
        XmlFncs::xmlMakeAndAddElement(parameter, "DefValue", pstrParDefValue);
        XmlFncs::xmlMakeAndAddElement(parameter, "EvalCode", code);

        // A parameter moved to the end can change the identifiers of those after its old place
        // (of "B" and "b", the first keeps "B"); their functions are made again so that every
        // function still has the name the call uses.
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            if (ids[i] == oldIds[i])
                continue;
            const auto value = [&](const char* child) { return XmlFncs::xmlNodeValueGet(remaining[i], child); };
            XmlNode evalCode = remaining[i].selectSingleNode("EvalCode");
            XmlFncs::xmlAddCDATA(
                evalCode, ParamEvalCodeMake(value("Name"), value("Type"), value("AtrId"), value("DefValue"), ids[i]));
        }
    } catch (...) {
        rethrowWithTag(" WebServiceParams.ParamAdd() ");
    }
}

void ZelScriptXml::WebServiceMethodReturnSet(std::string_view pstrType, std::string_view pstrAtrId)
{
    try {
        NodeRootValidate();
        const bool none = Text::lowerAscii(pstrAtrId) == "[none]" || pstrAtrId == kListNoAttribute;
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
                                            std::string_view pstrParAtrId, std::string_view pstrParDefValue,
                                            std::string_view pstrParIdent)
{
    try {
        const std::string literal = defaultLiteral(pstrParName, pstrParType, pstrParDefValue);
        const std::string trimmedId = XmlFncs::trimSpaces(pstrParAtrId);
        const bool simple =
            trimmedId.empty() || trimmedId == kListNoAttribute || Text::lowerAscii(pstrParAtrId) == "[none]";

        ZelConfig config;
        std::string code = config.ScriptGetOne(simple ? "ParamSimpleGet" : "ParamExtendedGet");
        replaceAll(code, "<ParDefValue>", codePlaceKey("<ParDefValue>"));
        replaceAll(code, "<Date>", Clock::generalDateNow());
        replaceAll(code, "<UsrId>", vbStringContent(modFnc::UserName()));
        replaceAll(code, "<ParName>", vbStringContent(pstrParName));
        replaceAll(code, "<ParIdent>", pstrParIdent);
        replaceAll(code, "<ParType>", vbStringContent(pstrParType));
        replaceAll(code, codePlaceKey("<ParDefValue>"), literal);
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
        std::vector<std::string> names;
        for (const XmlNode& parameter : parameterElements(pubNodeDefMetParams))
            names.push_back(XmlFncs::xmlNodeValueGet(parameter, "Name"));
        std::string arguments;
        for (const std::string& id : parameterIdentifiers(names))
            arguments += id + "Get(), ";
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
        // The result is handed over only when there is one and an attribute to take it.
        const std::string returnType = XmlFncs::xmlNodeValueGet(pubNodeDefMetReturn, "Type");
        const std::string returnAtrId = XmlFncs::xmlNodeValueGet(pubNodeDefMetReturn, "AtrId");
        const bool handOver =
            booleanOf(webService("ACE"), "the End Activity flag") && !isNone(returnType) && !isNone(returnAtrId);
        const std::string ace = handOver ? WebServiceAceEvalCodeMake() : std::string();

        replaceAll(script, "<SOAPCall>", codePlaceKey("<SOAPCall>"));
        replaceAll(script, "<ACE>", codePlaceKey("<ACE>"));
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
        replaceAll(script, codePlaceKey("<SOAPCall>"), call);
        replaceAll(script, codePlaceKey("<ACE>"), ace);

        for (const XmlNode& parameter : parameterElements(pubNodeDefMetParams))
            script += XmlFncs::xmlNodeValueGet(parameter, "EvalCode") + "\r\n";
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
