#pragma once

#include "platform/text/Text.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The UDDI version 2 inquiry messages the registry browser sends and reads: find_business,
// get_serviceDetail and get_tModelDetail, their answers, and the SOAP 1.1 envelope around them.
// Requests are written in the schema's order with generic="2.0"; answers are read by namespace
// URI and local name, whatever prefixes the registry chose.
namespace zel::uddi {

inline constexpr const char* kUddiNamespace = "urn:uddi-org:api_v2";
inline constexpr const char* kSoapNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

// Find qualifier codes and the identifier system code a search request accepts.
inline constexpr int kExactNameMatch = 501;
inline constexpr int kCaseSensitiveMatch = 502;
inline constexpr int kDunsIdentifier = 10051;
inline constexpr const char* kDunsTModelKey = "uuid:8609C81E-EE1F-4D5A-B202-3EB13AD01823";

struct Description
{
    std::string lang;
    std::string text;
};

struct KeyedReference
{
    std::string tModelKey;
    std::string keyName;
    std::string keyValue;
};

// find_business: a name (prefix match unless qualified), find qualifiers by code, identifiers.
struct FindBusiness
{
    std::string name; // "" sends no name
    std::vector<int> findQualifiers;
    std::vector<KeyedReference> identifierBag;
    int16_t maxRows = 0; // 0 or less sends no limit

    // Adds a qualifier by code (501 exact name match, 502 case-sensitive match); raises 5 for
    // another code.
    void addFindQualifier(int code);
    // Adds an identifier of a known system (10051: D-U-N-S); raises 5 for another system.
    void addIdentifier(int system, std::string keyName, std::string keyValue);
};

struct GetServiceDetail
{
    std::vector<std::string> serviceKeys;
};

struct GetTModelDetail
{
    std::vector<std::string> tModelKeys;
};

struct ServiceInfo
{
    std::string serviceKey;
    std::string name; // the first name; "" when the entry has none
};

struct BusinessInfo
{
    std::string businessKey;
    std::string name;
    std::vector<Description> descriptions;
    std::vector<ServiceInfo> serviceInfos;
};

struct BusinessList
{
    bool truncated = false;
    std::vector<BusinessInfo> businessInfos;
};

struct TModelInstanceInfo
{
    std::string tModelKey;
    std::vector<Description> descriptions;
};

struct BindingTemplate
{
    std::string bindingKey;
    std::string serviceKey;
    std::vector<Description> descriptions;
    bool hasAccessPoint = false; // else the address is a hosting redirector
    std::string urlType;
    std::string accessPoint;
    std::string hostingRedirector; // the redirector's binding key
    std::vector<TModelInstanceInfo> tModelInstanceDetails;
};

struct BusinessService
{
    std::string serviceKey;
    std::string businessKey;
    std::string name;
    std::vector<Description> descriptions;
    std::vector<BindingTemplate> bindingTemplates;
    std::vector<KeyedReference> categoryBag;
};

struct ServiceDetail
{
    std::vector<BusinessService> businessServices;
};

struct TModel
{
    std::string tModelKey;
    std::string name;
    std::vector<Description> descriptions;
    std::string overviewURL;
    std::vector<KeyedReference> categoryBag;
};

struct TModelDetail
{
    std::vector<TModel> tModels;
};

// What a SOAP fault said: faultcode and faultstring, and the first result of its
// dispositionReport when it had one.
struct Fault
{
    std::string faultCode; // local part
    std::string faultString;
    bool hasDisposition = false;
    std::string errNo;
    std::string errCode;
    std::string errInfo;

    // "E_invalidKeyPassed (10210): text" with a dispositionReport, else "faultcode: faultstring".
    std::string text() const;
};

// A SOAP 1.1 envelope: a request to send, or an answer as received.
class Envelope
{
public:
    Envelope();

    // Request envelopes, UTF-8 with an XML declaration.
    static Envelope of(const FindBusiness& request);
    static Envelope of(const GetServiceDetail& request);
    static Envelope of(const GetTModelDetail& request);

    // Parses an answer (UTF-8 text). Returns false, with error filled, when text is not XML or not
    // a SOAP envelope.
    static bool parse(std::string text, Envelope& envelope, std::string& error);

    // The message as text.
    const std::string& xml() const;
    // The local name of the Body's element when it is in the UDDI v2 namespace ("businessList",
    // "serviceDetail", ...), "Fault" for a SOAP fault; "" for anything else and for requests.
    const std::string& responseKind() const;
    // The fault an answer of kind "Fault" holds; an empty fault otherwise.
    Fault fault() const;

    // The answers; raise 13 (type mismatch) when the envelope holds another kind.
    BusinessList businessList() const;
    ServiceDetail serviceDetail() const;
    TModelDetail tModelDetail() const;

private:
    struct Parsed;
    std::string m_xml;
    std::string m_kind;
    std::shared_ptr<const Parsed> m_parsed;
};

using Text::escapeXml;

} // namespace zel::uddi
