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

// The address of path on a server that serves some fixtures under another name with the
// Content-Type a misconfigured server would send, the fault pages, documents whose services are
// named in odd ways, and every fixture at
// "/<fixture>" (the document only when asked with ?WSDL).
std::string served(const std::string& path)
{
    static LoopbackHttpServer http;
    static const bool started = [] {
        const auto wsdl = [](const std::string& services) {
            return "<wsdl:definitions xmlns:wsdl='w'>" + services + "</wsdl:definitions>";
        };
        // path, status, body, Content-Type
        const std::tuple<const char*, int, std::string, const char*> pages[] = {
            {"/latin1-odd-charset.wsdl", 200, zel::test::fixture("wsdl/latin1.wsdl"), "text/xml; charset=ISO8859_1"},
            {"/utf8-declared-latin1.wsdl", 200, zel::test::fixture("wsdl/utf8-declared-latin1.wsdl"),
             "text/xml; charset=utf-8"},
            {"/utf8-declared-utf16.wsdl", 200, zel::test::fixture("wsdl/utf8-declared-utf16.wsdl"), "text/xml"},
            {"/error-html", 500, "<html><body><h1>Server Error</h1><p>Runtime error<br></body></html>", "text/html"},
            {"/error-xml", 500, "<?xml version=\"1.0\"?><error><message>Unhandled</message></error>", "text/xml"},
            {"/not-xml", 200, "Service temporarily unavailable", "text/plain"},
            {"/padded-name", 200, wsdl("<wsdl:service name=' Calc '/>"), "text/xml"},
            {"/blank-name", 200, wsdl("<wsdl:service name='   '/>"), "text/xml"},
            {"/empty-name", 200, wsdl("<wsdl:service name=''/>"), "text/xml"},
            {"/first-unnamed", 200, wsdl("<wsdl:service/><wsdl:service name='Second'/>"), "text/xml"},
            {"/nested-first", 200,
             wsdl("<wsdl:types><wsdl:service name='Inner'/></wsdl:types><wsdl:service name='Outer'/>"), "text/xml"},
            {"/no-prefix", 200, "<definitions><service name='Plain'/></definitions>", "text/xml"},
        };
        for (const auto& [path, status, body, type] : pages)
            http.server.Get(path, [=](const httplib::Request&, httplib::Response& res) {
                res.status = status;
                res.set_content(body, type);
            });
        http.server.Get(R"(/([\w.-]+\.wsdl))", [](const httplib::Request& req, httplib::Response& res) {
            const std::string fixture = req.has_param("WSDL") ? "wsdl/" + req.matches[1].str() : "";
            res.set_content(fixture.empty() ? "<html>help page</html>" : zel::test::fixture(fixture), "text/xml");
        });
        zel::test::serveGeneratedBody(http.server, "/huge", 100u * 1024u * 1024u, false);
        return http.start() > 0;
    }();
    EXPECT_TRUE(started);
    return http.url(path);
}

// An analyser that has loaded fixture and set its controls.
struct Loaded
{
    explicit Loaded(const std::string& fixture)
    {
        analyser.pubdtMethodsParameters = &grid;
        analyser.pubtxtMethodReturnType = &returnType;
        analyser.strUrl = served("/" + fixture);
        service = analyser.BuscarClasesWs();
    }
    // What the wizard does when the user moves on with an operation chosen.
    void choose(const std::string& operation, const std::string& prefixes)
    {
        analyser.SelectedMethod = operation;
        analyser.Prefijos = prefixes;
        analyser.ReturnType.clear();
        analyser.BuscarParametrosRetorno();
        analyser.WebServiceMethodParametersInputLoad();
    }
    WebService analyser;
    controls::MemoryGrid grid;
    controls::MemoryTextBox returnType;
    std::string service;
};

constexpr const char* kWizardPrefixes = "xsd,xsi,xs,s";

} // namespace

// Through a transport that records what it is asked: the suffix, method, header and time-out of
// the request, the suffix added again by every call; no request without an address; a request
// that cannot be made raises, before the suffix is added, even when the transport gives no reason.
TEST(WebServiceFetch, ThroughARecordingTransport_RequestSuffixAndCreationFailure)
{
    std::vector<http::HttpRequest> sent;
    http::HttpError error = http::HttpError::None;
    WebService analyser;
    analyser.setHttpSend([&](const http::HttpRequest& request, const http::HttpOptions& options) {
        sent.push_back(request);
        EXPECT_EQ(options.timeout, std::chrono::seconds(30));
        http::HttpResponse response; // no status: it is not examined
        response.error = error;
        response.body = "<wsdl:definitions xmlns:wsdl='w'><wsdl:service name='Calc'/></wsdl:definitions>";
        return response;
    });
    EXPECT_EQ(analyser.BuscarClasesWs(), "");
    EXPECT_TRUE(analyser.lastDiagnostic().ends_with(" BuscarClasesWs url=''")) << analyser.lastDiagnostic();
    EXPECT_TRUE(sent.empty());
    const std::string url = "http://127.0.0.1:9/S.asmx?WSDL";
    analyser.strUrl = url;
    EXPECT_EQ(analyser.BuscarClasesWs(), "Calc");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].url, url + "?WSDL");
    EXPECT_EQ(sent[0].method, "GET");
    EXPECT_EQ(sent[0].headers,
              (std::vector<std::pair<std::string, std::string>>{{"Content-Type", "text/xml; charset=utf-8"}}));
    analyser.BuscarClasesWs();
    EXPECT_EQ(sent.back().url, url + "?WSDL?WSDL");

    error = http::HttpError::CannotCreate;
    analyser.strUrl = "http://127.0.0.1:9/x";
    expectRaises([&] { analyser.BuscarClasesWs(); }, ErrorNumber::CannotCreateComponent,
                 " WebService.BuscarClasesWs() ");
    EXPECT_EQ(analyser.strUrl, "http://127.0.0.1:9/x");
}

// Each address is fetched by an analyser that has loaded the quotes service: a document gives the
// name of its first service, whatever its encoding and charset label; a failed fetch returns ""
// and keeps the WSDL and the selection of the earlier load.
TEST(WebServiceFetch, Addresses_GiveTheFirstServiceNameOrFailKeepingThePreviousWsdl)
{
    RawServer silent(&RawServer::hang);
    const std::string refused = "http://127.0.0.1:" + std::to_string(zel::test::closedLoopbackPort()) + "/x.asmx";
    const char* const unreadable = "1001 No se puede leer el xml BuscarClasesWs load Xml";
    const char* const unnamed = " BuscarClasesWs DomLoad=''";
    const char* const send = " BuscarClasesWs send";
    // address (a path: on the fixture server), name returned, SelectedWebService and SelectedClass
    // afterwards, whether WSXML is replaced, the diagnostic (when it begins with a blank: how it ends)
    const std::tuple<std::string, const char*, const char*, bool, const char*> cases[] = {
        {"/quotes-s.wsdl", "QuoteService", "QuoteService", true, ""},
        {"/two-services-xsd.wsdl", "UnitService", "UnitService", true, ""},
        {"/default-namespace.wsdl", "", "QuoteService", true, unnamed},
        {"/toolkit-two-ports.wsdl", "", "QuoteService", true, unnamed},
        {"/latin1.wsdl", "Caf\xC3\xA9", "Caf\xC3\xA9", true, ""},
        {"/utf16.wsdl", "Sixteen\xC3\xA9", "Sixteen\xC3\xA9", true, ""},
        {"/doctype-entities.wsdl", "EntityService", "EntityService", true, ""},
        {"/latin1-odd-charset.wsdl", "Caf\xC3\xA9", "Caf\xC3\xA9", true, ""},
        {"/utf8-declared-latin1.wsdl", "Cotizaci\xC3\xB3n", "Cotizaci\xC3\xB3n", true, ""},
        {"/utf8-declared-utf16.wsdl", "DeclaredSixteen", "DeclaredSixteen", true, ""},
        {"/padded-name", " Calc ", " Calc ", true, ""},   // the name as written
        {"/blank-name", "   ", "QuoteService", true, ""}, // returned, but not selected
        {"/empty-name", "", "QuoteService", true, unnamed},
        {"/first-unnamed", "", "QuoteService", true, unnamed}, // only the first service counts
        {"/nested-first", "Inner", "Inner", true, ""},         // wherever it is
        {"/no-prefix", "", "QuoteService", true, unnamed},
        {refused, "", "QuoteService", false, send},
        {"http://wsdl-host.invalid/x.asmx", "", "QuoteService", false, send},
        {silent.url("/x.asmx"), "", "QuoteService", false, send}, // never answers
        {"/error-html", "", "QuoteService", false, unreadable},
        {"/error-xml", "", "QuoteService", true, unnamed}, // a 500 page in well-formed XML
        {"/not-xml", "", "QuoteService", false, unreadable},
        {"/huge", "", "QuoteService", false, send}, // 100 MB
    };
    for (const auto& [address, name, selected, replacesWsxml, stage] : cases) {
        Loaded loaded("quotes-s.wsdl");
        ASSERT_EQ(loaded.service, "QuoteService");
        const XmlNode previous = loaded.analyser.WSXML;
        loaded.analyser.httpOptions().timeout = std::chrono::seconds(1);
        loaded.analyser.strUrl = address.starts_with("/") ? served(address) : address;
        EXPECT_EQ(loaded.analyser.BuscarClasesWs(), name) << address;
        EXPECT_EQ(loaded.analyser.WSXML.sameNode(previous), !replacesWsxml) << address;
        const std::string diagnostic = loaded.analyser.lastDiagnostic();
        EXPECT_TRUE(diagnostic == stage || (*stage == ' ' && diagnostic.ends_with(stage)))
            << address << ": " << diagnostic;
        EXPECT_EQ(loaded.analyser.SelectedWebService + "|" + loaded.analyser.SelectedClass,
                  std::string(selected) + "|" + selected)
            << address;
    }
    // Entities declared in a DOCTYPE are neither expanded nor fetched.
    Loaded entities("doctype-entities.wsdl");
    EXPECT_EQ(entities.analyser.WSXML.documentElement().text().find("lollol"), std::string::npos);
}

// The operations listed for a prefix list, and the options of an operation's input elements.
TEST(WebServiceMethods, PrefixLists_SelectWhatIsListed_OptionsTryTheUnprefixedLayoutFirst)
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
        // Names holding a comma, or held in another name, are compared whole.
        {"comma-names.wsdl", "s", "Get,Quote,Quote,Get,"},
    };
    for (const auto& [fixture, prefixes, expected] : cases) {
        Loaded loaded(fixture);
        EXPECT_EQ(loaded.analyser.BuscarMedotosWs(prefixes), expected) << fixture << " [" << prefixes << "]";
    }
    WebService empty;
    EXPECT_EQ(empty.BuscarMedotosWs(kWizardPrefixes), "");
    EXPECT_FALSE(empty.lastDiagnostic().empty()) << "no document lists none";

    // The same check for one operation, on WSXML (never on the document passed in), failing quietly.
    Loaded quotes("quotes-s.wsdl");
    const XmlNode other = XmlNode::parse(zel::test::fixture("wsdl/two-services-xsd.wsdl"));
    EXPECT_TRUE(quotes.analyser.ValidarSiEsProcedimiento("GetQuote", other, kWizardPrefixes));
    EXPECT_FALSE(quotes.analyser.ValidarSiEsProcedimiento("Convert", other, "xsd"));
    EXPECT_FALSE(quotes.analyser.ValidarSiEsProcedimiento("GetQuoteSoapIn", other, "s"));
    EXPECT_FALSE(empty.ValidarSiEsProcedimiento("GetQuote", other, "s"));

    // The options of an operation's input elements: the unprefixed layout is looked at first, the
    // prefixed one only when it gives nothing.
    const std::tuple<const char*, const char*, const char*> options[] = {
        {"two-layouts.wsdl", "Op", "<OPTION>a</OPTION><OPTION>b</OPTION>"},
        {"two-layouts.wsdl", "Other", "<OPTION>d</OPTION>"},
        {"two-layouts.wsdl", "Unnamed", "<OPTION></OPTION>"},
        {"two-layouts.wsdl", "op", ""},
        {"quotes-s.wsdl", "GetQuote", "<OPTION>symbol</OPTION><OPTION>day</OPTION>"},
    };
    for (const auto& [fixture, operation, expected] : options) {
        Loaded loaded(fixture);
        ASSERT_FALSE(loaded.analyser.WSXML.isNone()) << fixture;
        loaded.analyser.SelectedMethod = operation;
        EXPECT_EQ(loaded.analyser.BuscarParametrosWs(), expected) << operation;
    }
    empty.SelectedMethod = "Op";
    expectRaises([&] { empty.BuscarParametrosWs(); }, ErrorNumber::ObjectNotSet, " WebService.BuscarParametrosWs() ");
}

// The chosen operation fills the grid (types stripped through their colon) and the return-type
// field, and the shared reference points at its input sequence, in a copy of the document; a missing
// control or an input without a type raises after what came first.
TEST(WebServiceParameters, ChosenOperation_FillsGridReturnTypeAndSharedSequence_OrRaisesAfterWhatCameFirst)
{
    // fixture, operation, prefixes, grid, return-type field, the shared reference's name and elements
    // ("kept": still the one of the row before)
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"quotes-s.wsdl", "GetQuote", kWizardPrefixes, "*symbol string [none], day date [none]", "double",
         "s:sequence 2"},
        {"quotes-s.wsdl", "Ping", kWizardPrefixes, "", "int", "s:sequence 0"}, // no inputs: its empty sequence
        {"quotes-s.wsdl", "Don't", "s", "*what string [none]", "string", "s:sequence 1"}, // matched literally
        {"type-names.wsdl", "Foreign", "s", "*thing Thing [none], n int [none]", "Thing", "s:sequence 2"},
        // No prefix found: the unprefixed query; a type without a prefix keeps its first letter.
        {"type-names.wsdl", "Plain", kWizardPrefixes, "*a string [none], b int [none]", "", "sequence 2"},
        // Found with xsd, but the input wrapper is written with s: no rows, reference kept.
        {"type-names.wsdl", "Bare", "s,xsd", "", "long", "kept"},
        // The prefixes are tried in order; a return type without a colon stays whole.
        {"type-names.wsdl", "Short", "xsd,s", "", "x", "kept"},
        // The field is trimmed as a whole: "xsd" is tried, then "s"; "s " and " xsd" are no prefixes.
        {"type-names.wsdl", "Foreign", "  xsd,s  ", "*thing Thing [none], n int [none]", "Thing", "s:sequence 2"},
        {"type-names.wsdl", "Foreign", "  s , xsd  ", "", "", "kept"},
    };
    XmlNode previous;
    for (const auto& [fixture, operation, prefixes, grid, field, sequence] : cases) {
        Loaded loaded(fixture);
        loaded.grid.addRow({"old", "", "", ""});
        loaded.choose(operation, prefixes);
        EXPECT_EQ(rows(loaded.grid), grid) << operation;
        EXPECT_EQ(loaded.returnType.text(), field) << operation;
        const XmlNode shared = ParameterSequence::get();
        EXPECT_EQ(shared.sameNode(previous) ? "kept"
                                            : shared.name() + " " + std::to_string(shared.selectNodes("*").size()),
                  sequence)
            << operation;
        EXPECT_FALSE(shared.ownerDocument().sameNode(loaded.analyser.WSXML)) << "the reference is into a copy";
        previous = shared;
    }
    // A name with both quotes does not fail.
    Loaded loaded("quotes-s.wsdl");
    loaded.analyser.SelectedMethod = "Don't\"quote";
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosRetorno());
    EXPECT_NO_THROW(loaded.analyser.BuscarParametrosWs());

    // Missing controls, or an input without a type, raise with the form's tag after what came first.
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
