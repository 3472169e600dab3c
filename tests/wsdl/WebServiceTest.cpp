#include "wsdl/WebService.h"
#include "WsdlTestSupport.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/error/ErrorRecord.h"
#include "support/LoopbackServers.h"
#include "support/TestSupport.h"
#include "wsdl/ParameterSequence.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

using namespace zel;
using zel::test::expectRaises;
using zel::test::LoopbackHttpServer;
using zel::test::RawServer;
using zel::wsdltest::rows;

namespace {

// Serves every fixture at "/<fixture>" (the document only when asked with ?WSDL), some under
// another name with the Content-Type a misconfigured server would send, and the fault pages.
class WsdlServer
{
public:
    WsdlServer()
    {
        for (const char* name :
             {"quotes-s.wsdl", "two-services-xsd.wsdl", "default-namespace.wsdl", "doctype-entities.wsdl",
              "latin1.wsdl", "utf16.wsdl", "toolkit-two-ports.wsdl", "type-names.wsdl"}) {
            const std::string body = zel::test::fixture(std::string("wsdl/") + name);
            http.server.Get(std::string("/") + name, [body](const httplib::Request& req, httplib::Response& res) {
                res.set_content(req.has_param("WSDL") ? body : "<html>help page</html>", "text/xml");
            });
        }
        // path, status, body, Content-Type
        const std::tuple<const char*, int, std::string, const char*> pages[] = {
            {"/latin1-odd-charset.wsdl", 200, fixture("latin1.wsdl"), "text/xml; charset=ISO8859_1"},
            {"/utf8-declared-latin1.wsdl", 200, fixture("utf8-declared-latin1.wsdl"), "text/xml; charset=utf-8"},
            {"/utf8-declared-utf16.wsdl", 200, fixture("utf8-declared-utf16.wsdl"), "text/xml"},
            {"/error-html", 500, "<html><body><h1>Server Error</h1><p>Runtime error<br></body></html>", "text/html"},
            {"/error-xml", 500, "<?xml version=\"1.0\"?><error><message>Unhandled</message></error>", "text/xml"},
            {"/not-xml", 200, "Service temporarily unavailable", "text/plain"},
        };
        for (const auto& [path, status, body, type] : pages)
            http.server.Get(path, [=](const httplib::Request&, httplib::Response& res) {
                res.status = status;
                res.set_content(body, type);
            });
        zel::test::serveGeneratedBody(http.server, "/huge", 100u * 1024u * 1024u, false);
        http.start();
    }
    std::string url(const std::string& path) const { return http.url(path); }

private:
    static std::string fixture(const char* name) { return zel::test::fixture(std::string("wsdl/") + name); }
    LoopbackHttpServer http;
};

WsdlServer& server()
{
    static WsdlServer instance;
    return instance;
}

// An analyser that has loaded fixture and set its controls.
struct Loaded
{
    explicit Loaded(const std::string& fixture)
    {
        analyser.pubdtMethodsParameters = &grid;
        analyser.pubtxtMethodReturnType = &returnType;
        analyser.strUrl = server().url("/" + fixture);
        service = analyser.BuscarClasesWs();
    }
    // What the wizard does when the user moves on with an operation chosen.
    bool choose(const std::string& operation, const std::string& prefixes)
    {
        analyser.SelectedMethod = operation;
        analyser.Prefijos = prefixes;
        analyser.ReturnType.clear();
        const bool found = analyser.BuscarParametrosRetorno();
        analyser.WebServiceMethodParametersInputLoad();
        return found;
    }
    WebService analyser;
    controls::MemoryGrid grid;
    controls::MemoryTextBox returnType;
    std::string service;
};

constexpr const char* kWizardPrefixes = "xsd,xsi,xs,s";

} // namespace

// Through a transport that records what it is asked: the suffix, method, header and time-out of
// the request, the service name as written, and the selection set only for a name that is not blank.
TEST(WebServiceFetch, ThroughARecordingTransport_RequestNameAndSelection)
{
    const std::string w = "<wsdl:definitions xmlns:wsdl='w'>", end = "</wsdl:definitions>";
    // address, body answered, name returned, SelectedWebService and SelectedClass afterwards, end of the diagnostic
    const std::tuple<std::string, std::string, const char*, const char*, const char*> cases[] = {
        {"", "", "", "before", " BuscarClasesWs url=''"}, // no address: no request
        {"http://127.0.0.1:9/Q.asmx?WSDL", zel::test::fixture("wsdl/quotes-s.wsdl"), "QuoteService", "QuoteService",
         ""},
        {"http://127.0.0.1:9/S.asmx", w + "<wsdl:service name=' Calc '/>" + end, " Calc ", " Calc ", ""},
        {"http://127.0.0.1:9/S.asmx", w + "<wsdl:service name='   '/>" + end, "   ", "before", ""},
        {"http://127.0.0.1:9/S.asmx", w + "<wsdl:service name=''/>" + end, "", "before", " BuscarClasesWs DomLoad=''"},
        {"http://127.0.0.1:9/S.asmx", w + "<wsdl:service/><wsdl:service name='Second'/>" + end, "", "before",
         " BuscarClasesWs DomLoad=''"},
        {"http://127.0.0.1:9/S.asmx",
         w + "<wsdl:types><wsdl:service name='Inner'/></wsdl:types><wsdl:service name='Outer'/>" + end, "Inner",
         "Inner", ""},
        {"http://127.0.0.1:9/S.asmx", "<definitions><service name='Plain'/></definitions>", "", "before",
         " BuscarClasesWs DomLoad=''"},
    };
    for (const auto& [url, body, expected, selected, diagnostic] : cases) {
        WebService analyser;
        std::vector<http::HttpRequest> sent;
        analyser.setHttpSend([&](const http::HttpRequest& request, const http::HttpOptions& options) {
            sent.push_back(request);
            EXPECT_EQ(options.timeout, std::chrono::seconds(30));
            http::HttpResponse response;
            response.status = 404; // not examined
            response.body = body;
            return response;
        });
        analyser.SelectedWebService = analyser.SelectedClass = "before";
        analyser.strUrl = url;
        EXPECT_EQ(analyser.BuscarClasesWs(), expected) << body;
        EXPECT_EQ(analyser.SelectedWebService, selected) << body;
        EXPECT_EQ(analyser.SelectedClass, selected) << body;
        EXPECT_TRUE(analyser.lastDiagnostic().ends_with(diagnostic)) << body << ": " << analyser.lastDiagnostic();
        ASSERT_EQ(sent.size(), url.empty() ? 0u : 1u) << body;
        if (url.empty())
            continue;
        EXPECT_FALSE(analyser.WSXML.isNone()) << body;
        EXPECT_EQ(sent[0].url, url + "?WSDL");
        EXPECT_EQ(sent[0].method, "GET");
        EXPECT_EQ(sent[0].headers,
                  (std::vector<std::pair<std::string, std::string>>{{"Content-Type", "text/xml; charset=utf-8"}}));
        // Every call appends the suffix again, to the address as it now is.
        analyser.BuscarClasesWs();
        EXPECT_EQ(sent.back().url, url + "?WSDL?WSDL");
    }

    // A request that cannot be made raises, before the suffix is added.
    WebService analyser;
    analyser.setHttpSend([](const http::HttpRequest&, const http::HttpOptions&) {
        http::HttpResponse response;
        response.error = http::HttpError::CannotCreate;
        response.message = "no transport";
        return response;
    });
    analyser.strUrl = "http://127.0.0.1:9/x";
    expectRaises([&] { analyser.BuscarClasesWs(); }, ErrorNumber::CannotCreateComponent,
                 " WebService.BuscarClasesWs() ");
    EXPECT_EQ(analyser.strUrl, "http://127.0.0.1:9/x");
}

TEST(WebServiceFetch, Documents_GiveTheFirstServiceName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"quotes-s.wsdl", "QuoteService"},
        {"two-services-xsd.wsdl", "UnitService"},
        {"default-namespace.wsdl", ""},
        {"toolkit-two-ports.wsdl", ""},
        {"latin1.wsdl", "Caf\xC3\xA9"},
        {"utf16.wsdl", "Sixteen\xC3\xA9"},
        {"doctype-entities.wsdl", "EntityService"},
        {"latin1-odd-charset.wsdl", "Caf\xC3\xA9"},
        {"utf8-declared-latin1.wsdl", "Cotizaci\xC3\xB3n"},
        {"utf8-declared-utf16.wsdl", "DeclaredSixteen"},
    };
    for (const auto& [fixture, expected] : cases) {
        Loaded loaded(fixture);
        EXPECT_EQ(loaded.service, expected) << fixture << " " << loaded.analyser.lastDiagnostic();
        EXPECT_FALSE(loaded.analyser.WSXML.isNone()) << fixture << " parses";
    }
    // Entities declared in a DOCTYPE are neither expanded nor fetched.
    Loaded entities("doctype-entities.wsdl");
    EXPECT_EQ(entities.analyser.WSXML.documentElement().text().find("lollol"), std::string::npos);
}

TEST(WebServiceFetch, FailedFetches_ReturnEmptyAndKeepThePreviousWsdl)
{
    RawServer silent(&RawServer::hang);
    const std::string refused = "http://127.0.0.1:" + std::to_string(zel::test::closedLoopbackPort()) + "/x.asmx";
    // address, whether WSXML is replaced, how the diagnostic ends
    const std::tuple<std::string, bool, const char*> cases[] = {
        {refused, false, " BuscarClasesWs send"},
        {"http://wsdl-host.invalid/x.asmx", false, " BuscarClasesWs send"},
        {silent.url("/x.asmx"), false, " BuscarClasesWs send"}, // never answers
        {server().url("/error-html"), false, "1001 No se puede leer el xml BuscarClasesWs load Xml"},
        {server().url("/error-xml"), true, " BuscarClasesWs DomLoad=''"}, // a 500 page in well-formed XML
        {server().url("/not-xml"), false, "1001 No se puede leer el xml BuscarClasesWs load Xml"},
        {server().url("/huge"), false, " BuscarClasesWs send"}, // 100 MB
    };
    for (const auto& [url, replacesWsxml, stage] : cases) {
        Loaded loaded("quotes-s.wsdl");
        ASSERT_EQ(loaded.service, "QuoteService");
        const XmlNode previous = loaded.analyser.WSXML;
        loaded.analyser.httpOptions().timeout = std::chrono::seconds(1);
        loaded.analyser.strUrl = url;
        EXPECT_EQ(loaded.analyser.BuscarClasesWs(), "") << url;
        EXPECT_EQ(loaded.analyser.WSXML.sameNode(previous), !replacesWsxml) << url;
        const std::string diagnostic = loaded.analyser.lastDiagnostic();
        EXPECT_TRUE(std::string_view(stage).starts_with("1001") ? diagnostic == stage : diagnostic.ends_with(stage))
            << url << ": " << diagnostic;
        EXPECT_EQ(loaded.analyser.SelectedWebService, "QuoteService") << url << ": kept from the earlier load";
    }
}

TEST(WebServiceMethods, PrefixLists_SelectWhatIsListed)
{
    // fixture, prefixes, operations listed
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // Get is listed after GetQuote; Reset (untyped response) is not; Ping has only a SoapOut
        // message; Don't holds an apostrophe; the lower-case message does not count.
        {"quotes-s.wsdl", kWizardPrefixes, "GetQuote,Get,Ping,Broken,Don't,"},
        {"quotes-s.wsdl", "s", "GetQuote,Get,Ping,Broken,Don't,"},
        {"quotes-s.wsdl", "", ""},
        {"quotes-s.wsdl", "   ", ""},
        {"quotes-s.wsdl", "xsd, s", ""},
        {"quotes-s.wsdl", " s", "GetQuote,Get,Ping,Broken,Don't,"}, // the field is trimmed as a whole
        {"quotes-s.wsdl", "  s  ", "GetQuote,Get,Ping,Broken,Don't,"},
        {"quotes-s.wsdl", "xsd,,s", "GetQuote,Get,Ping,Broken,Don't,"},
        {"two-services-xsd.wsdl", "s,xsd", "Convert,"},
        {"two-services-xsd.wsdl", "s", ""},
        // A type is stripped through its first colon, whatever its prefix; one without a colon
        // stays whole; the prefix alone strips to nothing; only the first element counts.
        {"type-names.wsdl", "s,xsd", "Foreign,Short,Bare,"},
        {"type-names.wsdl", "s", "Foreign,Short,"},
        {"default-namespace.wsdl", kWizardPrefixes, ""},
        {"utf8-declared-utf16.wsdl", kWizardPrefixes, "Ping,"},
    };
    for (const auto& [fixture, prefixes, expected] : cases) {
        Loaded loaded(fixture);
        EXPECT_EQ(loaded.analyser.BuscarMedotosWs(prefixes), expected) << fixture << " [" << prefixes << "]";
    }
}

TEST(WebServiceMethods, NamesHoldingACommaOrAnotherName_AreComparedWhole_NoDocumentListsNone)
{
    WebService analyser;
    EXPECT_EQ(analyser.BuscarMedotosWs(kWizardPrefixes), "");
    EXPECT_FALSE(analyser.lastDiagnostic().empty());
    const std::string response = "Response'><s:complexType><s:sequence><s:element name='r' type='s:int'/>"
                                 "</s:sequence></s:complexType></s:element>";
    analyser.WSXML = XmlNode::parse(
        "<wsdl:definitions xmlns:wsdl='w' xmlns:s='x'><wsdl:types><s:schema><s:element name='Get,Quote" + response +
        "<s:element name='Quote" + response + "<s:element name='Get" + response +
        "</s:schema></wsdl:types><wsdl:message name='Get,QuoteSoapIn'/><wsdl:message name='QuoteSoapIn'/>"
        "<wsdl:message name='GetSoapOut'/><wsdl:message name='Get,QuoteSoapOut'/><wsdl:message name='Quote SoapIn'/>"
        "</wsdl:definitions>");
    ASSERT_FALSE(analyser.WSXML.isNone());
    EXPECT_EQ(analyser.BuscarMedotosWs("s"), "Get,Quote,Quote,Get,");
}

// The same check as the listing, on WSXML (never on the document passed in), failing quietly.
TEST(WebServiceMethods, ValidarSiEsProcedimiento_ChecksTheTypedResponseOfWsxmlQuietly)
{
    Loaded quotes("quotes-s.wsdl");
    const XmlNode other = XmlNode::parse(zel::test::fixture("wsdl/two-services-xsd.wsdl"));
    // WSXML loaded, operation, prefixes, answer
    const std::tuple<bool, const char*, const char*, bool> cases[] = {
        {true, "GetQuote", kWizardPrefixes, true},
        {true, "Convert", "xsd", false},
        {true, "GetQuoteSoapIn", "s", false},
        {false, "GetQuote", "s", false},
    };
    for (const auto& [loaded, operation, prefixes, expected] : cases) {
        WebService fresh;
        bool result = !expected;
        EXPECT_NO_THROW(result =
                            (loaded ? quotes.analyser : fresh).ValidarSiEsProcedimiento(operation, other, prefixes))
            << operation;
        EXPECT_EQ(result, expected) << operation << " [" << prefixes << "]";
    }
}

TEST(WebServiceParameters, ChosenOperation_FillsGridReturnTypeAndSharedSequence)
{
    Loaded loaded("quotes-s.wsdl");
    ASSERT_TRUE(loaded.choose("GetQuote", kWizardPrefixes));
    EXPECT_EQ(loaded.analyser.ReturnType, "double");
    EXPECT_EQ(loaded.analyser.ParametroRetorno, "double");
    EXPECT_EQ(loaded.analyser.cPrefijo, "s");
    EXPECT_EQ(loaded.returnType.text(), "double");
    EXPECT_EQ(rows(loaded.grid), "*symbol string [none], day date [none]");
    const XmlNode sequence = ParameterSequence::get();
    ASSERT_FALSE(sequence.isNone());
    EXPECT_EQ(sequence.name(), "s:sequence");
    EXPECT_EQ(sequence.selectNodes("s:element").size(), 2u);
    EXPECT_FALSE(sequence.ownerDocument().sameNode(loaded.analyser.WSXML)) << "the reference is into a copy";

    // An operation without inputs: empty grid, but the reference is its empty sequence.
    ASSERT_TRUE(loaded.choose("Ping", kWizardPrefixes));
    EXPECT_EQ(rows(loaded.grid), "");
    EXPECT_EQ(loaded.grid.currentRow(), -1);
    EXPECT_EQ(ParameterSequence::get().selectNodes("*").size(), 0u);
    EXPECT_FALSE(ParameterSequence::get().sameNode(sequence));
    EXPECT_EQ(loaded.returnType.text(), "int");

    // An apostrophe in the name is matched literally; a name with both quotes does not fail.
    ASSERT_TRUE(loaded.choose("Don't", "s"));
    EXPECT_EQ(loaded.analyser.ReturnType, "string");
    EXPECT_EQ(rows(loaded.grid), "*what string [none]");
    loaded.analyser.SelectedMethod = "Don't\"quote";
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosRetorno());
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosWs());
}

TEST(WebServiceParameters, ReturnTypeLookup_TriesThePrefixesInOrderAndStripsThroughTheColon)
{
    // operation, prefixes, return type found ("" for none: ReturnType is kept), prefix it was
    // found with, Prefijos afterwards
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"Foreign", "s", "Thing", "s", "s"}, // "tns:Thing", found with "s"
        {"Short", "s", "x", "s", "s"},       // no colon: kept whole
        {"Short", "xsd,s", "x", "s", "xsd,s"},
        {"Bare", "s,xsd", "long", "xsd", "s,xsd"}, // "s:" strips to nothing
        {"Bare", "s", "", "", "s"},
        {"Two", "s", "", "", "s"},
        {"Plain", kWizardPrefixes, "", "", kWizardPrefixes},
        {"Foreign", "  xsd,s  ", "Thing", "s", "xsd,s"},
        {"Foreign", "  s , xsd  ", "", "", "s , xsd"},
        {"Foreign", "   ", "", "", ""},
        {"Missing", "s", "", "", "s"},
    };
    Loaded loaded("type-names.wsdl");
    ASSERT_EQ(loaded.service, "TypeNames");
    WebService& analyser = loaded.analyser;
    for (const auto& [operation, prefixes, type, prefix, trimmed] : cases) {
        analyser.SelectedMethod = operation;
        analyser.Prefijos = prefixes;
        analyser.ReturnType = "kept";
        analyser.cPrefijo = analyser.ParametroRetorno = "stale";
        SCOPED_TRACE(std::string(operation) + " [" + prefixes + "]");
        EXPECT_EQ(analyser.BuscarParametrosRetorno(), *type != '\0');
        EXPECT_EQ(analyser.ReturnType, *type != '\0' ? type : "kept");
        EXPECT_EQ(analyser.ParametroRetorno, type);
        EXPECT_EQ(analyser.cPrefijo, prefix);
        EXPECT_EQ(analyser.Prefijos, trimmed);
    }
}

TEST(WebServiceParameters, GridRows_StripEveryTypeThroughItsColon)
{
    // operation, prefixes, grid, return-type field, name of the element the shared reference holds
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"Foreign", "s", "*thing Thing [none], n int [none]", "Thing", "s:sequence"},
        // No prefix found: the unprefixed query; a type without a prefix keeps its first letter.
        {"Plain", kWizardPrefixes, "*a string [none], b int [none]", "", "sequence"},
        // Found with xsd, but the input wrapper is written with s: no rows, reference kept.
        {"Bare", "s,xsd", "", "long", "sequence"},
    };
    Loaded loaded("type-names.wsdl");
    ParameterSequence::clear();
    for (const auto& [operation, prefixes, grid, field, sequence] : cases) {
        loaded.grid.addRow({"old", "", "", ""});
        loaded.choose(operation, prefixes);
        EXPECT_EQ(rows(loaded.grid), grid) << operation;
        EXPECT_EQ(loaded.returnType.text(), field) << operation;
        EXPECT_EQ(ParameterSequence::get().name(), sequence) << operation;
    }
}

TEST(WebServiceParameters, MissingControlsOrAnInputWithoutType_RaiseWithTheTagAfterWhatCameFirst)
{
    Loaded loaded("quotes-s.wsdl");
    loaded.analyser.SelectedMethod = "GetQuote";
    loaded.analyser.Prefijos = "s";
    ASSERT_TRUE(loaded.analyser.BuscarParametrosRetorno());
    for (const bool gridMissing : {true, false}) {
        loaded.grid.clear();
        loaded.analyser.pubdtMethodsParameters = gridMissing ? nullptr : &loaded.grid;
        loaded.analyser.pubtxtMethodReturnType = gridMissing ? &loaded.returnType : nullptr;
        expectRaises([&] { loaded.analyser.WebServiceMethodParametersInputLoad(); }, ErrorNumber::ObjectNotSet,
                     " frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
        // The return-type field is written last: without it, the rows are already there.
        EXPECT_EQ(loaded.grid.rowCount(), gridMissing ? 0 : 2);
    }

    loaded.analyser.pubdtMethodsParameters = &loaded.grid;
    loaded.analyser.pubtxtMethodReturnType = &loaded.returnType;
    loaded.analyser.SelectedMethod = "Broken";
    ASSERT_TRUE(loaded.analyser.BuscarParametrosRetorno());
    expectRaises([&] { loaded.analyser.WebServiceMethodParametersInputLoad(); }, 94,
                 " frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
    ASSERT_EQ(loaded.grid.rowCount(), 1) << "the row before";
    EXPECT_TRUE(rows(loaded.grid).starts_with("first int [none]")) << rows(loaded.grid);
    EXPECT_EQ(ParameterSequence::get().selectNodes("s:element").size(), 3u) << "stored before the rows";
}

TEST(WebServiceParameters, BuscarParametrosWs_TriesTheUnprefixedTypesFirst)
{
    const std::string older = "<types><schema><element name='Op'><s:complexType><s:sequence>"
                              "<s:element name='a'/><s:element name='b'/></s:sequence></s:complexType></element>"
                              "<element name='Unnamed'><s:complexType><s:sequence><s:element/></s:sequence>"
                              "</s:complexType></element></schema></types>";
    const std::string current = "<wsdl:types><s:schema><s:element name='Op'><s:complexType><s:sequence>"
                                "<s:element name='c'/></s:sequence></s:complexType></s:element>"
                                "<s:element name='Other'><s:complexType><s:sequence><s:element name='d'/>"
                                "</s:sequence></s:complexType></s:element></s:schema></wsdl:types>";
    // types in the document, operation, options
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {older + current, "Op", "<OPTION>a</OPTION><OPTION>b</OPTION>"}, // the second layout is not consulted
        {older + current, "Other", "<OPTION>d</OPTION>"},
        {current, "Op", "<OPTION>c</OPTION>"},
        {older, "Unnamed", "<OPTION></OPTION>"},
        {older + current, "op", ""},
    };
    for (const auto& [types, operation, expected] : cases) {
        WebService analyser;
        analyser.WSXML = XmlNode::parse("<definitions xmlns:s='x' xmlns:wsdl='w'>" + types + "</definitions>");
        ASSERT_FALSE(analyser.WSXML.isNone());
        analyser.SelectedMethod = operation;
        EXPECT_EQ(analyser.BuscarParametrosWs(), expected) << operation << " in " << types;
    }
    Loaded quotes("quotes-s.wsdl");
    quotes.analyser.SelectedMethod = "GetQuote";
    EXPECT_EQ(quotes.analyser.BuscarParametrosWs(), "<OPTION>symbol</OPTION><OPTION>day</OPTION>");
    WebService empty;
    empty.SelectedMethod = "Op";
    expectRaises([&] { empty.BuscarParametrosWs(); }, ErrorNumber::ObjectNotSet, " WebService.BuscarParametrosWs() ");
}
