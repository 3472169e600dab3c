#include "StraightforwardAnalyser.h"

#include "common/XmlFncs.h"
#include "wsdl/WsdlQueries.h"

namespace zel::test {

namespace {

using XmlFncs::isBlank;
using XmlFncs::trimSpaces;

// The first element of the response-element query, or none; prefixes that cannot name a
// schema prefix never match.
XmlNode responseElement(const XmlNode& wsxml, const std::string& prefix, const std::string& operation)
{
    if (!WsdlQueries::isUsablePrefix(prefix))
        return {};
    return wsxml.selectSingleNode(WsdlQueries::responseElementQuery(prefix, operation));
}

std::string localName(const std::string& type)
{
    return type.substr(type.find(':') + 1); // npos + 1: the whole name
}

bool validate(const XmlNode& wsxml, const std::string& operation, const std::string& prefixes)
{
    const std::string trimmed = trimSpaces(prefixes);
    if (trimmed.empty())
        return false;
    for (const std::string& prefix : WsdlQueries::splitCommas(trimmed)) {
        const XmlNode element = responseElement(wsxml, prefix, operation);
        if (element && !isBlank(localName(element.attribute("type"))))
            return true;
    }
    return false;
}

} // namespace

StraightforwardResult analyseStraightforwardly(const XmlNode& wsxml, const std::string& prefixes,
                                               const std::string& operation)
{
    StraightforwardResult result;
    std::vector<std::string> kept;
    for (const XmlNode& message : wsxml.selectNodes("//wsdl:message")) {
        const std::string name = message.attribute("name");
        std::string candidate;
        if (name.size() >= 6 && trimSpaces(name.substr(name.size() - 6)) == "SoapIn")
            candidate = name.substr(0, name.size() - 6);
        else if (name.size() >= 7 && trimSpaces(name.substr(name.size() - 7)) == "SoapOut")
            candidate = name.substr(0, name.size() - 7);
        else
            continue;
        if (!validate(wsxml, candidate, prefixes) || isBlank(candidate))
            continue;
        const std::string trimmed = trimSpaces(candidate);
        // Exact names, compared with the names kept so far (a name may itself hold a comma).
        bool listed = false;
        for (const std::string& entry : kept)
            listed = listed || entry == trimmed;
        if (!listed) {
            kept.push_back(trimmed);
            result.methods += trimmed + ",";
        }
    }

    const std::string trimmedPrefixes = trimSpaces(prefixes);
    if (!trimmedPrefixes.empty()) {
        for (const std::string& prefix : WsdlQueries::splitCommas(trimmedPrefixes)) {
            const XmlNode element = responseElement(wsxml, prefix, operation);
            const std::string type = localName(element.attribute("type"));
            if (!isBlank(type)) {
                result.returnFound = true;
                result.returnType = type;
                result.prefix = prefix;
                break;
            }
        }
    }

    const XmlNode copy = XmlFncs::xmlMakeNode(wsxml.xml());
    if (copy.isNone())
        return result;
    const XmlNode sequence = !isBlank(result.prefix)
                                 ? copy.selectSingleNode(WsdlQueries::inputSequenceQuery(result.prefix, operation))
                                 : copy.selectSingleNode(WsdlQueries::inputSequenceQuery(operation));
    for (const XmlNode& child : sequence.selectNodes("*")) {
        if (child.selectSingleNode("self::*[@name and @type]").isNone()) {
            result.rowsFailed = true;
            break;
        }
        result.rows.push_back({child.attribute("name"), localName(child.attribute("type")), "[none]", ""});
    }
    return result;
}

} // namespace zel::test
