#include "wsdl/WebService.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/http/HttpClient.h"
#include "platform/http/XmlBodyText.h"
#include "wsdl/ParameterSequence.h"
#include "wsdl/WsdlQueries.h"

#include <unordered_set>

namespace zel {

namespace {

constexpr int32_t kXmlNotReadable = 1001;
// The attribute column of a parameter that no attribute is mapped to yet.
constexpr const char* kNoAttributeText = "[none]";

using XmlFncs::isBlank;
using XmlFncs::trimSpaces;

std::string diagnostic(int32_t number, std::string_view description, std::string_view stage)
{
    return std::to_string(number) + " " + std::string(description) + std::string(stage);
}

// The attribute of a parameter element, which the grid cannot show when it is missing.
std::string requiredAttribute(const XmlNode& element, const char* name)
{
    if (element.selectSingleNode(std::string("self::*[@") + name + "]"))
        return element.attribute(name);
    raise(ErrorNumber::InvalidUseOfNull, std::string("Invalid use of Null: the element '") + element.attribute("name") +
                                             "' has no " + name + " attribute");
}

} // namespace

WebService::WebService() = default;
WebService::~WebService() = default;

void WebService::setHttpSend(HttpSend send)
{
    m_send = std::move(send);
}

std::string WebService::BuscarClasesWs()
{
    m_diagnostic.clear();
    std::string creationFailure;
    const std::string name = findService(creationFailure);
    if (!creationFailure.empty()) {
        try {
            raise(ErrorNumber::CannotCreateComponent, creationFailure);
        } catch (...) {
            rethrowWithTag(" WebService.BuscarClasesWs() ");
        }
    }
    return name;
}

std::string WebService::findService(std::string& creationFailure)
{
    // Nothing leaves this step: the wizard only learns that no service was found, and the stage
    // that ended the search is kept in the diagnostic text.
    try {
        if (strUrl.empty()) {
            m_diagnostic = diagnostic(0, "", " BuscarClasesWs url=''");
            return {};
        }
        const std::string typed = strUrl;
        strUrl += "?WSDL";
        http::HttpRequest request;
        request.method = "GET";
        request.url = strUrl;
        request.headers.emplace_back("Content-Type", "text/xml; charset=utf-8");
        const http::HttpResponse response =
            m_send ? m_send(request, m_httpOptions) : http::HttpClient::send(request, m_httpOptions);
        if (response.error == http::HttpError::CannotCreate) {
            // The request object is made before the address is touched: a failure to make it
            // leaves strUrl as the wizard set it.
            strUrl = typed;
            // A transport that gives no reason still failed: the failure must not read as success.
            creationFailure =
                response.message.empty() ? std::string(http::HttpClient::describe(response.error)) : response.message;
            return {};
        }
        if (!response.ok()) {
            m_diagnostic = diagnostic(static_cast<int32_t>(response.error), response.message, " BuscarClasesWs send");
            return {};
        }
        const std::optional<std::string> text = http::xmlBodyToUtf8(response.body, response.header("Content-Type"));
        XmlNode document = text ? XmlNode::parse(*text) : XmlNode();
        if (document.isNone()) {
            m_diagnostic = diagnostic(kXmlNotReadable, "No se puede leer el xml", " BuscarClasesWs load Xml");
            return {};
        }
        WSXML = document;
        const XmlNode service = WSXML.selectSingleNode("//wsdl:service");
        const std::string name = service.attribute("name");
        if (name.empty()) {
            m_diagnostic = diagnostic(0, "", " BuscarClasesWs DomLoad=''");
            return {};
        }
        if (!isBlank(name)) {
            SelectedWebService = name;
            SelectedClass = name;
        }
        return name;
    } catch (...) {
        const ErrorRecord record = currentErrorRecord();
        m_diagnostic = diagnostic(record.Number, record.Description, " BuscarClasesWs");
        return {};
    }
}

std::string WebService::BuscarMedotosWs(std::string_view PrefijosIngresados)
{
    std::string list;
    m_diagnostic.clear();
    // The wizard shows whatever was found; an error only shortens the list.
    try {
        if (WSXML.isNone())
            raiseObjectNotSet("WSXML");
        WsdlQueries::ResponseTypeIndex index(WSXML);
        // Names are compared whole: a substring search of the list would drop "Get" after "GetQuote".
        std::unordered_set<std::string> listed;
        for (const XmlNode& message : WSXML.selectNodes("//wsdl:message")) {
            const std::string name = message.attribute("name");
            std::string candidate;
            if (name.ends_with("SoapIn"))
                candidate = name.substr(0, name.size() - 6);
            else if (name.ends_with("SoapOut"))
                candidate = name.substr(0, name.size() - 7);
            else
                continue;
            if (!validate(candidate, PrefijosIngresados, index) || isBlank(candidate))
                continue;
            std::string trimmed = trimSpaces(candidate);
            if (listed.insert(trimmed).second)
                list.append(trimmed).append(",");
        }
    } catch (...) {
        const ErrorRecord record = currentErrorRecord();
        m_diagnostic = diagnostic(record.Number, record.Description, " BuscarMedotosWs");
    }
    return list;
}

bool WebService::ValidarSiEsProcedimiento(std::string_view NombreMetodo, const XmlNode& /*oDom*/,
                                          std::string_view PrefijosIngresados)
{
    try {
        WsdlQueries::ResponseTypeIndex index(WSXML);
        return validate(NombreMetodo, PrefijosIngresados, index);
    } catch (...) {
        rethrowWithTag(" WebService.ValidarSiEsProcedimiento() ");
    }
}

bool WebService::validate(std::string_view NombreMetodo, std::string_view PrefijosIngresados,
                          WsdlQueries::ResponseTypeIndex& index)
{
    const std::string prefixes = trimSpaces(PrefijosIngresados);
    if (prefixes.empty())
        return false;
    for (const std::string& prefix : WsdlQueries::splitCommas(prefixes))
        if (typedResponse(NombreMetodo, prefix, index))
            return true;
    return false;
}

bool WebService::typedResponse(std::string_view NombreMetodo, std::string_view prefix,
                               WsdlQueries::ResponseTypeIndex& index)
{
    // A prefix that cannot be checked (no document yet, a blank in it) is one under which the
    // operation has no typed response: the check fails quietly and the next prefix is tried.
    try {
        const std::string* type = index.responseType(prefix, NombreMetodo);
        return type != nullptr && !isBlank(WsdlQueries::stripPrefix(*type));
    } catch (...) {
        return false;
    }
}

std::string WebService::returnTypeLookup(std::string_view prefix, WsdlQueries::ResponseTypeIndex& index)
{
    // The lookup answers "" rather than failing: a prefix that cannot be queried is one that
    // does not hold the return type.
    try {
        const std::string* type = index.responseType(prefix, SelectedMethod);
        return type == nullptr ? std::string() : WsdlQueries::stripPrefix(*type);
    } catch (...) {
        return {};
    }
}

bool WebService::BuscarParametrosRetorno()
{
    try {
        bool result = true;
        ParametroRetorno.clear();
        Prefijos = trimSpaces(Prefijos);
        cPrefijo.clear();
        if (!Prefijos.empty()) {
            m_prefijos = WsdlQueries::splitCommas(Prefijos);
            WsdlQueries::ResponseTypeIndex index(WSXML);
            for (const std::string& prefix : m_prefijos) {
                ParametroRetorno = returnTypeLookup(prefix, index);
                if (!isBlank(ParametroRetorno)) {
                    cPrefijo = prefix;
                    break;
                }
            }
        }
        if (!isBlank(ParametroRetorno))
            ReturnType = ParametroRetorno;
        else
            result = false;
        return result;
    } catch (...) {
        rethrowWithTag(" WebService.BuscarParametrosRetorno() ");
    }
}

void WebService::WebServiceMethodParametersInputLoad()
{
    try {
        if (pubdtMethodsParameters == nullptr)
            raiseObjectNotSet("pubdtMethodsParameters");
        // The queries run on a copy, so that the shared reference outlives later changes of WSXML.
        const XmlNode copy = WSXML.isNone() ? XmlNode() : WSXML.cloneDeep();
        const XmlNode root = copy.documentElement();
        controls::IParameterGrid& grid = *pubdtMethodsParameters;
        grid.clear();
        if (root.isNone())
            return;
        XmlNode sequence;
        if (!isBlank(cPrefijo)) {
            if (WsdlQueries::isUsablePrefix(cPrefijo))
                sequence = root.selectSingleNode(WsdlQueries::inputSequenceQuery(cPrefijo, SelectedMethod));
        } else {
            sequence = root.selectSingleNode(WsdlQueries::inputSequenceQuery(SelectedMethod));
        }
        if (sequence) {
            ParameterSequence::set(sequence);
            for (XmlNode child = sequence.firstChild(); child; child = child.nextSibling()) {
                if (child.type() != XmlNodeType::Element)
                    continue;
                const std::string name = requiredAttribute(child, "name");
                const std::string type = requiredAttribute(child, "type");
                grid.addRow({name, WsdlQueries::stripPrefix(type), kNoAttributeText, ""});
            }
            for (int row = 0; row < grid.rowCount(); ++row)
                grid.setRowPictures(row, controls::Picture::ParameterName, controls::Picture::ParameterValue);
            if (grid.rowCount() > 0)
                grid.setCurrentRow(0);
        }
        if (pubtxtMethodReturnType == nullptr)
            raiseObjectNotSet("pubtxtMethodReturnType");
        pubtxtMethodReturnType->setText(ReturnType);
    } catch (...) {
        rethrowWithTag(" frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
    }
}

std::string WebService::BuscarParametrosWs()
{
    try {
        if (WSXML.isNone())
            raiseObjectNotSet("WSXML");
        const std::string name = WsdlQueries::xpathLiteral(SelectedMethod);
        const std::string tail = "]/s:complexType/s:sequence/s:element";
        std::string options;
        for (const XmlNode& element : WSXML.selectNodes("//types/schema/element[@name=" + name + tail))
            options += "<OPTION>" + element.attribute("name") + "</OPTION>";
        if (options.empty())
            for (const XmlNode& element : WSXML.selectNodes("//wsdl:types/s:schema/s:element[@name=" + name + tail))
                options += "<OPTION>" + element.attribute("name") + "</OPTION>";
        return options;
    } catch (...) {
        rethrowWithTag(" WebService.BuscarParametrosWs() ");
    }
}

} // namespace zel
