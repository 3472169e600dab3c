#include "platform/uddi/UddiMessages.h"

#include "platform/error/ErrorRecord.h"

#include <pugixml.hpp>

#include <cstring>

namespace zel::uddi {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string envelopeAround(const std::string& body)
{
    return std::string(kDeclaration) + "<soap:Envelope xmlns:soap=\"" + kSoapNamespace + "\"><soap:Body>" + body +
           "</soap:Body></soap:Envelope>";
}

std::string requestStart(const char* name, const std::string& attributes = {})
{
    return std::string("<") + name + " generic=\"2.0\" xmlns=\"" + kUddiNamespace + "\"" + attributes + ">";
}

std::string element(const char* name, std::string_view text)
{
    return std::string("<") + name + ">" + escapeXml(text) + "</" + name + ">";
}

std::string_view localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

// The namespace URI of element, found through the declarations on it and its ancestors.
std::string_view namespaceOf(const pugi::xml_node& element)
{
    const char* name = element.name();
    const char* colon = std::strchr(name, ':');
    char attribute[64] = "xmlns";
    if (colon) {
        const std::size_t length = static_cast<std::size_t>(colon - name);
        if (length + 7 > sizeof attribute)
            return {};
        attribute[5] = ':';
        std::memcpy(attribute + 6, name, length);
        attribute[6 + length] = '\0';
    }
    for (pugi::xml_node n = element; n; n = n.parent())
        if (const pugi::xml_attribute a = n.attribute(attribute))
            return a.value();
    return {};
}

bool isUddi(const pugi::xml_node& node, std::string_view local)
{
    return node.type() == pugi::node_element && localName(node.name()) == local && namespaceOf(node) == kUddiNamespace;
}

template <class F> void eachUddi(const pugi::xml_node& parent, std::string_view local, F&& f)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isUddi(c, local))
            f(c);
}

pugi::xml_node firstUddi(const pugi::xml_node& parent, std::string_view local)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isUddi(c, local))
            return c;
    return {};
}

// An attribute is unqualified in UDDI messages; a prefixed spelling is accepted too.
std::string attributeOf(const pugi::xml_node& element, std::string_view local)
{
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute())
        if (localName(a.name()) == local && std::strncmp(a.name(), "xmlns", 5) != 0)
            return a.value();
    return {};
}

// All text and CDATA directly inside element, as stored.
std::string textOf(const pugi::xml_node& element)
{
    std::string text;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            text += c.value();
    return text;
}

std::string firstText(const pugi::xml_node& parent, std::string_view local)
{
    const pugi::xml_node found = firstUddi(parent, local);
    return found ? textOf(found) : std::string();
}

std::vector<Description> descriptionsOf(const pugi::xml_node& parent)
{
    std::vector<Description> out;
    eachUddi(parent, "description", [&](const pugi::xml_node& d) {
        out.push_back({attributeOf(d, "lang"), textOf(d)});
    });
    return out;
}

std::vector<KeyedReference> categoryBagOf(const pugi::xml_node& parent)
{
    std::vector<KeyedReference> out;
    if (const pugi::xml_node bag = firstUddi(parent, "categoryBag"))
        eachUddi(bag, "keyedReference", [&](const pugi::xml_node& r) {
            out.push_back({attributeOf(r, "tModelKey"), attributeOf(r, "keyName"), attributeOf(r, "keyValue")});
        });
    return out;
}

BindingTemplate bindingOf(const pugi::xml_node& b)
{
    BindingTemplate binding;
    binding.bindingKey = attributeOf(b, "bindingKey");
    binding.serviceKey = attributeOf(b, "serviceKey");
    binding.descriptions = descriptionsOf(b);
    if (const pugi::xml_node access = firstUddi(b, "accessPoint")) {
        binding.hasAccessPoint = true;
        binding.urlType = attributeOf(access, "URLType");
        binding.accessPoint = textOf(access);
    } else if (const pugi::xml_node redirector = firstUddi(b, "hostingRedirector")) {
        binding.hostingRedirector = attributeOf(redirector, "bindingKey");
    }
    if (const pugi::xml_node details = firstUddi(b, "tModelInstanceDetails"))
        eachUddi(details, "tModelInstanceInfo", [&](const pugi::xml_node& info) {
            binding.tModelInstanceDetails.push_back({attributeOf(info, "tModelKey"), descriptionsOf(info)});
        });
    return binding;
}

} // namespace

struct Envelope::Parsed
{
    pugi::xml_document document;
    pugi::xml_node content; // the Body's element
};


void FindBusiness::addFindQualifier(int code)
{
    if (code != kExactNameMatch && code != kCaseSensitiveMatch)
        raise(ErrorNumber::InvalidArgument, "Unknown find qualifier code " + std::to_string(code));
    findQualifiers.push_back(code);
}

void FindBusiness::addIdentifier(int system, std::string keyName, std::string keyValue)
{
    if (system != kDunsIdentifier)
        raise(ErrorNumber::InvalidArgument, "Unknown identifier system code " + std::to_string(system));
    identifierBag.push_back({kDunsTModelKey, std::move(keyName), std::move(keyValue)});
}

std::string Fault::text() const
{
    if (hasDisposition) {
        std::string out = errCode.empty() ? std::string("Error") : errCode;
        if (!errNo.empty())
            out += " (" + errNo + ")";
        return errInfo.empty() ? out : out + ": " + errInfo;
    }
    if (faultString.empty())
        return "SOAP fault " + faultCode;
    return faultCode.empty() ? faultString : faultCode + ": " + faultString;
}

Envelope::Envelope() = default;

Envelope Envelope::of(const FindBusiness& request)
{
    const std::string rows = request.maxRows > 0 ? " maxRows=\"" + std::to_string(request.maxRows) + "\"" : "";
    std::string body = requestStart("find_business", rows);
    if (!request.findQualifiers.empty()) {
        body += "<findQualifiers>";
        for (const int code : request.findQualifiers)
            body += element("findQualifier", code == kExactNameMatch ? "exactNameMatch" : "caseSensitiveMatch");
        body += "</findQualifiers>";
    }
    if (!request.name.empty())
        body += element("name", request.name);
    if (!request.identifierBag.empty()) {
        body += "<identifierBag>";
        for (const KeyedReference& r : request.identifierBag) {
            body += "<keyedReference tModelKey=\"" + escapeXml(r.tModelKey) + "\"";
            if (!r.keyName.empty())
                body += " keyName=\"" + escapeXml(r.keyName) + "\"";
            body += " keyValue=\"" + escapeXml(r.keyValue) + "\"/>";
        }
        body += "</identifierBag>";
    }
    Envelope envelope;
    envelope.m_xml = envelopeAround(body + "</find_business>");
    return envelope;
}

Envelope Envelope::of(const GetServiceDetail& request)
{
    std::string body = requestStart("get_serviceDetail");
    for (const std::string& key : request.serviceKeys)
        body += element("serviceKey", key);
    Envelope envelope;
    envelope.m_xml = envelopeAround(body + "</get_serviceDetail>");
    return envelope;
}

Envelope Envelope::of(const GetTModelDetail& request)
{
    std::string body = requestStart("get_tModelDetail");
    for (const std::string& key : request.tModelKeys)
        body += element("tModelKey", key);
    Envelope envelope;
    envelope.m_xml = envelopeAround(body + "</get_tModelDetail>");
    return envelope;
}

bool Envelope::parse(std::string text, Envelope& envelope, std::string& error)
{
    auto parsed = std::make_shared<Parsed>();
    const pugi::xml_parse_result result =
        parsed->document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        error = std::string(result.description()) + " at offset " + std::to_string(result.offset);
        return false;
    }
    const pugi::xml_node root = parsed->document.document_element();
    if (localName(root.name()) != "Envelope" || namespaceOf(root) != kSoapNamespace) {
        error = "the answer is not a SOAP 1.1 envelope (its root element is <" + std::string(root.name()) + ">)";
        return false;
    }
    pugi::xml_node body;
    for (pugi::xml_node c = root.first_child(); c && !body; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c.name()) == "Body" && namespaceOf(c) == kSoapNamespace)
            body = c;
    for (pugi::xml_node c = body.first_child(); c && !parsed->content; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            parsed->content = c;
    envelope = Envelope();
    if (parsed->content) {
        const std::string_view ns = namespaceOf(parsed->content);
        const std::string_view local = localName(parsed->content.name());
        if (ns == kUddiNamespace || (ns == kSoapNamespace && local == "Fault"))
            envelope.m_kind = local;
    }
    envelope.m_xml = std::move(text);
    envelope.m_parsed = std::move(parsed);
    return true;
}

const std::string& Envelope::xml() const
{
    return m_xml;
}

const std::string& Envelope::responseKind() const
{
    return m_kind;
}

Fault Envelope::fault() const
{
    Fault fault;
    if (m_kind != "Fault")
        return fault;
    // The fault's children are unqualified, though some registries put them in a namespace.
    for (pugi::xml_node c = m_parsed->content.first_child(); c; c = c.next_sibling()) {
        const std::string_view local = c.type() == pugi::node_element ? localName(c.name()) : std::string_view();
        if (local == "faultcode") {
            const std::string code = textOf(c);
            fault.faultCode = std::string(localName(code.c_str()));
        } else if (local == "faultstring")
            fault.faultString = textOf(c);
        else if (local == "detail")
            if (const pugi::xml_node report = firstUddi(c, "dispositionReport"))
                if (const pugi::xml_node result = firstUddi(report, "result")) {
                    fault.hasDisposition = true;
                    fault.errNo = attributeOf(result, "errno");
                    if (const pugi::xml_node info = firstUddi(result, "errInfo")) {
                        fault.errCode = attributeOf(info, "errCode");
                        fault.errInfo = textOf(info);
                    }
                }
    }
    return fault;
}

namespace {

void requireKind(const std::string& kind, const char* wanted)
{
    if (kind != wanted)
        raise(ErrorNumber::TypeMismatch,
              "The envelope holds " + (kind.empty() ? std::string("no UDDI answer") : kind) + ", not " + wanted);
}

} // namespace

BusinessList Envelope::businessList() const
{
    try {
        requireKind(m_kind, "businessList");
        BusinessList list;
        list.truncated = attributeOf(m_parsed->content, "truncated") == "true";
        const pugi::xml_node infos = firstUddi(m_parsed->content, "businessInfos");
        eachUddi(infos, "businessInfo", [&](const pugi::xml_node& b) {
            BusinessInfo info;
            info.businessKey = attributeOf(b, "businessKey");
            info.name = firstText(b, "name");
            info.descriptions = descriptionsOf(b);
            if (const pugi::xml_node services = firstUddi(b, "serviceInfos"))
                eachUddi(services, "serviceInfo", [&](const pugi::xml_node& s) {
                    info.serviceInfos.push_back({attributeOf(s, "serviceKey"), firstText(s, "name")});
                });
            list.businessInfos.push_back(std::move(info));
        });
        return list;
    } catch (...) {
        rethrowWithTag(" Envelope.businessList() ");
    }
}

ServiceDetail Envelope::serviceDetail() const
{
    try {
        requireKind(m_kind, "serviceDetail");
        ServiceDetail detail;
        eachUddi(m_parsed->content, "businessService", [&](const pugi::xml_node& s) {
            BusinessService service;
            service.serviceKey = attributeOf(s, "serviceKey");
            service.businessKey = attributeOf(s, "businessKey");
            service.name = firstText(s, "name");
            service.descriptions = descriptionsOf(s);
            if (const pugi::xml_node bindings = firstUddi(s, "bindingTemplates"))
                eachUddi(bindings, "bindingTemplate",
                         [&](const pugi::xml_node& b) { service.bindingTemplates.push_back(bindingOf(b)); });
            service.categoryBag = categoryBagOf(s);
            detail.businessServices.push_back(std::move(service));
        });
        return detail;
    } catch (...) {
        rethrowWithTag(" Envelope.serviceDetail() ");
    }
}

TModelDetail Envelope::tModelDetail() const
{
    try {
        requireKind(m_kind, "tModelDetail");
        TModelDetail detail;
        eachUddi(m_parsed->content, "tModel", [&](const pugi::xml_node& t) {
            TModel model;
            model.tModelKey = attributeOf(t, "tModelKey");
            model.name = firstText(t, "name");
            model.descriptions = descriptionsOf(t);
            if (const pugi::xml_node overview = firstUddi(t, "overviewDoc"))
                model.overviewURL = firstText(overview, "overviewURL");
            model.categoryBag = categoryBagOf(t);
            detail.tModels.push_back(std::move(model));
        });
        return detail;
    } catch (...) {
        rethrowWithTag(" Envelope.tModelDetail() ");
    }
}

} // namespace zel::uddi
