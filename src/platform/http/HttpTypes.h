#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The values an HTTP exchange is made of. Kept free of libcurl so that callers (the analyser, the
// wizards, the registry client) never see the transport library.
namespace zel::http {

// One HTTP request. Headers are sent as given, in order; an empty body sends none.
struct HttpRequest
{
    std::string method = "GET";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

// A proxy to send the request through. An empty server means the environment's proxy settings
// (http_proxy, https_proxy, no_proxy); loopback addresses are always reached directly.
struct HttpProxy
{
    std::string server;
    int port = 0; // 0 keeps the port written in server, or the scheme's default
    std::string user;
    std::string password;
};

inline constexpr std::chrono::milliseconds kDefaultTimeout{30000};
inline constexpr std::size_t kDefaultMaxBodyBytes = 64u * 1024u * 1024u;

// How a request is carried out. TLS certificates are always verified and redirects followed.
struct HttpOptions
{
    // The whole exchange, connection included, must end within this time.
    std::chrono::milliseconds timeout = kDefaultTimeout;
    // A response body larger than this ends the exchange with HttpError::TooLarge.
    std::size_t maxBodyBytes = kDefaultMaxBodyBytes;
    HttpProxy proxy;
    long maxRedirects = 10;
};

// Why an exchange did not produce a response. None means a response arrived, whatever its status.
enum class HttpError
{
    None,
    CannotCreate, // the transport could not be set up at all
    InvalidUrl,   // the address is malformed or its scheme is not http or https
    ResolveHost,  // the host name does not resolve
    Connect,      // the connection was refused or could not be made
    Timeout,      // the time-out ran out
    TooLarge,     // the body exceeded HttpOptions::maxBodyBytes
    Tls,          // TLS handshake or certificate verification failed
    Cancelled,    // the caller cancelled the exchange
    Other,        // any other transport failure (the message says which)
};

// What came back. When error is None, status, headers and body hold the response as received,
// whatever the status; otherwise message says what failed in plain words.
struct HttpResponse
{
    HttpError error = HttpError::None;
    std::string message;
    int status = 0;
    std::string statusText;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string effectiveUrl; // the address of the last response, after redirects

    bool ok() const { return error == HttpError::None; }
    // The first header with that name (compared without regard to case); "" when absent.
    std::string header(std::string_view name) const;
};

} // namespace zel::http
