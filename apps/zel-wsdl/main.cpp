// Runs the WSDL analyser on an address exactly as the web-service wizard does.
//   zel-wsdl [--prefixes LIST] [--timeout SECONDS] URL [OPERATION]
// Prints "service: NAME", one "operation: NAME" line per operation and, with OPERATION,
// "return: TYPE" and one "param: NAME TYPE" line per grid row. Exit status: 0 when a service was
// found, 1 when not, 2 on usage errors. When the analyser raises an error, what was found before
// it is printed all the same, the error goes to stderr and the exit status is 1.
#include "ToolOptions.h"
#include "common/XmlFncs.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/error/ErrorRecord.h"
#include "wsdl/WebService.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const zel::tool::ToolInfo kTool{
    "zel-wsdl", "[--prefixes LIST] [--timeout SECONDS] URL [OPERATION]",
    "  Runs the WSDL analyser on URL as the web-service wizard does: prints the service and its\n"
    "  operations and, with OPERATION, its return type and parameters.\n"
    "  LIST defaults to \"xsd,xsi,xs,s\".\n"
    "  Exit status: 0 a service was found, 1 none (or the analyser failed), 2 usage error.\n"};

int usage()
{
    return zel::tool::usageError(kTool);
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = zel::tool::answerHelpOrVersion(kTool, argc, argv))
        return *answered;
    std::string prefixes = "xsd,xsi,xs,s";
    long timeoutSeconds = 0;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--prefixes") {
            if (++i >= argc)
                return usage();
            prefixes = argv[i];
        } else if (arg == "--timeout") {
            if (++i >= argc)
                return usage();
            char* end = nullptr;
            timeoutSeconds = std::strtol(argv[i], &end, 10);
            if (*end != '\0' || timeoutSeconds <= 0)
                return usage();
        } else if (arg.starts_with("--")) {
            return usage();
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2)
        return usage();

    zel::WebService analyser;
    if (timeoutSeconds > 0)
        analyser.httpOptions().timeout = std::chrono::seconds(timeoutSeconds);
    zel::controls::MemoryGrid grid;
    zel::controls::MemoryTextBox returnType;
    bool parametersAsked = false;
    // What was found is printed even when a later step fails, so the error is seen beside it.
    const auto printParameters = [&] {
        if (!parametersAsked)
            return;
        std::cout << "return: " << returnType.text() << "\n";
        for (int row = 0; row < grid.rowCount(); ++row)
            std::cout << "param: " << grid.cell(row, 0) << " " << grid.cell(row, 1) << "\n";
    };
    try {
        // The wizard hands over the trimmed address and the prefix field's text as typed.
        analyser.strUrl = zel::XmlFncs::trimSpaces(positional[0]);
        const std::string service = analyser.BuscarClasesWs();
        if (zel::XmlFncs::isBlank(service)) {
            if (!analyser.lastDiagnostic().empty())
                std::cerr << "zel-wsdl: no service found (" << analyser.lastDiagnostic() << ")\n";
            else
                std::cerr << "zel-wsdl: no service found\n";
            return 1;
        }
        std::cout << "service: " << service << "\n";
        std::string methods = analyser.BuscarMedotosWs(prefixes);
        if (!zel::XmlFncs::isBlank(methods)) {
            methods.pop_back();
            std::size_t start = 0;
            while (true) {
                const std::size_t comma = methods.find(',', start);
                std::cout << "operation: " << methods.substr(start, comma - start) << "\n";
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        }
        if (positional.size() == 2) {
            analyser.pubdtMethodsParameters = &grid;
            analyser.pubtxtMethodReturnType = &returnType;
            analyser.SelectedMethod = positional[1];
            analyser.Prefijos = prefixes;
            analyser.ReturnType.clear();
            parametersAsked = true;
            analyser.BuscarParametrosRetorno();
            returnType.setText(analyser.ReturnType);
            analyser.WebServiceMethodParametersInputLoad();
            printParameters();
        }
        return 0;
    } catch (...) {
        const zel::ErrorRecord error = zel::currentErrorRecord();
        printParameters();
        std::cout.flush();
        std::cerr << "zel-wsdl: error " << error.Number << ": " << error.Description << " (" << error.Source << ")\n";
        return 1;
    }
}
