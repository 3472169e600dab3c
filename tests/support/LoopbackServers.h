#pragma once

// Servers for network tests, all on 127.0.0.1 with a port the system picks.

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zel::test {

// A cpp-httplib server on a free loopback port; routes are added to server before start().
class LoopbackHttpServer
{
public:
    ~LoopbackHttpServer() { stop(); }

    int start()
    {
        m_port = server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            throw std::runtime_error("cannot bind a loopback port");
        m_thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) // stop() is lost if it comes before the loop starts
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return m_port;
    }
    void stop()
    {
        if (m_thread.joinable()) {
            server.stop();
            m_thread.join();
        }
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    httplib::Server server;

private:
    std::thread m_thread;
    int m_port = 0;
};

// A bare TCP server on a free loopback port. Each accepted connection is given to the handler
// on the accepting thread; the handler may read and write the socket or just keep it open.
class RawServer
{
public:
    using Handler = std::function<void(int socket, const std::atomic<bool>& stopping)>;

    explicit RawServer(Handler handler) : m_handler(std::move(handler))
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{}; // 127.0.0.1 with port 0, for bind() to pick a free port
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listen, 8) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on a loopback port");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            while (!m_stopping) {
                const int client = ::accept(m_listen, nullptr, nullptr);
                if (client < 0)
                    break;
                {
                    std::lock_guard lock(m_mutex);
                    m_clients.push_back(client);
                }
                m_handler(client, m_stopping);
            }
        });
    }
    ~RawServer()
    {
        m_stopping = true;
        ::shutdown(m_listen, SHUT_RDWR);
        ::close(m_listen);
        {
            std::lock_guard lock(m_mutex);
            for (const int client : m_clients)
                ::shutdown(client, SHUT_RDWR);
        }
        m_thread.join();
        for (const int client : m_clients)
            ::close(client);
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    int port() const { return m_port; }

    // Reads from socket until the end of the request headers (or the connection ends).
    static std::string readHeaders(int socket)
    {
        std::string data;
        char buffer[4096];
        while (data.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            data.append(buffer, static_cast<std::size_t>(n));
        }
        return data;
    }
    static void write(int socket, const std::string& data) { ::send(socket, data.data(), data.size(), MSG_NOSIGNAL); }
    // A handler that keeps the connection open and never answers.
    static void hang(int, const std::atomic<bool>& stopping)
    {
        while (!stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

private:
    Handler m_handler;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::vector<int> m_clients;
    std::thread m_thread;
};

// A loopback port on which nothing listens: bound once, then released.
inline int closedLoopbackPort()
{
    return RawServer(&RawServer::hang).port();
}

// Serves a body of size bytes of 'x', generated while it is sent, declaring its length or not.
inline void serveGeneratedBody(httplib::Server& server, const std::string& path, std::size_t size, bool declareLength)
{
    server.Get(path, [size, declareLength](const httplib::Request&, httplib::Response& res) {
        auto chunk = std::make_shared<std::string>(64 * 1024, 'x');
        if (declareLength) {
            res.set_content_provider(size, "text/xml",
                                     [chunk, size](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                         const std::size_t n = std::min({length, chunk->size(), size - offset});
                                         return sink.write(chunk->data(), n);
                                     });
        } else {
            res.set_chunked_content_provider("text/xml", [chunk, size](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= size) {
                    sink.done();
                    return true;
                }
                return sink.write(chunk->data(), std::min(chunk->size(), size - offset));
            });
        }
    });
}

} // namespace zel::test
