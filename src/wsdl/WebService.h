#pragma once

#include "platform/controls/IParameterGrid.h"
#include "platform/controls/ITextBox.h"
#include "platform/http/HttpTypes.h"
#include "platform/xml/XmlNode.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

namespace WsdlQueries {
class ResponseTypeIndex;
}

// The WSDL analyser of the web-service wizard. It fetches the WSDL of an address, keeps the
// parsed document in WSXML, names the first service, lists the operations, finds the chosen
// operation's return type and fills the parameter grid with its input parameters. Element names
// in its queries are matched as written, prefix included: "wsdl:service" finds only elements
// spelled so. The wizard sets the properties, calls the operations in the order
// BuscarClasesWs, BuscarMedotosWs, BuscarParametrosRetorno, WebServiceMethodParametersInputLoad,
// and reads the properties back.
class WebService
{
public:
    // How the WSDL is fetched. The default sends the request with HttpClient on the calling
    // thread; a window installs one that runs it on a worker thread while it keeps processing
    // its events.
    using HttpSend = std::function<http::HttpResponse(const http::HttpRequest&, const http::HttpOptions&)>;

    WebService();
    ~WebService();

    // The parsed WSDL (a document node); none until a fetch succeeds, then kept until the next
    // fetch whose body is well-formed XML.
    XmlNode WSXML;
    // The WSDL address; BuscarClasesWs appends "?WSDL" to it on every call.
    std::string strUrl;
    std::string SelectedWebService;
    std::string SelectedClass;
    std::string SelectedMethod;
    std::string ReturnType;
    // The wizard's parameter grid and return-type field; not owned.
    controls::IParameterGrid* pubdtMethodsParameters = nullptr;
    controls::ITextBox* pubtxtMethodReturnType = nullptr;
    // The schema prefixes typed by the user, separated by commas.
    std::string Prefijos;
    // The return type found by BuscarParametrosRetorno and the prefix it was found with.
    std::string ParametroRetorno;
    std::string cPrefijo;

    // Fetches strUrl followed by "?WSDL", parses the body and keeps it in WSXML, and returns the
    // name attribute of the first "wsdl:service" element. Sets SelectedWebService and
    // SelectedClass to it when it is not blank. Returns "" (and raises nothing) for an empty
    // address, a failed request, a body that is not XML or a WSDL without such an element; the
    // HTTP status is not examined. Raises 429 only when the request cannot be created at all.
    std::string BuscarClasesWs();

    // The operations of WSXML whose response wrapper holds a typed element under one of the
    // comma-separated prefixes, each followed by a comma ("Add,Subtract,"), in the order of
    // their SoapIn/SoapOut messages, each name once. "" when none; errors are absorbed and the
    // list built so far returned.
    std::string BuscarMedotosWs(std::string_view PrefijosIngresados);

    // True when, for one of the comma-separated prefixes (untrimmed), the response wrapper of
    // NombreMetodo holds a first element whose type, its prefix stripped, is not blank. False for
    // blank prefixes and when WSXML is none: each per-prefix check fails quietly. The check reads
    // WSXML (oDom is the same document in every call the wizard makes).
    bool ValidarSiEsProcedimiento(std::string_view NombreMetodo, const XmlNode& oDom,
                                  std::string_view PrefijosIngresados);

    // Finds the return type of SelectedMethod, trying the prefixes of Prefijos (trimmed first)
    // in order. On success sets ParametroRetorno, cPrefijo and ReturnType and returns true;
    // otherwise returns false and leaves ReturnType unchanged.
    bool BuscarParametrosRetorno();

    // Fills the parameter grid with SelectedMethod's input elements (name, type with cPrefijo
    // stripped, "[none]", ""), stores their sequence in the shared parameter-sequence reference
    // and writes ReturnType into the return-type field. Works on a copy of WSXML; with WSXML none
    // the grid is only cleared. Raises 91 without grid or return-type field (the field is written
    // last, so the rows are in the grid), and 94 for an input element without a name or type
    // attribute (the rows added before it stay).
    void WebServiceMethodParametersInputLoad();

    // The "<OPTION>name</OPTION>" list of SelectedMethod's input elements in the older
    // "types/schema" layout, else in the "wsdl:types/s:schema" layout; "" when none.
    std::string BuscarParametrosWs();

    // Replaces the way the WSDL is fetched (an empty function restores the default).
    void setHttpSend(HttpSend send);
    // Time-out (30 s by default), size cap (64 MB) and proxy of the WSDL fetch.
    http::HttpOptions& httpOptions() { return m_httpOptions; }

    // What ended the last BuscarClasesWs or BuscarMedotosWs early ("" when nothing did): an
    // error number, its description and the stage, for tools and logs.
    const std::string& lastDiagnostic() const { return m_diagnostic; }

private:
    std::string findService(std::string& creationFailure);
    bool validate(std::string_view NombreMetodo, std::string_view PrefijosIngresados,
                  WsdlQueries::ResponseTypeIndex& index);
    bool typedResponse(std::string_view NombreMetodo, std::string_view prefix, WsdlQueries::ResponseTypeIndex& index);
    std::string returnTypeLookup(std::string_view prefix, WsdlQueries::ResponseTypeIndex& index);

    std::vector<std::string> m_prefijos;
    HttpSend m_send;
    http::HttpOptions m_httpOptions;
    std::string m_diagnostic;
};

} // namespace zel
