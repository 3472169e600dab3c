// Local SOAP services for the demo and the tests.
//   zel-demo-services [--port N]
// Listens on 127.0.0.1 (port N, or a free one), prints the address of every WSDL and of the UDDI
// registry, and serves
// until SIGINT or SIGTERM.
#include "DemoServices.h"
#include "ToolOptions.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

namespace {

const zel::tool::ToolInfo kTool{"zel-demo-services", "[--port N]",
                                "  Serves the demo SOAP services on 127.0.0.1 (port N, or a free one), prints the\n"
                                "  address of every WSDL, and serves until SIGINT or SIGTERM.\n"};

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 0 || value > 65535)
                return zel::tool::usageError(kTool, std::string("invalid port '") + argv[i] + "'");
            port = static_cast<int>(value);
        } else {
            return zel::tool::usageError(kTool);
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
