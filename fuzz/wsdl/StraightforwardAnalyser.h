#pragma once

#include "platform/xml/XmlNode.h"

#include <array>
#include <string>
#include <vector>

// The analyser's queries run one by one, each on the whole document, for comparison with WebService,
// which answers the per-message queries from an index. Quadratic on large documents.
namespace zel::test {

struct StraightforwardResult
{
    std::string methods;
    bool returnFound = false;
    std::string returnType;
    std::string prefix;
    std::vector<std::array<std::string, 4>> rows;
    bool rowsFailed = false;
};

// Lists the operations with prefixes, then, for operation, finds the return type and the grid
// rows the way the wizard calls them.
StraightforwardResult analyseStraightforwardly(const XmlNode& wsxml, const std::string& prefixes,
                                               const std::string& operation);

} // namespace zel::test
