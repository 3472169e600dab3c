#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zel::tool {

// What a tool says about itself.
struct ToolInfo
{
    std::string_view name;      // "zel-check"
    std::string_view arguments; // the usage line after the name: "[--language ID] FILE..."
    std::string_view help;      // the lines --help prints after the usage line, each ended by '\n'
};

// The exit status of a usage error, the same for every tool.
inline constexpr int kUsageError = 2;

// "NAME VERSION (Zel Script Editor)", the version being the project's.
std::string versionLine(const ToolInfo& tool);

// When an argument before any "--" is --help (or -h) or --version, prints the usage and help or
// the version line on standard output and returns 0; otherwise returns nothing.
std::optional<int> answerHelpOrVersion(const ToolInfo& tool, int argc, char** argv);

// Prints "NAME: why" (when why is not empty) and the one-line usage on standard error; returns
// kUsageError.
int usageError(const ToolInfo& tool, std::string_view why = {});

} // namespace zel::tool
