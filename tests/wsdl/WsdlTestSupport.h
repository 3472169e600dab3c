#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace zel::testing {

// The bytes of a fixture under tests/data/wsdl.
inline std::string wsdlFixture(const std::string& name)
{
    std::ifstream in(std::string(ZEL_TEST_DATA_DIR) + "/wsdl/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace zel::testing
