#include "platform/uddi/UddiClient.h"

#include "support/LoopbackServers.h"
#include "support/TestSupport.h"

#include <tuple>

namespace zel::uddi {
namespace {

using zel::test::LoopbackHttpServer;
using zel::test::RawServer;

const std::string kSoap = "http://schemas.xmlsoap.org/soap/envelope/";

std::string soap(const std::string& body, const std::string& prefix = "soap")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + prefix + ":Envelope xmlns:" + prefix + "=\"" + kSoap +
           "\"><" + prefix + ":Body>" + body + "</" + prefix + ":Body></" + prefix + ":Envelope>";
}

// A registry that answers every POST with a fixed status, content type and body, and keeps the
// last request it was sent.
struct CannedRegistry
{
    explicit CannedRegistry(int status, std::string body, std::string type = "text/xml; charset=utf-8")
    {
        server.server.Post("/inquiry", [=, this](const httplib::Request& req, httplib::Response& res) {
            request = req;
            res.status = status;
            res.set_content(body, type);
        });
        server.start();
    }
    LoopbackHttpServer server;
    httplib::Request request;
};

TEST(UddiClient, Answers_ErrorsAndKinds_BusinessListOfTwoMegabytesWithTrace_NoAddressOrNoAnswer)
{
    const std::string fault = "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>Client Error</faultstring>"
                              "<detail><dispositionReport generic=\"2.0\" operator=\"o\" xmlns=\"urn:uddi-org:api_v2\">"
                              "<result errno=\"10210\"><errInfo errCode=\"E_invalidKeyPassed\">Key &apos;x&apos; "
                              "unknown</errInfo></result></dispositionReport></detail></soap:Fault>";
    const std::string bareFault =
        soap("<Fault xmlns=\"" + kSoap + "\"><faultcode>Server</faultcode><faultstring>Down</faultstring></Fault>");
    // What the row is, the status, body and content type answered, the kind of answer when it is
    // taken, and otherwise part of the error text.
    const std::vector<std::tuple<const char*, int, std::string, const char*, const char*, const char*>> cases = {
        {"fault with report", 500, soap(fault), "text/xml", "", "E_invalidKeyPassed (10210): Key 'x' unknown"},
        {"bare fault", 500, bareFault, "text/xml", "", "Server: Down"},
        {"fault with 200", 200, soap(fault), "text/xml", "", "E_invalidKeyPassed"},
        {"html error page", 404, "<html><body><h1>Not found</h1><br></body></html>", "text/html", "", "HTTP 404"},
        {"html with 200", 200, "<html><body>Hello<br></body></html>", "text/html", "", "not a SOAP message"},
        {"not xml", 200, "registry down", "text/plain", "", "not a SOAP message"},
        {"well-formed, not soap", 200, "<businessList/>", "text/xml", "", "not a SOAP 1.1 envelope"},
        {"500 with an answer", 500, soap("<businessList xmlns=\"urn:uddi-org:api_v2\"/>"), "text/xml", "", "HTTP 500"},
        {"other kind", 200, soap("<registeredInfo xmlns=\"urn:uddi-org:api_v2\"/>"), "text/xml", "registeredInfo", ""},
        {"version 1 namespace", 200, soap("<businessList xmlns=\"urn:uddi-org:api\"/>"), "text/xml", "", ""},
        {"unprefixed", 200,
         "<Envelope xmlns=\"" + kSoap + "\"><Body><businessList xmlns=\"urn:uddi-org:api_v2\"/></Body></Envelope>",
         "text/xml", "businessList", ""},
        {"prefixed elsewhere", 200, soap("<ns2:businessList xmlns:ns2=\"urn:uddi-org:api_v2\"/>", "S"), "text/xml",
         "businessList", ""},
    };
    for (const auto& [what, status, body, contentType, kind, error] : cases) {
        CannedRegistry registry(status, body, contentType);
        UddiClient client;
        client.setAddress(registry.server.url("/inquiry"));
        const Envelope answer = client.send(Envelope::of(GetTModelDetail{{"uuid:x"}}));
        EXPECT_EQ(client.errorFlag(), !std::string_view(error).empty()) << what << ": " << client.errorText();
        EXPECT_NE(client.errorText().find(error), std::string::npos) << what << ": " << client.errorText();
        EXPECT_EQ(answer.responseKind(), kind) << what;
        EXPECT_EQ(registry.request.get_header_value("SOAPAction"), "\"\"");
        EXPECT_EQ(registry.request.get_header_value("Content-Type"), "text/xml; charset=\"utf-8\"");
    }

    // A business list of two megabytes with prefixes and escapes, traced and then not.
    std::string infos;
    for (int i = 0; i < 1000; ++i) {
        const std::string n = std::to_string(i);
        infos += "<u:businessInfo businessKey=\"k" + n + "\"><u:name xml:lang=\"en\">Caf\xC3\xA9 &amp; &lt;" + n +
                 "&gt;</u:name><u:description xml:lang=\"es\"><![CDATA[Descripci\xC3\xB3n <b>]]></u:description>" +
                 "<u:description>" + std::string(1800, 'd') + "</u:description><u:serviceInfos>" +
                 "<u:serviceInfo serviceKey=\"s" + n + "\" businessKey=\"k" + n + "\"><u:name>Svc</u:name>" +
                 "</u:serviceInfo></u:serviceInfos></u:businessInfo>";
    }
    CannedRegistry registry(200, soap("<u:businessList generic=\"2.0\" operator=\"o\" truncated=\"true\" "
                                      "xmlns:u=\"urn:uddi-org:api_v2\"><u:businessInfos>" +
                                          infos + "</u:businessInfos></u:businessList>",
                                      "env"));
    test::TempDir dir;
    UddiClient client;
    client.setAddress(registry.server.url("/inquiry"));
    client.setTrace(true);
    client.setTracePath((dir / "trace.log").string());
    FindBusiness find;
    find.name = "Caf\xC3\xA9 & <";
    const Envelope answer = client.send(Envelope::of(find));
    ASSERT_FALSE(client.errorFlag()) << client.errorText();
    const BusinessList list = answer.businessList();
    EXPECT_TRUE(list.truncated);
    ASSERT_EQ(list.businessInfos.size(), 1000u);
    const BusinessInfo& last = list.businessInfos.back();
    ASSERT_EQ(last.descriptions.size(), 2u);
    EXPECT_EQ(last.businessKey + "|" + last.name + "|" + last.descriptions[0].lang + "|" + last.descriptions[0].text +
                  "|" + last.serviceInfos.at(0).serviceKey,
              "k999|Caf\xC3\xA9 & <999>|es|Descripci\xC3\xB3n <b>|s999");
    EXPECT_GT(answer.xml().size(), 2'000'000u);
    EXPECT_EQ(test::raisedBy([&] { answer.serviceDetail(); }).Number, ErrorNumber::TypeMismatch);

    const std::string trace = test::readFile(dir / "trace.log");
    EXPECT_NE(trace.find("<name>Caf\xC3\xA9 &amp; &lt;</name>"), std::string::npos);
    EXPECT_NE(trace.find("k999"), std::string::npos);
    client.setTrace(false);
    client.send(Envelope::of(find));
    EXPECT_EQ(test::readFile(dir / "trace.log").size(), trace.size());

    // No address, and a registry that never answers within the request's time-out.
    client.setAddress("");
    client.send(Envelope::of(GetServiceDetail{{"k"}}));
    EXPECT_TRUE(client.errorFlag());
    EXPECT_EQ(client.errorText(), "No UDDI registry address is set.");
    RawServer hanging(&RawServer::hang);
    client.setAddress(hanging.url("/inquiry"));
    http::HttpOptions quick;
    quick.timeout = std::chrono::milliseconds(300);
    client.setOptions(quick);
    client.send(Envelope::of(GetServiceDetail{{"k"}}));
    EXPECT_NE(client.errorText().find("could not be reached"), std::string::npos) << client.errorText();
}

} // namespace
} // namespace zel::uddi
