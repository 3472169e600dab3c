#include "platform/http/AsyncHttpRequest.h"

#include "platform/http/HttpClient.h"

namespace zel::http {

AsyncHttpRequest::~AsyncHttpRequest()
{
    finishThread();
}

void AsyncHttpRequest::finishThread()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void AsyncHttpRequest::setState(int state)
{
    {
        std::lock_guard lock(m_mutex);
        m_readyState.store(state);
    }
    if (state == 4)
        m_completed.notify_all();
}

void AsyncHttpRequest::open(std::string method, std::string url)
{
    finishThread();
    m_request = HttpRequest{};
    m_request.method = std::move(method);
    m_request.url = std::move(url);
    m_sent = false;
    {
        std::lock_guard lock(m_mutex);
        m_response = HttpResponse{};
    }
    setState(1);
}

void AsyncHttpRequest::setRequestHeader(std::string name, std::string value)
{
    if (m_readyState.load() == 1 && !m_sent)
        m_request.headers.emplace_back(std::move(name), std::move(value));
}

void AsyncHttpRequest::setOptions(const HttpOptions& options)
{
    m_options = options;
}

bool AsyncHttpRequest::send(std::string body)
{
    if (m_readyState.load() != 1 || m_sent)
        return false;
    m_sent = true;
    m_request.body = std::move(body);
    m_worker = std::jthread([this, request = m_request, options = m_options](std::stop_token stop) {
        HttpResponse response = HttpClient::send(request, options, stop, [this](HttpClient::Stage stage) {
            setState(stage == HttpClient::Stage::HeadersReceived ? 2 : 3);
        });
        if (stop.stop_requested())
            return; // aborted or reopened: the owner no longer wants this outcome
        {
            std::lock_guard lock(m_mutex);
            m_response = std::move(response);
        }
        setState(4);
    });
    return true;
}

void AsyncHttpRequest::abort()
{
    finishThread();
    m_sent = false;
    setState(0);
}

bool AsyncHttpRequest::waitForCompletion(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_completed.wait_for(lock, timeout, [this] { return m_readyState.load() == 4; });
}

HttpResponse AsyncHttpRequest::response() const
{
    std::lock_guard lock(m_mutex);
    return m_response;
}

int AsyncHttpRequest::status() const
{
    std::lock_guard lock(m_mutex);
    return m_response.status;
}

std::string AsyncHttpRequest::responseText() const
{
    std::lock_guard lock(m_mutex);
    return m_response.body;
}

} // namespace zel::http
