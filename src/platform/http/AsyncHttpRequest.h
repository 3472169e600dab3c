#pragma once

#include "platform/http/HttpTypes.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zel::http {

// An HTTP request that runs on its own thread while the caller polls its ready state, for the
// older wizard whose timer watches a load in progress. Ready states: 0 not opened, 1 opened
// (and sending), 2 headers received, 3 body arriving, 4 completed (with a response or an error).
class AsyncHttpRequest
{
public:
    AsyncHttpRequest() = default;
    // Cancels a request still running and waits for its thread.
    ~AsyncHttpRequest();
    AsyncHttpRequest(const AsyncHttpRequest&) = delete;
    AsyncHttpRequest& operator=(const AsyncHttpRequest&) = delete;

    // Prepares a new request (cancelling any running one) and moves to ready state 1.
    void open(std::string method, std::string url);
    // Adds a request header; ignored unless the state is 1 and nothing was sent yet.
    void setRequestHeader(std::string name, std::string value);
    // Time-out, size cap and proxy of the next send.
    void setOptions(const HttpOptions& options);
    // Starts the exchange and returns at once. False (nothing started) unless open was called
    // and nothing was sent since.
    bool send(std::string body = {});
    // Cancels a running exchange and returns to state 0.
    void abort();

    int readyState() const { return m_readyState.load(); }
    // Waits until state 4 or until timeout passes; true when completed.
    bool waitForCompletion(std::chrono::milliseconds timeout);

    // The outcome; meaningful in state 4 (an empty response before).
    HttpResponse response() const;
    int status() const;
    std::string responseText() const;

private:
    void finishThread();
    void setState(int state);

    HttpRequest m_request;
    HttpOptions m_options;
    bool m_sent = false;
    std::atomic<int> m_readyState{0};
    mutable std::mutex m_mutex;
    std::condition_variable m_completed;
    HttpResponse m_response;
    std::jthread m_worker;
};

} // namespace zel::http
