#include "DemoRegistry.h"

#include "DemoRegistryData.h"
#include "platform/text/Text.h"

#include "platform/text/Text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zel::demo {
namespace {

constexpr const char* kUddiNs = "urn:uddi-org:api_v2";
constexpr const char* kSoapNs = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kDunsKey = "uuid:8609c81e-ee1f-4d5a-b202-3eb13ad01823";

// A failure the registry answers with a SOAP fault: with a dispositionReport (errno, errCode)
// for UDDI errors, without one (errCode empty) for messages it cannot read at all.
struct UddiError
{
    int errNo = 0;
    std::string errCode;
    std::string text;
};

[[noreturn]] void fail(int errNo, const char* errCode, const std::string& text)
{
    throw UddiError{errNo, errCode, text};
}

std::string_view localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

std::string namespaceOf(const pugi::xml_node& element)
{
    const char* colon = std::strchr(element.name(), ':');
    const std::string attribute =
        colon ? "xmlns:" + std::string(element.name(), static_cast<std::size_t>(colon - element.name())) : "xmlns";
    for (pugi::xml_node n = element; n; n = n.parent())
        if (const pugi::xml_attribute a = n.attribute(attribute.c_str()))
            return a.value();
    return {};
}

std::vector<pugi::xml_node> uddiChildren(const pugi::xml_node& parent, std::string_view local)
{
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c.name()) == local && namespaceOf(c) == kUddiNs)
            out.push_back(c);
    return out;
}

// "%" matches any run of characters; everything else itself.
bool wildcardMatch(std::string_view text, std::string_view pattern)
{
    if (pattern.empty())
        return text.empty();
    if (pattern.front() == '%') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip)
            if (wildcardMatch(text.substr(skip), pattern.substr(1)))
                return true;
        return false;
    }
    return !text.empty() && text.front() == pattern.front() && wildcardMatch(text.substr(1), pattern.substr(1));
}

std::string serialise(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

std::string envelope(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<soap:Envelope xmlns:soap=\"" + std::string(kSoapNs) +
           "\"><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

struct DemoRegistry::Data
{
    pugi::xml_document document;
    std::string operatorName;
    std::vector<pugi::xml_node> businesses;
    std::vector<pugi::xml_node> tModels;

    pugi::xml_node service(const std::string& key) const
    {
        for (const pugi::xml_node& b : businesses)
            for (const pugi::xml_node& services : uddiChildren(b, "businessServices"))
                for (const pugi::xml_node& s : uddiChildren(services, "businessService"))
                    if (Text::lowerAscii(s.attribute("serviceKey").value()) == Text::lowerAscii(key))
                        return s;
        return {};
    }
    pugi::xml_node tModel(const std::string& key) const
    {
        for (const pugi::xml_node& t : tModels)
            if (Text::lowerAscii(t.attribute("tModelKey").value()) == Text::lowerAscii(key))
                return t;
        return {};
    }

    std::string findBusiness(const pugi::xml_node& request) const;
    std::string getServiceDetail(const pugi::xml_node& request) const;
    std::string getTModelDetail(const pugi::xml_node& request) const;
    std::string responseStart(const char* name, bool truncated = false) const
    {
        return std::string("<") + name + " generic=\"2.0\" operator=\"" + Text::escapeXml(operatorName) + "\"" +
               (truncated ? " truncated=\"true\"" : "") + " xmlns=\"" + kUddiNs + "\">";
    }
};

DemoRegistry::DemoRegistry(const std::string& dataXml) : m_data(std::make_unique<Data>())
{
    const std::string& text = dataXml.empty() ? std::string(kDemoRegistryXml) : dataXml;
    if (!m_data->document.load_string(text.c_str()))
        throw std::runtime_error("The demo registry's entries are not well-formed XML");
    const pugi::xml_node root = m_data->document.document_element();
    m_data->operatorName = root.attribute("operator").value();
    m_data->businesses = uddiChildren(root, "businessEntity");
    m_data->tModels = uddiChildren(root, "tModel");
}

DemoRegistry::~DemoRegistry() = default;

std::string DemoRegistry::Data::findBusiness(const pugi::xml_node& request) const
{
    bool exact = false;
    bool caseSensitive = false;
    bool descending = false;
    static const std::vector<std::string> ignored = {"sortByNameAsc", "sortByDateAsc", "sortByDateDesc",
                                                     "orLikeKeys",    "orAllKeys",     "combineCategoryBags",
                                                     "serviceSubset", "andAllKeys"};
    for (const pugi::xml_node& qualifiers : uddiChildren(request, "findQualifiers")) {
        for (const pugi::xml_node& q : uddiChildren(qualifiers, "findQualifier")) {
            const std::string value = q.text().get();
            if (value == "exactNameMatch")
                exact = true;
            else if (value == "caseSensitiveMatch")
                caseSensitive = true;
            else if (value == "sortByNameDesc")
                descending = true;
            else if (std::find(ignored.begin(), ignored.end(), value) == ignored.end())
                fail(10050, "E_unsupported", "The find qualifier '" + value + "' is not supported.");
        }
    }
    std::vector<std::string> names;
    for (const pugi::xml_node& n : uddiChildren(request, "name"))
        names.push_back(n.text().get());
    if (names.size() > 5)
        fail(10030, "E_tooManyOptions", "At most 5 names may be given.");
    std::vector<std::pair<std::string, std::string>> identifiers; // tModel key (lower case), value
    for (const pugi::xml_node& bag : uddiChildren(request, "identifierBag"))
        for (const pugi::xml_node& r : uddiChildren(bag, "keyedReference")) {
            const std::string key = Text::lowerAscii(r.attribute("tModelKey").value());
            if (key != kDunsKey && !tModel(key))
                fail(10210, "E_invalidKeyPassed",
                     "The tModelKey '" + std::string(r.attribute("tModelKey").value()) +
                         "' is not an identifier system of this registry.");
            identifiers.emplace_back(key, r.attribute("keyValue").value());
        }
    const bool categories = !uddiChildren(request, "categoryBag").empty();

    auto nameMatches = [&](const pugi::xml_node& business) {
        for (std::string pattern : names) {
            if (!exact)
                pattern += '%';
            for (const pugi::xml_node& n : uddiChildren(business, "name")) {
                const std::string name = n.text().get();
                if (caseSensitive ? wildcardMatch(name, pattern)
                                  : wildcardMatch(Text::lowerAscii(name), Text::lowerAscii(pattern)))
                    return true;
            }
        }
        return false;
    };
    auto identifierMatches = [&](const pugi::xml_node& business) {
        for (const pugi::xml_node& bag : uddiChildren(business, "identifierBag"))
            for (const pugi::xml_node& r : uddiChildren(bag, "keyedReference"))
                for (const auto& [key, value] : identifiers)
                    if (Text::lowerAscii(r.attribute("tModelKey").value()) == key &&
                        r.attribute("keyValue").value() == value)
                        return true;
        return false;
    };

    std::vector<pugi::xml_node> found;
    // A request without a search argument finds nothing; categories are not searched here.
    if (!names.empty() || !identifiers.empty() || categories)
        for (const pugi::xml_node& b : businesses)
            if ((names.empty() || nameMatches(b)) && (identifiers.empty() || identifierMatches(b)) && !categories)
                found.push_back(b);
    std::stable_sort(found.begin(), found.end(), [&](const pugi::xml_node& a, const pugi::xml_node& b) {
        const int order = std::strcmp(a.child("name").text().get(), b.child("name").text().get());
        return descending ? order > 0 : order < 0;
    });
    const long maxRows = request.attribute("maxRows").as_int(0);
    const bool truncated = maxRows > 0 && found.size() > static_cast<std::size_t>(maxRows);
    if (truncated)
        found.resize(static_cast<std::size_t>(maxRows));

    std::string out = responseStart("businessList", truncated) + "<businessInfos>";
    for (const pugi::xml_node& b : found) {
        const std::string businessKey = b.attribute("businessKey").value();
        out += "<businessInfo businessKey=\"" + Text::escapeXml(businessKey) + "\">";
        for (const pugi::xml_node& n : uddiChildren(b, "name"))
            out += serialise(n);
        for (const pugi::xml_node& d : uddiChildren(b, "description"))
            out += serialise(d);
        out += "<serviceInfos>";
        for (const pugi::xml_node& services : uddiChildren(b, "businessServices"))
            for (const pugi::xml_node& s : uddiChildren(services, "businessService")) {
                out += "<serviceInfo serviceKey=\"" + Text::escapeXml(s.attribute("serviceKey").value()) +
                       "\" businessKey=\"" + Text::escapeXml(businessKey) + "\">";
                for (const pugi::xml_node& n : uddiChildren(s, "name"))
                    out += serialise(n);
                out += "</serviceInfo>";
            }
        out += "</serviceInfos></businessInfo>";
    }
    return out + "</businessInfos></businessList>";
}

std::string DemoRegistry::Data::getServiceDetail(const pugi::xml_node& request) const
{
    std::string out = responseStart("serviceDetail");
    for (const pugi::xml_node& k : uddiChildren(request, "serviceKey")) {
        const pugi::xml_node s = service(k.text().get());
        if (!s)
            fail(10210, "E_invalidKeyPassed", "The serviceKey '" + std::string(k.text().get()) + "' is not known.");
        out += serialise(s);
    }
    return out + "</serviceDetail>";
}

std::string DemoRegistry::Data::getTModelDetail(const pugi::xml_node& request) const
{
    std::string out = responseStart("tModelDetail");
    const std::vector<pugi::xml_node> keys = uddiChildren(request, "tModelKey");
    if (keys.empty())
        fail(10210, "E_invalidKeyPassed", "No tModelKey was given.");
    for (const pugi::xml_node& k : keys) {
        const pugi::xml_node t = tModel(k.text().get());
        if (!t)
            fail(10210, "E_invalidKeyPassed", "The tModelKey '" + std::string(k.text().get()) + "' is not known.");
        out += serialise(t);
    }
    return out + "</tModelDetail>";
}

DemoRegistry::Answer DemoRegistry::answer(const std::string& request, const std::string& baseUrl) const
{
    try {
        pugi::xml_document document;
        if (!document.load_buffer(request.data(), request.size()))
            fail(0, "", "The request is not well-formed XML.");
        const pugi::xml_node root = document.document_element();
        if (localName(root.name()) != "Envelope" || namespaceOf(root) != kSoapNs)
            fail(0, "", "The request is not a SOAP 1.1 envelope.");
        pugi::xml_node call;
        for (pugi::xml_node body = root.first_child(); body; body = body.next_sibling())
            if (localName(body.name()) == "Body")
                for (pugi::xml_node c = body.first_child(); c && !call; c = c.next_sibling())
                    if (c.type() == pugi::node_element)
                        call = c;
        if (!call || namespaceOf(call) != kUddiNs)
            fail(0, "", "The SOAP body holds no UDDI v2 request.");
        if (std::string(call.attribute("generic").value()) != "2.0")
            fail(10040, "E_unrecognizedVersion", "Only generic=\"2.0\" is understood.");
        const std::string_view operation = localName(call.name());
        std::string body;
        if (operation == "find_business")
            body = m_data->findBusiness(call);
        else if (operation == "get_serviceDetail")
            body = m_data->getServiceDetail(call);
        else if (operation == "get_tModelDetail")
            body = m_data->getTModelDetail(call);
        else
            fail(10050, "E_unsupported", "The demo registry does not answer " + std::string(operation) + ".");
        return {200, replaceAll(envelope(body), "{base}", baseUrl)};
    } catch (const UddiError& e) {
        std::string fault = "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>";
        if (e.errCode.empty())
            return {500, envelope(fault + Text::escapeXml(e.text) + "</faultstring></soap:Fault>")};
        fault += "Client Error</faultstring><detail>" + m_data->responseStart("dispositionReport") +
                 "<result errno=\"" + std::to_string(e.errNo) + "\"><errInfo errCode=\"" + e.errCode + "\">" +
                 Text::escapeXml(e.text) + "</errInfo></result></dispositionReport></detail></soap:Fault>";
        return {500, envelope(fault)};
    }
}

} // namespace zel::demo
