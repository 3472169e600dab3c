// Local SOAP services for the demo and the tests.
//   zel-demo-services [--port N]
// Listens on 127.0.0.1 (port N, or a free one), prints the address of every WSDL and of the UDDI
// registry, and serves
// until SIGINT or SIGTERM.
#include "DemoServices.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 0 || value > 65535) {
                std::cerr << "zel-demo-services: invalid port '" << argv[i] << "'\n";
                return 2;
            }
            port = static_cast<int>(value);
        } else {
            std::cerr << "usage: zel-demo-services [--port N]\n";
            return 2;
        }
    }

    // The signals are taken by sigwait below; blocking them first keeps the serving threads,
    // which inherit the mask, from being interrupted by them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    zel::demo::DemoServices services;
    try {
        services.start(port);
    } catch (const std::exception& e) {
        std::cerr << "zel-demo-services: " << e.what() << "\n";
        return 1;
    }
    std::cout << "zel-demo-services listening on " << services.baseUrl() << "\n";
    for (const std::string& name : services.serviceNames())
        std::cout << "  " << services.serviceUrl(name) << "?WSDL\n";
    std::cout << "UDDI v2 inquiry: " << services.registryUrl() << "\n";
    std::cout << std::flush;

    int received = 0;
    sigwait(&signals, &received);
    services.stop();
    std::cout << "zel-demo-services stopped\n";
    return 0;
}
