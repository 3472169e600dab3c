#include "platform/http/HttpClient.h"

#include "platform/text/Text.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace zel::http {

std::string HttpResponse::header(std::string_view name) const
{
    for (const auto& [key, value] : headers) {
        if (Text::equalsIgnoringAsciiCase(key, name))
            return value;
    }
    return {};
}

namespace {

void globalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer
{
    HttpResponse* response = nullptr;
    std::size_t maxBodyBytes = 0;
    bool tooLarge = false;
    bool cancelled = false;
    bool headersReported = false;
    bool receivingReported = false;
    std::stop_token stop;
    const HttpClient::StageCallback* onStage = nullptr;

    void report(HttpClient::Stage stage)
    {
        if (onStage != nullptr && *onStage)
            (*onStage)(stage);
    }
};

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    HttpResponse& response = *transfer->response;
    if (line.starts_with("HTTP/")) {
        // A new status line starts the headers of the next response (a redirect or a 100 Continue):
        // only the last response's headers are kept.
        response.headers.clear();
        const auto firstSpace = line.find(' ');
        const auto secondSpace = firstSpace == std::string_view::npos ? firstSpace : line.find(' ', firstSpace + 1);
        response.statusText = secondSpace == std::string_view::npos ? "" : trimmed(line.substr(secondSpace + 1));
        return line.size();
    }
    const auto colon = line.find(':');
    if (colon != std::string_view::npos)
        response.headers.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
    else if (trimmed(line).empty() && !transfer->headersReported) {
        transfer->headersReported = true;
        transfer->report(HttpClient::Stage::HeadersReceived);
    }
    return line.size();
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    std::string& body = transfer->response->body;
    if (body.size() + bytes > transfer->maxBodyBytes) {
        transfer->tooLarge = true;
        return 0; // tells libcurl to stop with a write error
    }
    if (!transfer->headersReported) {
        transfer->headersReported = true;
        transfer->report(HttpClient::Stage::HeadersReceived);
    }
    if (!transfer->receivingReported) {
        transfer->receivingReported = true;
        transfer->report(HttpClient::Stage::Receiving);
    }
    body.append(data, bytes);
    return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->stop.stop_requested()) {
        transfer->cancelled = true;
        return 1;
    }
    return 0;
}

// The host part of an http or https url, lower case, without brackets or port; "" when the
// address is not one.
std::string hostOf(const std::string& url)
{
    std::string host;
    std::string scheme;
    CURLU* handle = curl_url();
    if (handle == nullptr)
        return host;
    if (curl_url_set(handle, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* part = nullptr;
        if (curl_url_get(handle, CURLUPART_SCHEME, &part, 0) == CURLUE_OK && part != nullptr) {
            scheme = part;
            curl_free(part);
        }
        part = nullptr;
        if (curl_url_get(handle, CURLUPART_HOST, &part, 0) == CURLUE_OK && part != nullptr) {
            host = part;
            curl_free(part);
        }
    }
    curl_url_cleanup(handle);
    if (scheme != "http" && scheme != "https")
        return {};
    host = Text::lowerAscii(host);
    if (!host.empty() && host.back() == '.')
        host.pop_back();
    return host;
}

// Names under the reserved "invalid" top-level domain never resolve: answering so without
// asking a name server keeps such look-ups on this machine.
bool isReservedInvalid(const std::string& host)
{
    return host == "invalid" || host.ends_with(".invalid");
}

HttpError classify(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return HttpError::None;
    case CURLE_URL_MALFORMAT:
        return HttpError::InvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return HttpError::ResolveHost;
    case CURLE_COULDNT_CONNECT:
        return HttpError::Connect;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpError::Timeout;
    case CURLE_FILESIZE_EXCEEDED:
        return HttpError::TooLarge;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return HttpError::Tls;
    case CURLE_ABORTED_BY_CALLBACK:
        return HttpError::Cancelled;
    default:
        return HttpError::Other;
    }
}

std::string megabytes(std::size_t bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    return std::to_string(bytes) + " bytes";
}

HttpResponse failure(HttpError error, std::string detail)
{
    HttpResponse response;
    response.error = error;
    response.message = HttpClient::describe(error);
    if (!detail.empty())
        response.message.append(": ").append(detail);
    return response;
}

} // namespace

const char* HttpClient::describe(HttpError error)
{
    switch (error) {
    case HttpError::None:
        return "No error";
    case HttpError::CannotCreate:
        return "The HTTP request object cannot be created";
    case HttpError::InvalidUrl:
        return "The address is not a valid http or https address";
    case HttpError::ResolveHost:
        return "The host name cannot be resolved";
    case HttpError::Connect:
        return "The server cannot be reached";
    case HttpError::Timeout:
        return "The server did not answer in time";
    case HttpError::TooLarge:
        return "The response is larger than the allowed size";
    case HttpError::Tls:
        return "The secure connection failed";
    case HttpError::Cancelled:
        return "The request was cancelled";
    case HttpError::Other:
        break;
    }
    return "The request failed";
}

HttpResponse HttpClient::get(const std::string& url, const HttpOptions& options)
{
    HttpRequest request;
    request.url = url;
    return send(request, options);
}

HttpResponse HttpClient::send(const HttpRequest& request, const HttpOptions& options, std::stop_token stop,
                              const StageCallback& onStage)
{
    globalInit();
    const std::string host = hostOf(request.url);
    if (host.empty())
        return failure(HttpError::InvalidUrl, request.url);
    if (options.proxy.server.empty() && isReservedInvalid(host))
        return failure(HttpError::ResolveHost, host);

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        return failure(HttpError::CannotCreate, {});
    CURL* h = curl.get();

    HttpResponse response;
    Transfer transfer;
    transfer.response = &response;
    transfer.maxBodyBytes = options.maxBodyBytes;
    transfer.stop = stop;
    transfer.onStage = &onStage;

    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, options.maxRedirects);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(options.timeout.count()));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, ""); // any encoding libcurl can decode
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);

    std::string noProxy;
    if (!options.proxy.server.empty()) {
        curl_easy_setopt(h, CURLOPT_PROXY, options.proxy.server.c_str());
        if (options.proxy.port > 0)
            curl_easy_setopt(h, CURLOPT_PROXYPORT, static_cast<long>(options.proxy.port));
        if (!options.proxy.user.empty() || !options.proxy.password.empty()) {
            curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, options.proxy.user.c_str());
            curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, options.proxy.password.c_str());
            curl_easy_setopt(h, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
        }
    } else {
        // The environment's proxy applies, but a loopback service is never sent through it.
        const char* fromEnv = std::getenv("no_proxy");
        if (fromEnv == nullptr)
            fromEnv = std::getenv("NO_PROXY");
        noProxy = "localhost,127.0.0.1,::1";
        if (fromEnv != nullptr && *fromEnv != '\0')
            noProxy.append(",").append(fromEnv);
        curl_easy_setopt(h, CURLOPT_NOPROXY, noProxy.c_str());
    }

    curl_slist* headerList = nullptr;
    for (const auto& [name, value] : request.headers)
        headerList = curl_slist_append(headerList, (name + ": " + value).c_str());
    if (!request.body.empty() && request.method == "POST")
        headerList = curl_slist_append(headerList, "Expect:"); // no 100-continue round trip
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerGuard(headerList, &curl_slist_free_all);
    if (headerList != nullptr)
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList);

    if (request.method == "GET") {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "POST") {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    } else if (request.method == "HEAD") {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        if (!request.body.empty()) {
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
            curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        }
    }

    const CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) {
        HttpError error = classify(code);
        if (transfer.tooLarge)
            error = HttpError::TooLarge;
        if (transfer.cancelled)
            error = HttpError::Cancelled;
        std::string detail = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
        if (error == HttpError::TooLarge)
            detail = "the limit is " + megabytes(options.maxBodyBytes);
        return failure(error, detail);
    }
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    char* effective = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective != nullptr)
        response.effectiveUrl = effective;
    if (!transfer.headersReported)
        transfer.report(Stage::HeadersReceived);
    return response;
}

} // namespace zel::http
