#include "platform/http/HttpClient.h"
#include "platform/http/AsyncHttpRequest.h"
#include "support/LoopbackServers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

using namespace zel::http;
using zel::test::LoopbackHttpServer;
using zel::test::RawServer;

using Clock = std::chrono::steady_clock;

// One loopback server answers every exchange: bodies and headers whatever the status, a POST's
// method, headers and body, a redirect followed to the last response, bodies over the cap, and a
// slow answer to a request sent in the background.
TEST(HttpClient, Exchanges_StatusesPostRedirectsTheBodyCapAndTheBackgroundRequest)
{
    // status, body, Content-Type
    const std::tuple<int, const char*, const char*> cases[] = {
        {200, "<ok/>", "text/xml; charset=utf-8"},
        {404, "<html><body>Not here</body></html>", "text/html"},
        {500, "<?xml version=\"1.0\"?><fault>boom</fault>", "text/xml"},
    };
    LoopbackHttpServer server;
    for (const auto& [status, body, type] : cases)
        server.server.Get("/" + std::to_string(status), [=](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(body, type);
        });
    server.server.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("SOAPAction") + "|" + req.get_header_value("Content-Type") + "|" +
                            req.body,
                        "text/plain");
    });
    server.server.Get("/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    server.server.Get("/new",
                      [](const httplib::Request&, httplib::Response& res) { res.set_content("moved", "text/plain"); });
    server.server.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        res.set_content("<definitions/>", "text/xml");
    });
    constexpr std::size_t k100MB = 100u * 1024u * 1024u;
    zel::test::serveGeneratedBody(server.server, "/chunked", k100MB, false);
    zel::test::serveGeneratedBody(server.server, "/declared", k100MB, true);
    zel::test::serveGeneratedBody(server.server, "/exact", 1000, true);
    zel::test::serveGeneratedBody(server.server, "/over", 1001, false);
    server.start();
    for (const auto& [status, body, type] : cases) {
        const HttpResponse response = HttpClient::get(server.url("/" + std::to_string(status)));
        ASSERT_TRUE(response.ok()) << response.message;
        EXPECT_EQ(response.status, status);
        EXPECT_EQ(response.body, body);
        EXPECT_EQ(response.header("content-type"), type);
    }

    HttpRequest request;
    request.method = "POST";
    request.url = server.url("/echo");
    request.headers = {{"Content-Type", "text/xml; charset=utf-8"}, {"SOAPAction", "\"urn:x#Add\""}};
    request.body = "<Add><a>1</a></Add>";
    const HttpResponse posted = HttpClient::send(request);
    ASSERT_TRUE(posted.ok()) << posted.message;
    EXPECT_EQ(posted.body, "\"urn:x#Add\"|text/xml; charset=utf-8|<Add><a>1</a></Add>");

    const HttpResponse redirected = HttpClient::get(server.url("/old"));
    ASSERT_TRUE(redirected.ok()) << redirected.message;
    EXPECT_EQ(redirected.status, 200);
    EXPECT_EQ(redirected.body, "moved");
    EXPECT_EQ(redirected.effectiveUrl, server.url("/new"));

    for (const char* path : {"/chunked", "/declared"}) {
        const HttpResponse response = HttpClient::get(server.url(path));
        EXPECT_EQ(response.error, HttpError::TooLarge) << path;
        EXPECT_NE(response.message.find("64 MB"), std::string::npos) << response.message;
        EXPECT_TRUE(response.body.empty());
    }
    HttpOptions small;
    small.maxBodyBytes = 1000;
    EXPECT_EQ(HttpClient::get(server.url("/exact"), small).body.size(), 1000u);
    EXPECT_EQ(HttpClient::get(server.url("/over"), small).error, HttpError::TooLarge);

    // In the background: the ready state goes from opened to completed, and a request is sent once.
    AsyncHttpRequest async;
    EXPECT_EQ(async.readyState(), 0);
    EXPECT_FALSE(async.send()) << "send before open";
    async.open("GET", server.url("/slow"));
    EXPECT_EQ(async.readyState(), 1);
    ASSERT_TRUE(async.send());
    EXPECT_FALSE(async.send()) << "a second send";
    EXPECT_LT(async.readyState(), 4) << "send returns before the answer";
    ASSERT_TRUE(async.waitForCompletion(std::chrono::seconds(10)));
    EXPECT_EQ(async.readyState(), 4);
    EXPECT_EQ(async.status(), 200);
    EXPECT_EQ(async.responseText(), "<definitions/>");
}

TEST(HttpClient, TransportFaults_ComeBackAsErrorsWithoutHanging_StopAndAbortCancel)
{
    RawServer silent(&RawServer::hang);
    RawServer garbage([](int socket, const std::atomic<bool>&) {
        RawServer::readHeaders(socket);
        RawServer::write(socket, "this is not HTTP at all\r\n\r\n");
        ::shutdown(socket, SHUT_RDWR);
    });
    RawServer plain([](int socket, const std::atomic<bool>&) {
        char hello[512];
        ::recv(socket, hello, sizeof hello, 0); // the TLS greeting, answered in plain HTTP
        RawServer::write(socket, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        ::shutdown(socket, SHUT_RDWR);
    });
    // what, address, error
    const std::tuple<const char*, std::string, HttpError> cases[] = {
        {"connection refused", "http://127.0.0.1:" + std::to_string(zel::test::closedLoopbackPort()) + "/x",
         HttpError::Connect},
        {"unknown host", "http://no-such-host.invalid/service.asmx", HttpError::ResolveHost},
        {"server that never answers", silent.url("/slow"), HttpError::Timeout},
        {"scheme other than http", "file:///etc/hostname", HttpError::InvalidUrl},
        {"ftp scheme", "ftp://127.0.0.1/x", HttpError::InvalidUrl},
        {"not an address", "not a url", HttpError::InvalidUrl},
        {"garbage instead of HTTP", garbage.url("/"), HttpError::Other},
        {"TLS to a plain server", "https://127.0.0.1:" + std::to_string(plain.port()) + "/", HttpError::Tls},
    };
    HttpOptions quick;
    quick.timeout = std::chrono::seconds(1);
    for (const auto& [what, url, expected] : cases) {
        const auto started = Clock::now();
        const HttpResponse response = HttpClient::get(url, quick);
        EXPECT_EQ(response.error, expected) << what << ": " << response.message;
        EXPECT_FALSE(response.message.empty()) << what;
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(5)) << what;
    }

    // A stop request cancels an exchange in progress.
    std::stop_source stop;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop.request_stop();
    });
    const auto started = Clock::now();
    HttpRequest request;
    request.url = silent.url("/");
    const HttpResponse response = HttpClient::send(request, {}, stop.get_token());
    canceller.join();
    EXPECT_EQ(response.error, HttpError::Cancelled);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));

    // In the background a failure completes with its error, and abort returns at once.
    AsyncHttpRequest async;
    async.open("GET", std::get<1>(cases[0])); // refused
    async.send();
    ASSERT_TRUE(async.waitForCompletion(std::chrono::seconds(10)));
    EXPECT_EQ(async.response().error, HttpError::Connect);
    async.open("GET", silent.url("/"));
    async.send();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto aborted = Clock::now();
    async.abort();
    EXPECT_LT(Clock::now() - aborted, std::chrono::seconds(3));
    EXPECT_EQ(async.readyState(), 0);
}

TEST(HttpClient, Proxy_ReceivesTheRequestAndTheCredentials)
{
    std::mutex mutex;
    std::vector<std::string> seen;
    RawServer proxy([&](int socket, const std::atomic<bool>&) {
        std::lock_guard lock(mutex); // held until the client closes, so the test reads seen afterwards
        seen.push_back(RawServer::readHeaders(socket));
        if (seen.back().find("Proxy-Authorization:") == std::string::npos)
            RawServer::write(socket, "HTTP/1.1 407 Proxy Authentication Required\r\n"
                                     "Proxy-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n\r\n");
        else
            RawServer::write(socket, "HTTP/1.1 200 OK\r\nContent-Length: 8\r\nConnection: close\r\n\r\nproxied!");
        ::shutdown(socket, SHUT_WR);
        RawServer::readHeaders(socket); // until the client closes
    });
    HttpOptions options;
    options.timeout = std::chrono::seconds(1);
    options.proxy = {"127.0.0.1", proxy.port(), "alice", "s3cret"};
    const HttpResponse response = HttpClient::get("http://service.test/Calc.asmx?WSDL", options);
    ASSERT_TRUE(response.ok()) << response.message;
    EXPECT_EQ(response.body, "proxied!");
    std::lock_guard lock(mutex);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.back().starts_with("GET http://service.test/Calc.asmx?WSDL HTTP/1.1\r\n")) << seen.back();
    // "alice:s3cret" in base64.
    EXPECT_NE(seen.back().find("Proxy-Authorization: Basic YWxpY2U6czNjcmV0"), std::string::npos) << seen.back();
}
