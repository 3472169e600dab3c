#pragma once

#include "platform/http/HttpTypes.h"

#include <functional>
#include <stop_token>

namespace zel::http {

// Synchronous HTTP over libcurl. Every call is independent and may run on any thread; a window
// that must stay responsive runs it on a worker thread and keeps processing its events.
class HttpClient
{
public:
    // Stages of an exchange reported while it runs: the status line and headers have arrived,
    // and body bytes are arriving.
    enum class Stage
    {
        HeadersReceived,
        Receiving,
    };
    using StageCallback = std::function<void(Stage)>;

    // Sends request and waits for the whole response. Never throws for transport failures: they
    // come back as HttpResponse::error with a message. A stop requested through stop ends the
    // exchange with HttpError::Cancelled. onStage, when set, is called on the calling thread.
    static HttpResponse send(const HttpRequest& request, const HttpOptions& options = {}, std::stop_token stop = {},
                             const StageCallback& onStage = {});

    // A GET of url with no extra header.
    static HttpResponse get(const std::string& url, const HttpOptions& options = {});

    // A plain-words description of an error kind, as used in HttpResponse::message.
    static const char* describe(HttpError error);
};

} // namespace zel::http
