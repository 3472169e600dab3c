#pragma once

#include "common/ErrorRecord.h"

#include <gtest/gtest.h>

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

// Runs call and checks that it raises number with a source ending in tag (e.g. " WebService.BuscarClasesWs() ").
template <typename Call> void expectRaises(Call&& call, int32_t number, const std::string& tag)
{
    try {
        call();
        ADD_FAILURE() << "no error raised, expected " << number << tag;
    } catch (const ErrorRecord& e) {
        EXPECT_EQ(e.Number, number) << tag;
        EXPECT_TRUE(e.Source.ends_with(tag)) << e.Source;
    }
}

} // namespace zel::testing
