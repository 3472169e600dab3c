#include "ToolOptions.h"

#include <iostream>

namespace zel::tool {
namespace {

void printUsageLine(std::ostream& out, const ToolInfo& tool)
{
    out << "usage: " << tool.name << ' ' << tool.arguments << '\n';
}

} // namespace

std::string versionLine(const ToolInfo& tool)
{
    return std::string(tool.name) + " " ZEL_VERSION " (Zel Script Editor)";
}

std::optional<int> answerHelpOrVersion(const ToolInfo& tool, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--version") {
            std::cout << versionLine(tool) << '\n' << std::flush;
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            printUsageLine(std::cout, tool);
            std::cout << tool.help << "  --help     print this help and exit\n"
                      << "  --version  print the version and exit\n"
                      << std::flush;
            return 0;
        }
    }
    return std::nullopt;
}

int usageError(const ToolInfo& tool, std::string_view why)
{
    if (!why.empty())
        std::cerr << tool.name << ": " << why << '\n';
    printUsageLine(std::cerr, tool);
    return kUsageError;
}

} // namespace zel::tool
