#pragma once

#include <memory>
#include <string>

namespace zel::demo {

// A UDDI version 2 inquiry endpoint over the entries of DemoRegistry.xml (built into the
// program): find_business with exact or prefix and case-sensitive or case-insensitive name
// matching, "%" as a wildcard, the D-U-N-S identifier, maxRows with truncated; get_serviceDetail
// and get_tModelDetail; faults with a dispositionReport for unknown keys and qualifiers. Entries
// refer to the demo services' own addresses through "{base}".
class DemoRegistry
{
public:
    // Reads the built-in entries, or the UDDI data file dataXml when it is given. Throws
    // std::runtime_error when the entries are not well-formed.
    explicit DemoRegistry(const std::string& dataXml = {});
    ~DemoRegistry();

    struct Answer
    {
        int status = 200;
        std::string body;
    };
    // Answers one SOAP request; baseUrl replaces "{base}" in the entries.
    Answer answer(const std::string& request, const std::string& baseUrl) const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

} // namespace zel::demo
