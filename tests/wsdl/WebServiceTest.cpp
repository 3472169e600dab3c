#include "wsdl/WebService.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/error/ErrorRecord.h"
#include "support/LoopbackServers.h"
#include "support/TestSupport.h"
#include "wsdl/ParameterSequence.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace zel;
using zel::test::expectRaises;
using zel::test::LoopbackHttpServer;
using zel::test::RawServer;

namespace {

// Serves every fixture at "/<fixture>" (any query), plus the fault pages the tests need.
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
        // Fixtures served under another name with the Content-Type a misconfigured server would send.
        const struct
        {
            const char* path;
            const char* fixture;
            const char* contentType;
        } labelled[] = {
            {"/latin1-odd-charset.wsdl", "latin1.wsdl", "text/xml; charset=ISO8859_1"},
            {"/utf8-declared-latin1.wsdl", "utf8-declared-latin1.wsdl", "text/xml; charset=utf-8"},
            {"/utf8-declared-utf16.wsdl", "utf8-declared-utf16.wsdl", "text/xml"},
        };
        for (const auto& entry : labelled) {
            const std::string body = zel::test::fixture(std::string("wsdl/") + entry.fixture);
            const std::string contentType = entry.contentType;
            http.server.Get(entry.path, [body, contentType](const httplib::Request&, httplib::Response& res) {
                res.set_content(body, contentType);
            });
        }
        http.server.Get("/error-html", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("<html><body><h1>Server Error</h1><p>Runtime error<br></body></html>", "text/html");
        });
        http.server.Get("/error-xml", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("<?xml version=\"1.0\"?><error><message>Unhandled</message></error>", "text/xml");
        });
        http.server.Get("/not-xml", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Service temporarily unavailable", "text/plain");
        });
        zel::test::serveGeneratedBody(http.server, "/huge", 100u * 1024u * 1024u, false);
        http.start();
    }
    std::string url(const std::string& path) const { return http.url(path); }

private:
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

TEST(WebServiceFetch, EmptyAddress_ReturnsEmptyWithoutRequest)
{
    WebService analyser;
    int requests = 0;
    analyser.setHttpSend([&](const http::HttpRequest&, const http::HttpOptions&) {
        ++requests;
        return http::HttpResponse{};
    });
    EXPECT_EQ(analyser.BuscarClasesWs(), "");
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(analyser.strUrl, "");
    EXPECT_TRUE(analyser.lastDiagnostic().ends_with(" BuscarClasesWs url=''")) << analyser.lastDiagnostic();
}

TEST(WebServiceFetch, EveryCall_AppendsTheSuffixAndSendsTheContentType)
{
    WebService analyser;
    std::vector<http::HttpRequest> sent;
    analyser.setHttpSend([&](const http::HttpRequest& request, const http::HttpOptions& options) {
        sent.push_back(request);
        EXPECT_EQ(options.timeout, std::chrono::seconds(30));
        http::HttpResponse response;
        response.status = 404; // not examined
        response.body = zel::test::fixture("wsdl/quotes-s.wsdl");
        return response;
    });
    analyser.strUrl = "http://127.0.0.1:9/Quotes.asmx?WSDL";
    EXPECT_EQ(analyser.BuscarClasesWs(), "QuoteService");
    EXPECT_EQ(analyser.BuscarClasesWs(), "QuoteService");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].url, "http://127.0.0.1:9/Quotes.asmx?WSDL?WSDL");
    EXPECT_EQ(sent[1].url, "http://127.0.0.1:9/Quotes.asmx?WSDL?WSDL?WSDL");
    EXPECT_EQ(sent[0].method, "GET");
    ASSERT_EQ(sent[0].headers.size(), 1u);
    EXPECT_EQ(sent[0].headers[0], std::make_pair(std::string("Content-Type"), std::string("text/xml; charset=utf-8")));
    EXPECT_EQ(analyser.SelectedWebService, "QuoteService");
    EXPECT_EQ(analyser.SelectedClass, "QuoteService");
}

TEST(WebServiceFetch, CannotCreateTheRequest_RaisesWithTheTag)
{
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
    EXPECT_EQ(analyser.strUrl, "http://127.0.0.1:9/x") << "the failure comes before the suffix";
}

TEST(WebServiceFetch, ServiceNames_AreReturnedAsWrittenAndSetOnlyWhenNotBlank)
{
    struct Case
    {
        const char* body;
        const char* expected;
        const char* selected; // SelectedWebService and SelectedClass afterwards
    };
    const Case cases[] = {
        {"<wsdl:definitions xmlns:wsdl='w'><wsdl:service name=' Calc '/></wsdl:definitions>", " Calc ", " Calc "},
        {"<wsdl:definitions xmlns:wsdl='w'><wsdl:service name='   '/></wsdl:definitions>", "   ", "before"},
        {"<wsdl:definitions xmlns:wsdl='w'><wsdl:service name=''/></wsdl:definitions>", "", "before"},
        {"<wsdl:definitions xmlns:wsdl='w'><wsdl:service/><wsdl:service name='Second'/></wsdl:definitions>", "",
         "before"},
        {"<wsdl:definitions xmlns:wsdl='w'><wsdl:types><wsdl:service name='Inner'/></wsdl:types>"
         "<wsdl:service name='Outer'/></wsdl:definitions>",
         "Inner", "Inner"},
        {"<definitions><service name='Plain'/></definitions>", "", "before"},
    };
    for (const Case& c : cases) {
        WebService analyser;
        analyser.setHttpSend([&](const http::HttpRequest&, const http::HttpOptions&) {
            http::HttpResponse response;
            response.status = 200;
            response.body = c.body;
            return response;
        });
        analyser.SelectedWebService = "before";
        analyser.SelectedClass = "before";
        analyser.strUrl = "http://127.0.0.1:9/S.asmx";
        EXPECT_EQ(analyser.BuscarClasesWs(), c.expected) << c.body;
        EXPECT_EQ(analyser.SelectedWebService, c.selected) << c.body;
        EXPECT_EQ(analyser.SelectedClass, c.selected) << c.body;
        EXPECT_FALSE(analyser.WSXML.isNone()) << c.body;
    }
}

TEST(WebServiceFetch, Documents_GiveTheFirstServiceName)
{
    struct Case
    {
        const char* fixture;
        const char* expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        Loaded loaded(c.fixture);
        EXPECT_EQ(loaded.service, c.expected) << c.fixture << " " << loaded.analyser.lastDiagnostic();
        EXPECT_FALSE(loaded.analyser.WSXML.isNone()) << c.fixture << " parses";
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << c.fixture;
    }
    // Entities declared in a DOCTYPE are neither expanded nor fetched.
    Loaded entities("doctype-entities.wsdl");
    EXPECT_EQ(entities.analyser.WSXML.documentElement().text().find("lollol"), std::string::npos);
}

TEST(WebServiceFetch, FailedFetches_ReturnEmptyAndKeepThePreviousWsdl)
{
    RawServer silent(&RawServer::hang);
    struct Case
    {
        const char* what;
        std::string url;
        bool replacesWsxml;
        const char* stage; // how the diagnostic ends
    };
    const Case cases[] = {
        {"connection refused", "http://127.0.0.1:" + std::to_string(zel::test::closedLoopbackPort()) + "/x.asmx", false,
         " BuscarClasesWs send"},
        {"unknown host", "http://wsdl-host.invalid/x.asmx", false, " BuscarClasesWs send"},
        {"server that never answers", silent.url("/x.asmx"), false, " BuscarClasesWs send"},
        {"500 page in HTML", server().url("/error-html"), false, " BuscarClasesWs load Xml"},
        {"500 page in well-formed XML", server().url("/error-xml"), true, " BuscarClasesWs DomLoad=''"},
        {"body that is not XML", server().url("/not-xml"), false, " BuscarClasesWs load Xml"},
        {"100 MB body", server().url("/huge"), false, " BuscarClasesWs send"},
    };
    for (const Case& c : cases) {
        Loaded loaded("quotes-s.wsdl");
        ASSERT_EQ(loaded.service, "QuoteService");
        const XmlNode previous = loaded.analyser.WSXML;
        loaded.analyser.httpOptions().timeout = std::chrono::seconds(1);
        loaded.analyser.strUrl = c.url;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(loaded.analyser.BuscarClasesWs(), "") << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << c.what;
        EXPECT_EQ(loaded.analyser.WSXML.sameNode(previous), !c.replacesWsxml) << c.what;
        EXPECT_TRUE(loaded.analyser.lastDiagnostic().ends_with(c.stage))
            << c.what << ": " << loaded.analyser.lastDiagnostic();
        if (std::string_view(c.stage) == " BuscarClasesWs load Xml") {
            EXPECT_EQ(loaded.analyser.lastDiagnostic(), "1001 No se puede leer el xml BuscarClasesWs load Xml");
        }
        EXPECT_EQ(loaded.analyser.SelectedWebService, "QuoteService") << c.what << ": kept from the earlier load";
    }
}

TEST(WebServiceMethods, PrefixLists_SelectWhatIsListed)
{
    struct Case
    {
        const char* fixture;
        const char* prefixes;
        const char* expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        Loaded loaded(c.fixture);
        EXPECT_EQ(loaded.analyser.BuscarMedotosWs(c.prefixes), c.expected) << c.fixture << " [" << c.prefixes << "]";
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

TEST(WebServiceMethods, ValidarSiEsProcedimiento_ChecksTheTypedResponseOfWsxmlQuietly)
{
    Loaded quotes("quotes-s.wsdl");
    const XmlNode other = XmlNode::parse(zel::test::fixture("wsdl/two-services-xsd.wsdl"));
    struct Case
    {
        bool loaded;
        const char* operation;
        const char* prefixes;
        bool expected;
    };
    const Case cases[] = {
        {true, "GetQuote", "s", true},
        {true, "GetQuote", "xsd,xsi,xs,s", true},
        {true, "GetQuote", "  s  ", true},   // the list is trimmed as a whole
        {true, "GetQuote", "xsd, s", false}, // " s" keeps its blank
        {true, "GetQuote", "", false},
        {true, "GetQuote", ",", false},
        {true, "Ping", "s", true},       // a SoapOut message alone is enough
        {true, "Reset", "s", false},     // response without a typed element
        {true, "Convert", "xsd", false}, // oDom holds Convert, but WSXML is what is read
        {true, "GetQuoteSoapIn", "s", false},
        {false, "GetQuote", "s", false}, // no document: every per-prefix check fails quietly
        {false, "GetQuote", "", false},
    };
    for (const Case& c : cases) {
        WebService fresh;
        WebService& analyser = c.loaded ? quotes.analyser : fresh;
        bool result = !c.expected;
        EXPECT_NO_THROW(result = analyser.ValidarSiEsProcedimiento(c.operation, other, c.prefixes))
            << c.operation << " [" << c.prefixes << "]";
        EXPECT_EQ(result, c.expected) << c.operation << " [" << c.prefixes << "]";
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
    ASSERT_EQ(loaded.grid.rowCount(), 2);
    const controls::IParameterGrid::Row first{"symbol", "string", "[none]", ""};
    const controls::IParameterGrid::Row second{"day", "date", "[none]", ""};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(loaded.grid.cell(0, c), first[static_cast<std::size_t>(c)]);
        EXPECT_EQ(loaded.grid.cell(1, c), second[static_cast<std::size_t>(c)]);
    }
    EXPECT_EQ(loaded.grid.currentRow(), 0);
    EXPECT_EQ(loaded.grid.rowPictures(1),
              std::make_pair(controls::Picture::ParameterName, controls::Picture::ParameterValue));
    const XmlNode sequence = ParameterSequence::get();
    ASSERT_FALSE(sequence.isNone());
    EXPECT_EQ(sequence.name(), "s:sequence");
    EXPECT_EQ(sequence.selectNodes("s:element").size(), 2u);
    EXPECT_FALSE(sequence.ownerDocument().sameNode(loaded.analyser.WSXML)) << "the reference is into a copy";

    // An operation without inputs: empty grid, but the reference is its empty sequence.
    ASSERT_TRUE(loaded.choose("Ping", kWizardPrefixes));
    EXPECT_EQ(loaded.grid.rowCount(), 0);
    EXPECT_EQ(loaded.grid.currentRow(), -1);
    EXPECT_EQ(ParameterSequence::get().selectNodes("*").size(), 0u);
    EXPECT_FALSE(ParameterSequence::get().sameNode(sequence));
    EXPECT_EQ(loaded.returnType.text(), "int");
}

TEST(WebServiceParameters, ReturnTypeLookup_TriesThePrefixesInOrderAndStripsThroughTheColon)
{
    struct Case
    {
        const char* operation;
        const char* prefixes;
        bool found;
        const char* returnType; // "kept" when ReturnType must stay as it was
        const char* parametro;
        const char* prefix;
        const char* trimmedPrefixes;
    };
    const Case cases[] = {
        {"Foreign", "s", true, "Thing", "Thing", "s", "s"}, // "tns:Thing", found with "s"
        {"Short", "s", true, "x", "x", "s", "s"},           // no colon: kept whole
        {"Short", "xsd,s", true, "x", "x", "s", "xsd,s"},
        {"Bare", "s,xsd", true, "long", "long", "xsd", "s,xsd"}, // "s:" strips to nothing
        {"Bare", "s", false, "kept", "", "", "s"},
        {"Two", "s", false, "kept", "", "", "s"},
        {"Plain", kWizardPrefixes, false, "kept", "", "", kWizardPrefixes},
        {"Foreign", "  xsd,s  ", true, "Thing", "Thing", "s", "xsd,s"},
        {"Foreign", "  s , xsd  ", false, "kept", "", "", "s , xsd"},
        {"Foreign", "   ", false, "kept", "", "", ""},
        {"Missing", "s", false, "kept", "", "", "s"},
    };
    Loaded loaded("type-names.wsdl");
    ASSERT_EQ(loaded.service, "TypeNames");
    for (const Case& c : cases) {
        WebService& analyser = loaded.analyser;
        analyser.SelectedMethod = c.operation;
        analyser.Prefijos = c.prefixes;
        analyser.ReturnType = "kept";
        analyser.cPrefijo = "stale";
        analyser.ParametroRetorno = "stale";
        SCOPED_TRACE(std::string(c.operation) + " [" + c.prefixes + "]");
        EXPECT_EQ(analyser.BuscarParametrosRetorno(), c.found);
        EXPECT_EQ(analyser.ReturnType, c.returnType);
        EXPECT_EQ(analyser.ParametroRetorno, c.parametro);
        EXPECT_EQ(analyser.cPrefijo, c.prefix);
        EXPECT_EQ(analyser.Prefijos, c.trimmedPrefixes);
    }
}

TEST(WebServiceParameters, GridRows_StripEveryTypeThroughItsColon)
{
    struct Case
    {
        const char* operation;
        const char* prefixes;
        std::vector<std::pair<std::string, std::string>> rows; // name, type
        const char* field;
        const char* sequence; // name of the element the shared reference holds afterwards
    };
    const Case cases[] = {
        {"Foreign", "s", {{"thing", "Thing"}, {"n", "int"}}, "Thing", "s:sequence"},
        // No prefix found: the unprefixed query; a type without a prefix keeps its first letter.
        {"Plain", kWizardPrefixes, {{"a", "string"}, {"b", "int"}}, "", "sequence"},
        // Found with xsd, but the input wrapper is written with s: no rows, reference kept.
        {"Bare", "s,xsd", {}, "long", "sequence"},
    };
    Loaded loaded("type-names.wsdl");
    ParameterSequence::clear();
    for (const Case& c : cases) {
        loaded.grid.addRow({"old", "", "", ""});
        loaded.choose(c.operation, c.prefixes);
        ASSERT_EQ(loaded.grid.rowCount(), static_cast<int>(c.rows.size())) << c.operation;
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            const int row = static_cast<int>(r);
            const controls::IParameterGrid::Row expected{c.rows[r].first, c.rows[r].second, "[none]", ""};
            for (int col = 0; col < 4; ++col)
                EXPECT_EQ(loaded.grid.cell(row, col), expected[static_cast<std::size_t>(col)]) << c.operation;
            EXPECT_EQ(loaded.grid.rowPictures(row),
                      std::make_pair(controls::Picture::ParameterName, controls::Picture::ParameterValue));
        }
        EXPECT_EQ(loaded.grid.currentRow(), c.rows.empty() ? -1 : 0) << c.operation;
        EXPECT_EQ(loaded.returnType.text(), c.field) << c.operation;
        EXPECT_EQ(ParameterSequence::get().name(), c.sequence) << c.operation;
    }
}

TEST(WebServiceParameters, MissingControls_RaiseWithTheTagWhereTheyAreUsed)
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
}

TEST(WebServiceParameters, InputWithoutType_RaisesAfterTheEarlierRows)
{
    Loaded loaded("quotes-s.wsdl");
    loaded.analyser.SelectedMethod = "Broken";
    loaded.analyser.Prefijos = "s";
    ASSERT_TRUE(loaded.analyser.BuscarParametrosRetorno());
    expectRaises([&] { loaded.analyser.WebServiceMethodParametersInputLoad(); }, 94,
                 " frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
    ASSERT_EQ(loaded.grid.rowCount(), 1);
    EXPECT_EQ(loaded.grid.cell(0, 0), "first");
    EXPECT_EQ(ParameterSequence::get().selectNodes("s:element").size(), 3u) << "stored before the rows";
}

TEST(WebServiceParameters, ApostropheInTheName_IsMatchedLiterally)
{
    Loaded loaded("quotes-s.wsdl");
    ASSERT_TRUE(loaded.choose("Don't", "s"));
    EXPECT_EQ(loaded.analyser.ReturnType, "string");
    ASSERT_EQ(loaded.grid.rowCount(), 1);
    EXPECT_EQ(loaded.grid.cell(0, 0), "what");
    loaded.analyser.SelectedMethod = "Don't\"quote";
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosRetorno());
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosWs());
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
    const auto document = [](const std::string& body) {
        return XmlNode::parse("<definitions xmlns:s='x' xmlns:wsdl='w'>" + body + "</definitions>");
    };
    struct Case
    {
        std::string body;
        const char* operation;
        const char* expected;
    };
    const Case cases[] = {
        {older + current, "Op", "<OPTION>a</OPTION><OPTION>b</OPTION>"}, // the second layout is not consulted
        {older + current, "Other", "<OPTION>d</OPTION>"},
        {current, "Op", "<OPTION>c</OPTION>"},
        {older, "Unnamed", "<OPTION></OPTION>"},
        {older + current, "op", ""},
    };
    for (const Case& c : cases) {
        WebService analyser;
        analyser.WSXML = document(c.body);
        ASSERT_FALSE(analyser.WSXML.isNone());
        analyser.SelectedMethod = c.operation;
        EXPECT_EQ(analyser.BuscarParametrosWs(), c.expected) << c.operation << " in " << c.body;
    }
    Loaded quotes("quotes-s.wsdl");
    quotes.analyser.SelectedMethod = "GetQuote";
    EXPECT_EQ(quotes.analyser.BuscarParametrosWs(), "<OPTION>symbol</OPTION><OPTION>day</OPTION>");
    WebService empty;
    empty.SelectedMethod = "Op";
    expectRaises([&] { empty.BuscarParametrosWs(); }, ErrorNumber::ObjectNotSet, " WebService.BuscarParametrosWs() ");
}
