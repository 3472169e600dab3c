#pragma once

#include <httplib.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zel::demo {

class DemoRegistry;

// Local SOAP 1.1 services for the demo and the tests: each serves its WSDL at
// "/<Name>.asmx?WSDL" and answers its SOAP calls posted to "/<Name>.asmx"; a UDDI v2 registry
// listing them answers at "/uddi/inquiry". It listens on a loopback address only. Further endpoints (a registry, say)
// are added to server() before start.
class DemoServices
{
public:
    DemoServices();
    // Stops serving when still running.
    ~DemoServices();
    DemoServices(const DemoServices&) = delete;
    DemoServices& operator=(const DemoServices&) = delete;

    // Binds host:port (port 0 picks a free one) and serves on a thread of its own until stop.
    // Returns the port. Throws std::invalid_argument for a host that is not a loopback address
    // and std::runtime_error when the port cannot be bound.
    int start(int port = 0, const std::string& host = "127.0.0.1");
    // Stops serving and waits for the serving thread; nothing when not started.
    void stop();

    bool isRunning() const;
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>".
    std::string baseUrl() const;
    // The names of the services, in the order the index page lists them.
    std::vector<std::string> serviceNames() const;
    // "<baseUrl>/<name>.asmx", without the WSDL query.
    std::string serviceUrl(const std::string& name) const;
    // The inquiry address of the UDDI v2 registry that lists these services.
    std::string registryUrl() const;
    // The WSDL text of a service as served; "" for an unknown name.
    std::string wsdl(const std::string& name) const;

    // The underlying server, for endpoints added by other parts of the demo.
    httplib::Server& server() { return m_server; }

    // True for "localhost", "::1" and 127.x.y.z.
    static bool isLoopback(const std::string& host);

private:
    struct Service;
    void registerRoutes();

    httplib::Server m_server;
    std::vector<std::shared_ptr<Service>> m_services;
    std::shared_ptr<DemoRegistry> m_registry;
    std::thread m_thread;
    std::string m_host;
    int m_port = 0;
};

} // namespace zel::demo
